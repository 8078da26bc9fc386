#include "rows/ConfigurationLoad.h"

#include "clients/DisplayClient.h"
#include "config/ConfigurationFiles.h"
#include "datasources/DisplayBase.h"
#include "datasources/DisplayDataSourceBase.h"
#include "log/DLogObject.h"
#include "rows/RowsFile.h"

#include <exception>
#include <mutex>

namespace {

// Collects the errors and warnings an object logs, from whatever thread.
class TMessageCollector {
public:
    TDLogMessage Handler() {
        return [this](const std::string&, const std::string& text) {
            if (const auto parsed = ParseLogText(text);
                parsed && (parsed->Level == LogType_Error || parsed->Level == LogType_Warning)) {
                std::lock_guard lock(FLock);
                FMessages.push_back(*parsed);
            }
        };
    }
    std::vector<TLogText> Take() {
        std::lock_guard lock(FLock);
        return std::move(FMessages);
    }

private:
    std::vector<TLogText> FMessages;
    std::mutex FLock;
};

template <typename TRecord>
void CheckRecords(const TBaseObjectList<TRecord>& records, const std::string& file,
                  std::vector<TConfigurationProblem>& problems) {
    for (const TRecord& record : records) {
        for (const TLogText& message : CreationMessages(record)) {
            if (message.Level == LogType_Error) {
                problems.push_back({file, record.Name() + ": " + message.Message});
            }
        }
    }
}

template <typename T>
TBaseObjectList<T> ReadList(const std::filesystem::path& path, std::vector<TConfigurationProblem>& problems) {
    try {
        return ReadListFile<T>(path);
    } catch (const std::exception& error) {
        problems.push_back({path.string(), error.what()});
        return TBaseObjectList<T>();
    }
}

} // namespace

std::vector<TLogText> CreationMessages(const TVDataSource& record) {
    TMessageCollector messages;
    if (auto source = TDisplayDataSourceBase::CreateDerived(record)) {
        source->SetOnLogMessage(messages.Handler());
    }
    return messages.Take();
}

// The client's worker has ended when it goes, so every message it logged has arrived.
std::vector<TLogText> CreationMessages(const TVDisplay& record) {
    TMessageCollector messages;
    if (auto client = TDisplayClientBase::CreateClient(TDisplayBase(record), false)) {
        client->SetOnLogMessage(messages.Handler());
    }
    return messages.Take();
}

std::string ProblemLine(const TConfigurationProblem& problem) {
    return problem.File + ": " + problem.Message;
}

TLoadedConfiguration LoadConfiguration(const std::string& directory) {
    TLoadedConfiguration loaded;
    const std::string sourcesFile = DataSourcesFilePath(directory).string();
    const std::string displaysFile = DisplaysFilePath(directory).string();
    loaded.Sources = ReadList<TVDataSource>(sourcesFile, loaded.Problems);
    loaded.Displays = ReadList<TVDisplay>(displaysFile, loaded.Problems);
    CheckRecords(loaded.Sources, sourcesFile, loaded.Problems);
    CheckRecords(loaded.Displays, displaysFile, loaded.Problems);
    for (const TVDisplay& display : loaded.Displays) {
        const std::filesystem::path rowsFile = RowsFilePath(directory, display.Name());
        try {
            loaded.Rows[display.Name()] = ReadRowsFile(rowsFile);
        } catch (const std::exception& error) {
            loaded.Problems.push_back({rowsFile.string(), error.what()});
        }
    }
    return loaded;
}
