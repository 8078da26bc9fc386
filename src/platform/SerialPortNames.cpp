#include "platform/SerialPortNames.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The entries of `directory` whose names start with `prefix`, sorted; none when it cannot be read.
std::vector<std::string> EntriesStartingWith(const std::filesystem::path& directory,
                                             std::string_view prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().filename().string().starts_with(prefix)) {
            names.push_back(entry->path().string());
        }
    }
    std::ranges::sort(names);
    return names;
}

} // namespace

std::vector<std::string> SerialPortNames(const std::filesystem::path& devices) {
    std::vector<std::string> names = EntriesStartingWith(devices / "serial" / "by-id", "");
    for (const std::string_view prefix : std::array<std::string_view, 3>{"ttyUSB", "ttyACM", "ttyS"}) {
        for (std::string& name : EntriesStartingWith(devices, prefix)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}
