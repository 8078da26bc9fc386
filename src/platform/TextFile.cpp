#include "platform/TextFile.h"

#include "platform/Encoding.h"
#include "platform/FileDescriptor.h"
#include "platform/InputLimit.h"
#include "platform/SprintF.h"
#include "platform/TextFileSet.h"
#include "platform/VorlixError.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string SystemReason(int error) {
    return std::system_category().message(error);
}

[[noreturn]] void FailToOpen(const std::filesystem::path& path, int error) {
    throw EVorlixError(SprintF("Cannot open file \"%s\". %s", path.string(), SystemReason(error)));
}

[[noreturn]] void RefuseToOpen(const std::filesystem::path& path, const std::string& reason) {
    throw EFileRefused(SprintF("Cannot open file \"%s\". %s", path.string(), reason));
}

[[noreturn]] void RefuseLarger(const std::filesystem::path& path, std::size_t maxSize) {
    RefuseToOpen(path, "It is larger than " + SizeLimitText(maxSize));
}

// Only a regular file has an end that comes without waiting; a directory keeps the system's own
// reason.
void RefuseUnlessRegularAndWithin(const std::filesystem::path& path, const struct stat& status,
                                  std::size_t maxSize) {
    if (S_ISDIR(status.st_mode)) {
        RefuseToOpen(path, SystemReason(EISDIR));
    }
    if (!S_ISREG(status.st_mode)) {
        RefuseToOpen(path, "It is not a regular file");
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxSize) {
        RefuseLarger(path, maxSize);
    }
}

} // namespace

std::string ReadFileBytes(const std::filesystem::path& path, std::size_t maxSize) {
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Fd() < 0) {
        FailToOpen(path, errno);
    }
    struct stat status {};
    if (::fstat(file.Fd(), &status) != 0) {
        FailToOpen(path, errno);
    }
    RefuseUnlessRegularAndWithin(path, status, maxSize);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
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
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() > maxSize) {
            RefuseLarger(path, maxSize);
        }
    }
}

std::string ReadTextFile(const std::filesystem::path& path, std::size_t maxSize) {
    return DecodeText(ReadFileBytes(path, maxSize));
}

void ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
    TTextFileSet files;
    files.Stage(path, bytes);
    files.Commit();
}

void WriteTextFile(const std::filesystem::path& path, const std::string& utf8) {
    ReplaceFile(path, EncodeText(utf8));
}
