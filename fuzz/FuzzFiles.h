#pragma once

#include "FuzzCheck.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

// Files for the targets that read what a user's disk holds: a scratch directory of this process.

inline std::filesystem::path ScratchFile(const std::string& name) {
    static const std::filesystem::path directory = [] {
        auto path = std::filesystem::temp_directory_path() / ("vorlix-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return directory / name;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads `bytes` as a file with `read`; when they load, what was read is saved with `write`,
// loaded again and saved again. Both saves must load and be the same bytes: what the program
// reads it writes back unchanged.
template <typename TRead, typename TWrite>
void CheckSavedAsLoaded(std::string_view bytes, TRead read, TWrite write) {
    const auto input = ScratchFile("input");
    const auto first = ScratchFile("first");
    const auto second = ScratchFile("second");
    WriteBytes(input, bytes);
    std::optional<decltype(read(input))> loaded;
    if (!Accepted([&] { loaded.emplace(read(input)); })) {
        return;
    }
    write(first, *loaded);
    write(second, read(first));
    FuzzCheck(ReadBytes(first) == ReadBytes(second), "a saved file loads to the same records");
}
