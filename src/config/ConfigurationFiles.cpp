#include "config/ConfigurationFiles.h"

#include "config/JsonText.h"
#include "platform/TextFile.h"

#include <string>

namespace {

// The lines of `text`, split at CR, LF or CR LF, each followed by CR LF. An empty text has no
// lines; a trailing line break ends the last line and starts no new one.
std::string WithCrLfLineBreaks(std::string_view text) {
    std::string result;
    std::size_t lineStart = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\r' || text[pos] == '\n') {
            result.append(text.substr(lineStart, pos - lineStart)).append("\r\n");
            if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
                ++pos;
            }
            lineStart = pos + 1;
        }
    }
    if (lineStart < text.size()) {
        result.append(text.substr(lineStart)).append("\r\n");
    }
    return result;
}

} // namespace

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
    const std::string text = WithCrLfLineBreaks(ReadTextFile(path));
    if (text.empty() || text.starts_with("null")) {
        return nullptr;
    }
    return ParseJsonText(text);
}

void WriteListDocument(const std::filesystem::path& path, const nlohmann::ordered_json& document) {
    WriteTextFile(path, JsonText(document) + "\r\n");
}
