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

// Collects the errors an object logs, from whatever thread, under the file and the name given.
class TErrorCollector {
public:
    TErrorCollector(std::vector<TConfigurationProblem>& problems, std::string file, std::string name)
        : FProblems(problems), FFile(std::move(file)), FName(std::move(name)) {}

    TDLogMessage Handler() {
        return [this](const std::string&, const std::string& text) {
            if (const auto parsed = ParseLogText(text); parsed && parsed->Level == LogType_Error) {
                std::lock_guard lock(FLock);
                FProblems.push_back({FFile, FName + ": " + parsed->Message});
            }
        };
    }

private:
    std::vector<TConfigurationProblem>& FProblems;
    const std::string FFile;
    const std::string FName;
    std::mutex FLock;
};

template <typename T>
TBaseObjectList<T> ReadList(const std::filesystem::path& path, std::vector<TConfigurationProblem>& problems) {
    try {
        return ReadListFile<T>(path);
    } catch (const std::exception& error) {
        problems.push_back({path.string(), error.what()});
        return TBaseObjectList<T>();
    }
}

void CheckSources(const TLoadedConfiguration& loaded, const std::string& file,
                  std::vector<TConfigurationProblem>& problems) {
    for (const TVDataSource& record : loaded.Sources) {
        TErrorCollector errors(problems, file, record.Name());
        if (auto source = TDisplayDataSourceBase::CreateDerived(record)) {
            source->SetOnLogMessage(errors.Handler());
        }
    }
}

void CheckDisplays(const TLoadedConfiguration& loaded, const std::string& file,
                   std::vector<TConfigurationProblem>& problems) {
    for (const TVDisplay& record : loaded.Displays) {
        TErrorCollector errors(problems, file, record.Name());
        if (auto client = TDisplayClientBase::CreateClient(TDisplayBase(record), false)) {
            client->SetOnLogMessage(errors.Handler());
        }
    }
}

} // namespace

std::string ProblemLine(const TConfigurationProblem& problem) {
    return problem.File + ": " + problem.Message;
}

TLoadedConfiguration LoadConfiguration(const std::string& directory) {
    TLoadedConfiguration loaded;
    const std::string sourcesFile = DataSourcesFilePath(directory).string();
    const std::string displaysFile = DisplaysFilePath(directory).string();
    loaded.Sources = ReadList<TVDataSource>(sourcesFile, loaded.Problems);
    loaded.Displays = ReadList<TVDisplay>(displaysFile, loaded.Problems);
    CheckSources(loaded, sourcesFile, loaded.Problems);
    CheckDisplays(loaded, displaysFile, loaded.Problems);
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
