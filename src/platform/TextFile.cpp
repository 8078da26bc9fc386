#include "platform/TextFile.h"

#include "platform/Encoding.h"
#include "platform/FileDescriptor.h"
#include "platform/SprintF.h"
#include "platform/TextFileSet.h"
#include "platform/VorlixError.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string SystemReason(int error) {
    return std::system_category().message(error);
}

[[noreturn]] void FailToOpen(const std::filesystem::path& path, int error) {
    throw EVorlixError(SprintF("Cannot open file \"%s\". %s", path.string(), SystemReason(error)));
}

} // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Fd() < 0) {
        FailToOpen(path, errno);
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t result = ::read(file.Fd(), buffer, sizeof buffer);
        if (result == 0) {
            return bytes;
        }
        if (result < 0 && errno != EINTR) {
            FailToOpen(path, errno);
        }
        bytes.append(buffer, result > 0 ? static_cast<std::size_t>(result) : 0);
    }
}

std::string ReadTextFile(const std::filesystem::path& path) {
    return DecodeText(ReadFileBytes(path));
}

void ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
    TTextFileSet files;
    files.Stage(path, bytes);
    files.Commit();
}

void WriteTextFile(const std::filesystem::path& path, const std::string& utf8) {
    ReplaceFile(path, EncodeText(utf8));
}
