#pragma once

#include "config/BaseObject.h"
#include "config/RecordField.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The persisted record of one data source.
class TVDataSource : public TBaseObject {
public:
    static constexpr std::string_view UnitName = "JSONBaseObject";
    static constexpr std::string_view ClassName = "TVDataSource";
    static std::span<const TRecordField<TVDataSource>> Fields();

    void AssignTo(TBaseObject& dest) const override;
    // The name is the record's key.
    std::string ToString() const { return FName; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { SetField(FName, value); }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& value) { SetField(FDescription, value); }
    bool PublicChangeable() const { return FPublicChangeable; }
    void SetPublicChangeable(bool value) { SetField(FPublicChangeable, value); }
    // A TDisplayDataSource code.
    std::uint16_t DataSourceType() const { return FDataSourceType; }
    void SetDataSourceType(std::uint16_t value) { SetField(FDataSourceType, value); }
    // A TDisplayDataSourceBase::TValueType code.
    std::uint16_t ValueType() const { return FValueType; }
    void SetValueType(std::uint16_t value) { SetField(FValueType, value); }
    // Refresh interval in milliseconds.
    std::uint16_t Timeout() const { return FTimeout; }
    void SetTimeout(std::uint16_t value) { SetField(FTimeout, value); }
    const std::string& Configuration() const { return FConfiguration; }
    void SetConfiguration(const std::string& value) { SetField(FConfiguration, value); }
    // The last value the source produced, as delimited text.
    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& value) { SetField(FValue, value); }

private:
    std::string FName;
    std::string FDescription;
    bool FPublicChangeable = false;
    std::uint16_t FDataSourceType = 0;
    std::uint16_t FValueType = 0;
    std::uint16_t FTimeout = 0;
    std::string FConfiguration;
    std::string FValue;
};
