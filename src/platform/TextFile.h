#pragma once

#include <filesystem>
#include <string>

// The exact bytes of a file. Fails with "Cannot open file \"%s\". %s" (the path and the
// system's reason) when it cannot be opened or read.
std::string ReadFileBytes(const std::filesystem::path& path);

// A text file decoded to UTF-8 (see DecodeText).
std::string ReadTextFile(const std::filesystem::path& path);

// Replaces the file with `bytes` atomically, as a set of one file (see TTextFileSet): on failure an
// EVorlixError with the system's reason is thrown and the old file is left byte for byte as it was.
void ReplaceFile(const std::filesystem::path& path, const std::string& bytes);

// ReplaceFile with the UTF-8 text encoded for a file (see EncodeText).
void WriteTextFile(const std::filesystem::path& path, const std::string& utf8);
