#include "platform/TextFile.h"

#include "platform/Encoding.h"
#include "platform/FileDescriptor.h"
#include "platform/InputLimit.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

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

[[noreturn]] void FailToCreate(const std::filesystem::path& path, int error) {
    throw EVorlixError(SprintF("Cannot create file \"%s\". %s", path.string(), SystemReason(error)));
}

[[noreturn]] void FailToWrite(const std::filesystem::path& path, int error) {
    throw EVorlixError(SprintF("Cannot write file \"%s\". %s", path.string(), SystemReason(error)));
}

// A file beside `path` that did not exist before, created with the usual permissions.
std::pair<std::filesystem::path, TFileDescriptor> CreateTemporaryBeside(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    while (true) {
        std::filesystem::path temporary = path;
        temporary += SprintF(".%d-%u.tmp", ::getpid(), counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return {std::move(temporary), TFileDescriptor(fd)};
        }
        if (errno != EEXIST) {
            FailToCreate(path, errno);
        }
    }
}

void WriteAll(const TFileDescriptor& file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(file.Fd(), bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno != EINTR) {
            throw std::system_error(errno, std::system_category());
        }
        written += result > 0 ? static_cast<std::size_t>(result) : 0;
    }
}

// A replaced file keeps the permissions the operator gave it.
void KeepPermissions(const TFileDescriptor& file, const std::filesystem::path& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(file.Fd(), old.st_mode & 07777) != 0) {
        throw std::system_error(errno, std::system_category());
    }
}

// Makes the rename itself survive a power cut. The new content is complete either way, so a
// directory that cannot be synced is no reason to report the save as failed.
void SyncDirectoryOf(const std::filesystem::path& path) {
    const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : ".";
    TFileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Fd() >= 0) {
        ::fsync(dir.Fd());
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
    auto [temporary, file] = CreateTemporaryBeside(path);
    try {
        WriteAll(file, bytes);
        KeepPermissions(file, path);
        if (::fsync(file.Fd()) != 0 || !file.Close()) {
            throw std::system_error(errno, std::system_category());
        }
        std::filesystem::rename(temporary, path);
    } catch (const std::system_error& error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        FailToWrite(path, error.code().value());
    }
    SyncDirectoryOf(path);
}

void WriteTextFile(const std::filesystem::path& path, const std::string& utf8) {
    ReplaceFile(path, EncodeText(utf8));
}
