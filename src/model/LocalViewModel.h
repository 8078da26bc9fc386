#pragma once

#include "clients/DisplayClient.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "datasources/DisplayDataSourceBase.h"
#include "log/DLogObject.h"
#include "model/LocalListNode.h"
#include "model/NamedCache.h"
#include "model/SourceStatus.h"
#include "platform/TextFileSet.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// The running configuration: the data-source and display records, one runtime data source per
// data-source record and one display client per display record. Loads and saves the configuration
// directory and runs the collection pass that refreshes the sources and hands fresh values to
// every client. Used by whoever drives the program, on one thread.
class TLocalViewModel : public TDLogObject {
public:
    TLocalViewModel();
    // Clients go first, so that no worker outlives what it uses.
    ~TLocalViewModel() override;

    // Loads both configuration files of `dir` and builds or reconfigures the display clients.
    // A missing directory loads nothing. A faulty file fails the load; what was read before stays.
    virtual void LoadFromDictionary(const std::string& dir);
    // Runs `sources` and `displays` from now on, in their order, as if loaded into a new model: a
    // display whose description is unchanged keeps its client and so its connection, the others
    // get new, idle clients; clients of displays no longer listed stop. Every runtime source is
    // built anew at the next collection pass. Answers the new clients.
    std::vector<TDisplayClientBase*> ReplaceConfiguration(TBaseObjectList<TVDataSource> sources,
                                                          TBaseObjectList<TVDisplay> displays);
    // Writes both configuration files into `dir` together; a missing directory writes nothing.
    void SaveToDictionary(const std::string& dir) const;
    // Stages both configuration files of `dir` in `files`, to be replaced with other files.
    void SaveToDictionary(const std::string& dir, TTextFileSet& files) const;
    // One collection pass: refreshes every source in record order and hands those that produced
    // new data to every client. A source that fails is logged and skipped for this pass. Then
    // raises OnValueChanged for each source whose value text differs from the one it last handed on.
    virtual void CollectData();
    virtual void RefreshData() {}
    // Stores an edited data-source record (by name: copied into the stored one, or appended) and
    // reconfigures its runtime source.
    virtual void PushSourceChange(const TVDataSource& record);

    // In record order.
    std::vector<TDisplayDataSourceBase*> GetDatasources() const { return FLocalDatasourceCache.Items(); }
    std::vector<TDisplayClientBase*> GetDisplays() const { return FLocalDisplayCache.Items(); }
    TVDisplay* GetDisplay(const std::string& name) const;
    TDisplayDataSourceBase* GetDatasourceFromCache(const std::string& name) const;
    TDisplayClientBase* GetDisplayClientFromCache(const std::string& name) const;

    // The source's status; an empty one for a source no pass has met.
    TSourceStatus SourceStatus(const std::string& name) const;
    using TValueChanged = std::function<void(const TDisplayDataSourceBase& source)>;
    void SetOnValueChanged(TValueChanged handler) { FOnValueChanged = std::move(handler); }

    const TBaseObjectList<TVDataSource>& DataSourceRecords() const { return FLocalParameters.Records(); }
    const TBaseObjectList<TVDisplay>& DisplayRecords() const { return FLocalDisplays.Records(); }

private:
    TDisplayDataSourceBase* SourceFor(const TVDataSource& record);
    void AttachLog(TDisplayDataSourceBase& source);
    // Records the value just handed to the clients; true when it differs from the previous one.
    bool NoteValue(const TDisplayDataSourceBase& source);
    void LoadDisplay(const TVDisplay& stored);

    TLocalListNode<TVDataSource> FLocalParameters{"Local Parameters"};
    TLocalListNode<TVDisplay> FLocalDisplays{"Local Display"};
    TNamedCache<TDisplayDataSourceBase> FLocalDatasourceCache;
    TNamedCache<TDisplayClientBase> FLocalDisplayCache;
    std::map<std::string, TSourceStatus> FSourceStatus;
    TValueChanged FOnValueChanged;
};
