#pragma once

#include "datasources/DisplayDataSourceType.h"
#include "datasources/ValueList.h"
#include "log/DLogObject.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TVDataSource;

// A runtime data source: produces one value, a list of text lines, under a name.
class TDisplayDataSourceBase : public TDLogObject {
public:
    enum TValueType : std::uint8_t {
        ValueType_Text = 0,
        ValueType_Numeric = 5,
        ValueType_Date = 10,
        ValueType_Time = 15,
    };
    // Looks up another source by name; nullptr when there is none.
    using TFetchDisplayFromCache = std::function<TDisplayDataSourceBase*(const std::string& sourceName)>;

    // Builds the source for a record; nullptr for a type code without a class.
    static std::unique_ptr<TDisplayDataSourceBase> CreateDerived(const TVDataSource& record);
    static std::unique_ptr<TDisplayDataSourceBase> CreateDerived(const std::string& name, int dataSourceType,
                                                                 const std::string& configuration,
                                                                 std::int64_t timeoutMsec,
                                                                 TValueType valueType);

    virtual int GetDataSourceType() const { return DisplayDataSourceType_None; }
    virtual std::string GetConfiguration() const { return {}; }
    virtual void Reinitialize(const std::string& configuration);
    virtual bool RefreshData();
    virtual bool IsParameterDependant() const { return false; }

    // Copies this source into a record, then clears the record's changed flag.
    void AssignToJson(TVDataSource& record) const;

    std::int32_t AsInteger(std::uint8_t index, std::int32_t defaultValue) const;
    double AsDouble(std::uint8_t index, double defaultValue) const;
    TDateTime AsDateTime(std::uint8_t index, TDateTime defaultValue) const;

    const std::string& Name() const { return FName; }
    // Strips every leading and trailing '[' and ']'.
    void SetName(const std::string& name);
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& description) { FDescription = description; }
    bool PublicChangable() const { return FPublicChangeable; }
    void SetPublicChangable(bool value) { FPublicChangeable = value; }
    TValueType ValueType() const { return FValueType; }
    void SetValueType(TValueType valueType) { FValueType = valueType; }
    std::int64_t TimeoutMsec() const { return FTimeout; }
    void SetTimeoutMsec(std::int64_t timeout) { FTimeout = timeout; }
    const std::string& LastConfiguration() const { return FLastConfiguration; }
    const TFetchDisplayFromCache& FetchDisplayHandler() const { return FFetchDisplayHandler; }
    void SetFetchDisplayHandler(TFetchDisplayFromCache handler) { FFetchDisplayHandler = std::move(handler); }

    TValueList Value;
    TDateTime LastTimeout = 0;

protected:
    TDisplayDataSourceBase(const std::string& className, const std::string& name);

private:
    TFetchDisplayFromCache FFetchDisplayHandler;
    TValueType FValueType = ValueType_Text;
    std::string FName;
    std::string FDescription;
    bool FPublicChangeable = false;
    std::string FLastConfiguration;
    std::int64_t FTimeout = 0;
};

// `name` without every leading and trailing '[' and ']'.
std::string StripBrackets(const std::string& name);
