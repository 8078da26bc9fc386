#pragma once

#include "platform/VorlixError.h"

#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>

// A path that the readers below refuse without reading: not a regular file (a named pipe or a
// device could block or never end), or larger than the caller allows.
class EFileRefused : public EVorlixError {
public:
    using EVorlixError::EVorlixError;
};

inline constexpr std::size_t AnyFileSize = std::numeric_limits<std::size_t>::max();

// The exact bytes of a regular file of at most `maxSize` bytes. Fails with "Cannot open file
// \"%s\". %s" (the path and the reason) when it cannot be opened or read, and with an
// EFileRefused of the same form when it is no regular file or is larger than `maxSize`. A named
// pipe or a device cannot block it: the path is opened without waiting and checked before anything
// is read.
std::string ReadFileBytes(const std::filesystem::path& path, std::size_t maxSize = AnyFileSize);

// A text file decoded to UTF-8 (see DecodeText), with the limits of ReadFileBytes.
std::string ReadTextFile(const std::filesystem::path& path, std::size_t maxSize = AnyFileSize);

// Replaces the file with `bytes` atomically, as a set of one file (see TTextFileSet): on failure an
// EVorlixError with the system's reason is thrown and the old file is left byte for byte as it was.
void ReplaceFile(const std::filesystem::path& path, const std::string& bytes);

// ReplaceFile with the UTF-8 text encoded for a file (see EncodeText).
void WriteTextFile(const std::filesystem::path& path, const std::string& utf8);
