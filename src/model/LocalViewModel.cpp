#include "model/LocalViewModel.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayBase.h"
#include "platform/Clock.h"

#include <exception>
#include <filesystem>
#include <map>
#include <memory>

namespace {

bool IsDirectory(const std::string& dir) {
    std::error_code ignored;
    return std::filesystem::is_directory(dir, ignored);
}

} // namespace

TLocalViewModel::TLocalViewModel() : TDLogObject("TLocalViewModel") {}

TLocalViewModel::~TLocalViewModel() {
    FLocalDisplayCache.Clear();
}

void TLocalViewModel::LoadFromDictionary(const std::string& dir) {
    if (!IsDirectory(dir)) {
        return;
    }
    // The data sources are stored before the display file is opened, so a faulty display file
    // leaves them loaded.
    FLocalParameters.AddOrUpdateViewObjects(
        ReadListFile<TVDataSource>(DataSourcesFilePath(dir)).ExtractAll());
    for (const TVDisplay* stored :
         FLocalDisplays.AddOrUpdateViewObjects(ReadListFile<TVDisplay>(DisplaysFilePath(dir)).ExtractAll())) {
        LoadDisplay(*stored);
    }
}

void TLocalViewModel::LoadDisplay(const TVDisplay& stored) {
    const TDisplayBase description(stored);
    if (TDisplayClientBase* client = FLocalDisplayCache.Find(stored.Name())) {
        client->Reinitialize(description);
    } else if (auto created = TDisplayClientBase::CreateClient(description, false)) {
        FLocalDisplayCache.Add(stored.Name(), std::move(created));
    }
}

std::vector<TDisplayClientBase*> TLocalViewModel::ReplaceConfiguration(TBaseObjectList<TVDataSource> sources,
                                                                       TBaseObjectList<TVDisplay> displays) {
    FLocalDatasourceCache.Clear();
    FLocalParameters.Clear();
    FLocalParameters.AddOrUpdateViewObjects(sources.ExtractAll());
    std::map<std::string, TDisplayBase> previousDescriptions;
    for (const TVDisplay& record : FLocalDisplays.Records()) {
        previousDescriptions.emplace(record.Name(), TDisplayBase(record));
    }
    // What is not taken over from here stops when it goes, before any new client starts.
    TNamedCache<TDisplayClientBase> previous = std::move(FLocalDisplayCache);
    FLocalDisplayCache.Clear();
    FLocalDisplays.Clear();
    std::vector<TDisplayClientBase*> created;
    for (const TVDisplay* record : FLocalDisplays.AddOrUpdateViewObjects(displays.ExtractAll())) {
        const TVDisplay& stored = *record;
        if (FLocalDisplayCache.Find(stored.Name()) != nullptr) {
            continue;
        }
        const TDisplayBase description(stored);
        const auto before = previousDescriptions.find(stored.Name());
        std::unique_ptr<TDisplayClientBase> client;
        if (before != previousDescriptions.end() && before->second == description) {
            client = previous.Extract(stored.Name());
        }
        if (!client && (client = TDisplayClientBase::CreateClient(description, false))) {
            created.push_back(client.get());
        }
        if (client) {
            FLocalDisplayCache.Add(stored.Name(), std::move(client));
        }
    }
    return created;
}

void TLocalViewModel::SaveToDictionary(const std::string& dir) const {
    TTextFileSet files;
    SaveToDictionary(dir, files);
    files.Commit();
}

void TLocalViewModel::SaveToDictionary(const std::string& dir, TTextFileSet& files) const {
    if (!IsDirectory(dir)) {
        return;
    }
    StageListFile(files, DataSourcesFilePath(dir), FLocalParameters.Records());
    StageListFile(files, DisplaysFilePath(dir), FLocalDisplays.Records());
}

void TLocalViewModel::CollectData() {
    std::vector<TDisplayDataSourceBase*> refreshed;
    for (TVDataSource& record : FLocalParameters.Records()) {
        try {
            TDisplayDataSourceBase* source = SourceFor(record);
            if (source != nullptr && source->RefreshData()) {
                record.SetValue(source->Value.DelimitedText());
                refreshed.push_back(source);
                FSourceStatus[record.Name()].LastError.clear();
            }
        } catch (const std::exception& error) {
            TSourceStatus& status = FSourceStatus[record.Name()];
            status.LastError = error.what();
            ++status.ErrorCount;
            LogErrorFmt("Error while refreshing datasource %s:%s", record.Name(), error.what());
        }
    }
    const auto clients = FLocalDisplayCache.Items();
    std::vector<const TDisplayDataSourceBase*> changed;
    for (const TDisplayDataSourceBase* source : refreshed) {
        for (TDisplayClientBase* client : clients) {
            client->UpdateVariables(*source);
        }
        if (NoteValue(*source)) {
            changed.push_back(source);
        }
    }
    // Only once every client has every new value, so that a row showing two of them is right.
    for (const TDisplayDataSourceBase* source : changed) {
        if (FOnValueChanged) {
            FOnValueChanged(*source);
        }
    }
}

bool TLocalViewModel::NoteValue(const TDisplayDataSourceBase& source) {
    TSourceStatus& status = FSourceStatus[source.Name()];
    std::string text = source.Value.Text();
    if (status.Changed != 0 && text == status.PublishedText) {
        return false;
    }
    status.PublishedText = std::move(text);
    status.Changed = Now();
    return true;
}

TSourceStatus TLocalViewModel::SourceStatus(const std::string& name) const {
    const auto found = FSourceStatus.find(name);
    return found == FSourceStatus.end() ? TSourceStatus{} : found->second;
}

TDisplayDataSourceBase* TLocalViewModel::SourceFor(const TVDataSource& record) {
    if (TDisplayDataSourceBase* cached = FLocalDatasourceCache.Find(record.Name())) {
        return cached;
    }
    auto created = TDisplayDataSourceBase::CreateDerived(record);
    if (!created) {
        return nullptr;
    }
    if (created->IsParameterDependant()) {
        created->SetFetchDisplayHandler(
            [this](const std::string& name) { return GetDatasourceFromCache(name); });
    }
    AttachLog(*created);
    return &FLocalDatasourceCache.Add(record.Name(), std::move(created));
}

// A source's messages go on to the model's handler under the source's class name; a message
// equal to the source's previous one is not repeated, so a missing file does not fill the log.
void TLocalViewModel::AttachLog(TDisplayDataSourceBase& source) {
    source.SetOnLogMessage(
        [this, previous = std::string()](const std::string& from, const std::string& text) mutable {
            if (text != previous) {
                previous = text;
                Relay(from, text);
            }
        });
}

void TLocalViewModel::PushSourceChange(const TVDataSource& record) {
    auto copy = std::make_unique<TVDataSource>();
    copy->Assign(record);
    FLocalParameters.AddOrUpdateViewObject(std::move(copy));
    if (TDisplayDataSourceBase* source = FLocalDatasourceCache.Find(record.Name())) {
        source->Reinitialize(record.Configuration());
    }
}

TVDisplay* TLocalViewModel::GetDisplay(const std::string& name) const {
    for (TVDisplay& display : FLocalDisplays.Records()) {
        if (display.Name() == name) {
            return &display;
        }
    }
    return nullptr;
}

TDisplayDataSourceBase* TLocalViewModel::GetDatasourceFromCache(const std::string& name) const {
    return FLocalDatasourceCache.Find(name);
}

TDisplayClientBase* TLocalViewModel::GetDisplayClientFromCache(const std::string& name) const {
    return FLocalDisplayCache.Find(name);
}
