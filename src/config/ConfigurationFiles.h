#pragma once

#include "config/BaseObjectList.h"
#include "config/ListDocument.h"
#include "platform/TextFileSet.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string_view>

inline constexpr std::string_view DataSourcesFileName = "local-datasources.json";
inline constexpr std::string_view DisplaysFileName = "local-displays.json";

// `fileName` in `directory`; trailing "/" and "\" of the directory do not matter.
std::filesystem::path ConfigurationFilePath(std::string_view directory, std::string_view fileName);
std::filesystem::path DataSourcesFilePath(std::string_view directory);
std::filesystem::path DisplaysFilePath(std::string_view directory);

// The list document a configuration file holds; JSON null when its text is empty or begins
// with "null". Fails with "Cannot open file ..." or "The input value is not a valid Object".
nlohmann::ordered_json ReadListDocument(const std::filesystem::path& path);
// Stages the one-line text of `document` and CR LF as the file's new content.
void StageListDocument(TTextFileSet& files, const std::filesystem::path& path,
                       const nlohmann::ordered_json& document);

template <typename T> TBaseObjectList<T> ReadListFile(const std::filesystem::path& path) {
    return ListFromJson<T>(ReadListDocument(path));
}

// Stages the list document of `list`'s records as the file's new content. The document is always
// that of a new non-owning list filled by appending ("FOwnsObjects" false, capacity the smallest
// power of two not below the count), whatever list the caller keeps its records in.
template <typename T>
void StageListFile(TTextFileSet& files, const std::filesystem::path& path, const TBaseObjectList<T>& list) {
    TBaseObjectList<T> written(false);
    for (T& record : list) {
        written.Add(record);
    }
    StageListDocument(files, path, ListToJson(written));
}

// Replaces the file alone with the list document of `list`'s records (see StageListFile).
template <typename T> void WriteListFile(const std::filesystem::path& path, const TBaseObjectList<T>& list) {
    TTextFileSet files;
    StageListFile(files, path, list);
    files.Commit();
}
