#include "config/ConfigurationFiles.h"

#include "config/JsonText.h"
#include "platform/TextFile.h"

#include <string>

std::filesystem::path ConfigurationFilePath(std::string_view directory, std::string_view fileName) {
    const std::size_t end = directory.find_last_not_of("/\\");
    std::string path(directory.substr(0, end == std::string_view::npos ? 0 : end + 1));
    path += static_cast<char>(std::filesystem::path::preferred_separator);
    path += fileName;
    return path;
}

std::filesystem::path DataSourcesFilePath(std::string_view directory) {
    return ConfigurationFilePath(directory, DataSourcesFileName);
}

std::filesystem::path DisplaysFilePath(std::string_view directory) {
    return ConfigurationFilePath(directory, DisplaysFileName);
}

nlohmann::ordered_json ReadListDocument(const std::filesystem::path& path) {
    const std::string text = ReadTextFile(path);
    if (text.empty() || text.starts_with("null")) {
        return nullptr;
    }
    return ParseJsonText(text);
}

void StageListDocument(TTextFileSet& files, const std::filesystem::path& path,
                       const nlohmann::ordered_json& document) {
    files.StageText(path, JsonText(document) + "\r\n");
}
