#include "platform/TextFileSet.h"

#include "platform/Encoding.h"
#include "platform/FileDescriptor.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MaxLinksFollowed = 40;
constexpr std::string_view TemporarySuffix = ".tmp";

[[noreturn]] void Fail(const char* format, const fs::path& path, int error) {
    throw EVorlixError(SprintF(format, path.string(), std::system_category().message(error)));
}

[[noreturn]] void FailToCreate(const fs::path& path, int error) {
    Fail("Cannot create file \"%s\". %s", path, error);
}

[[noreturn]] void FailToWrite(const fs::path& path, int error) {
    Fail("Cannot write file \"%s\". %s", path, error);
}

fs::path DirectoryOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : ".";
}

// The file that `path` names once its symbolic links are followed; `path` itself when it is no link.
fs::path LinkTarget(const fs::path& path) {
    fs::path target = path;
    for (int followed = 0;; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(target, error)) {
            return target;
        }
        if (followed == MaxLinksFollowed) {
            FailToCreate(path, ELOOP);
        }
        const fs::path link = fs::read_symlink(target, error);
        if (error) {
            FailToCreate(path, error.value());
        }
        target = link.is_absolute() ? link : DirectoryOf(target) / link;
    }
}

// A directory cannot be renamed over; refusing it here keeps the commit of a set from stopping
// half-way.
void RefuseDirectory(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        FailToWrite(path, EISDIR);
    }
}

// A file beside `path` that did not exist before, created with the usual permissions and named
// "<file name>.<process id>-<number>.tmp".
std::pair<fs::path, TFileDescriptor> CreateTemporaryBeside(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    while (true) {
        fs::path temporary = path;
        temporary += SprintF(".%d-%u", ::getpid(), counter++);
        temporary += TemporarySuffix;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return {std::move(temporary), TFileDescriptor(fd)};
        }
        if (errno != EEXIST) {
            FailToCreate(path, errno);
        }
    }
}

// The decimal number that is the whole of `text`.
std::optional<unsigned long> WholeNumber(std::string_view text) {
    unsigned long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

// The process that created `name` as a temporary file for `fileName` (see CreateTemporaryBeside),
// or nothing when `name` is not such a file.
std::optional<pid_t> TemporaryFileCreator(std::string_view name, std::string_view fileName) {
    if (name.size() <= fileName.size() + TemporarySuffix.size() || !name.starts_with(fileName) ||
        !name.ends_with(TemporarySuffix)) {
        return std::nullopt;
    }
    name.remove_prefix(fileName.size());
    name.remove_suffix(TemporarySuffix.size());
    const std::size_t dash = name.find('-');
    if (!name.starts_with('.') || dash == std::string_view::npos || !WholeNumber(name.substr(dash + 1))) {
        return std::nullopt;
    }
    const auto process = WholeNumber(name.substr(1, dash - 1));
    if (!process || *process == 0 ||
        *process > static_cast<unsigned long>(std::numeric_limits<pid_t>::max())) {
        return std::nullopt;
    }
    return static_cast<pid_t>(*process);
}

bool ProcessRuns(pid_t process) {
    return ::kill(process, 0) == 0 || errno == EPERM;
}

// Temporary files of `path` whose save was killed: their process no longer runs, so nothing will
// ever rename or remove them. A leftover that cannot be removed is no reason to fail a save.
void RemoveLeftoversOf(const fs::path& path) {
    const std::string fileName = path.filename().string();
    std::error_code error;
    for (fs::directory_iterator entry(DirectoryOf(path), error), end; !error && entry != end;
         entry.increment(error)) {
        const auto creator = TemporaryFileCreator(entry->path().filename().string(), fileName);
        std::error_code ignored;
        if (creator && !ProcessRuns(*creator) &&
            entry->symlink_status(ignored).type() == fs::file_type::regular) {
            fs::remove(entry->path(), ignored);
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
void KeepPermissions(const TFileDescriptor& file, const fs::path& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(file.Fd(), old.st_mode & 07777) != 0) {
        throw std::system_error(errno, std::system_category());
    }
}

// Makes the renames themselves survive a power cut. The new content is complete either way, so a
// directory that cannot be synced is no reason to report the save as failed.
void SyncDirectory(const fs::path& directory) {
    TFileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Fd() >= 0) {
        ::fsync(dir.Fd());
    }
}

} // namespace

TTextFileSet::~TTextFileSet() {
    for (const TStagedFile& file : FStaged) {
        std::error_code ignored;
        fs::remove(file.Temporary, ignored);
    }
}

void TTextFileSet::Stage(const fs::path& path, const std::string& bytes) {
    const fs::path target = LinkTarget(path);
    RefuseDirectory(target);
    auto [temporary, file] = CreateTemporaryBeside(target);
    FStaged.push_back({target, temporary});
    try {
        WriteAll(file, bytes);
        KeepPermissions(file, target);
        if (::fsync(file.Fd()) != 0 || !file.Close()) {
            throw std::system_error(errno, std::system_category());
        }
    } catch (const std::system_error& error) {
        FStaged.pop_back();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        FailToWrite(target, error.code().value());
    }
}

void TTextFileSet::StageText(const fs::path& path, const std::string& utf8) {
    Stage(path, EncodeText(utf8));
}

void TTextFileSet::Commit() {
    std::set<fs::path> directories;
    while (!FStaged.empty()) {
        const TStagedFile& file = FStaged.front();
        std::error_code error;
        fs::rename(file.Temporary, file.Target, error);
        if (error) {
            FailToWrite(file.Target, error.value());
        }
        directories.insert(DirectoryOf(file.Target));
        RemoveLeftoversOf(file.Target);
        FStaged.erase(FStaged.begin());
    }
    std::ranges::for_each(directories, SyncDirectory);
}
