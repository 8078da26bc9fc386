#include "datasources/DisplayDataSourceFile.h"

#include "platform/InputLimit.h"
#include "platform/TextFile.h"
#include "platform/VorlixError.h"

#include <filesystem>

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(PathOf(path), ignored);
}

} // namespace

TDisplayDataSourceFile::TDisplayDataSourceFile(const std::string& name, const std::string& path)
    : TDisplayDataSourceBase("TDisplayDataSourceFile", name), FilePath(path) {
    SetTimeoutMsec(5000);
    if (!Exists(FilePath)) {
        LogWarningFmt("Datasource %s is missing source file %s on startup", Name(), FilePath);
    }
}

bool TDisplayDataSourceFile::RefreshData() {
    const bool due = TDisplayDataSourceBase::RefreshData();
    Value.Clear();
    if (Exists(FilePath)) {
        ReadLines();
    }
    return due;
}

// A line ends at LF; a CR right before the LF is not part of it.
void TDisplayDataSourceFile::ReadLines() {
    std::string text;
    try {
        text = ReadTextFile(PathOf(FilePath), MaxInputSize);
    } catch (const EVorlixError& error) {
        LogErrorFmt("Error Datasource %s while opening file %s:%s", Name(), FilePath, error.what());
        // A path refused unread (a pipe, a device, a huge file) leaves the value empty; only a
        // file that could not be read shows the failure line.
        if (dynamic_cast<const EFileRefused*>(&error) == nullptr) {
            Value.Add(SprintF("Failed to read file %s", FilePath));
        }
        return;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            Value.Add(text.substr(start));
            return;
        }
        const std::size_t next = end + 1;
        if (end > start && text[end - 1] == '\r') {
            --end;
        }
        Value.Add(text.substr(start, end - start));
        start = next;
    }
}
