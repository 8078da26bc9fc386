#pragma once

#include <filesystem>
#include <map>
#include <string>

// A fresh directory below the system's temporary directory, removed with everything in it
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

    // Writes `bytes` exactly as given to the file `name` in this directory.
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;
    // The exact bytes of the file `name` in this directory.
    std::string Read(const std::string& name) const;
    // Every entry of this directory by name, with a file's bytes, "(directory)" or
    // "(link to <where it points>)".
    std::map<std::string, std::string> Contents() const;

private:
    std::filesystem::path FPath;
};
