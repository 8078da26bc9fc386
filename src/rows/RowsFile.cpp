#include "rows/RowsFile.h"

#include "config/ConfigurationFiles.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <algorithm>

std::string FrameName(std::string_view displayName) {
    std::string name = "Frame_" + std::string(displayName);
    std::ranges::replace(name, ' ', '_');
    return name;
}

std::filesystem::path RowsFilePath(std::string_view directory, std::string_view displayName) {
    return ConfigurationFilePath(directory, FrameName(displayName) + "-definedrows.json");
}

TRowSendCycle::TRows ReadRowsFile(const std::filesystem::path& path) {
    try {
        return ReadListFile<TConfigurationRow>(path).ExtractAll();
    } catch (const std::exception& error) {
        throw EVorlixError(SprintF("Error while reading configurationrows from file \"%s\": %s",
                                   path.string(), error.what()));
    }
}

void StageRowsFile(TTextFileSet& files, const std::filesystem::path& path, const TRowSendCycle::TRows& rows) {
    TBaseObjectList<TConfigurationRow> list(false);
    for (const auto& row : rows) {
        list.Add(*row);
    }
    StageListFile(files, path, list);
}

void WriteRowsFile(const std::filesystem::path& path, const TRowSendCycle::TRows& rows) {
    TTextFileSet files;
    StageRowsFile(files, path, rows);
    files.Commit();
}
