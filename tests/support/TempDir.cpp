#include "support/TempDir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlix-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    FPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& bytes) const {
    const auto path = FPath / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path;
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(FPath / name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + (FPath / name).string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> TempDir::Contents() const {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(FPath)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink()) {
            contents[name] = "(link to " + std::filesystem::read_symlink(entry.path()).string() + ")";
        } else {
            contents[name] = entry.is_directory() ? "(directory)" : Read(name);
        }
    }
    return contents;
}
