#include "platform/TextFileSet.h"

#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using testing::StrEq;
using testing::ThrowsMessage;

// While it lives, no file of this process can grow beyond `bytes`: a write past it fails with
// EFBIG, as a full disk fails with ENOSPC, whoever runs the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, FOld.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int);
};

TEST(TextFileSetTest, NothingChangesBeforeTheCommitAndEverythingAtIt) {
    TempDir dir;
    dir.Write("a.json", "old a");
    dir.Write("b.json", "old b");
    TTextFileSet files;
    files.Stage(dir / "a.json", "new a");
    files.Stage(dir / "b.json", "new b");
    files.StageText(dir / "c.json", "\xC3\xA5");
    EXPECT_EQ(dir.Read("a.json"), "old a");
    EXPECT_EQ(dir.Read("b.json"), "old b");
    EXPECT_FALSE(fs::exists(dir / "c.json"));
    files.Commit();
    EXPECT_EQ(dir.Contents(), (std::map<std::string, std::string>{
                                  {"a.json", "new a"}, {"b.json", "new b"}, {"c.json", "\xE5"}}));
}

TEST(TextFileSetTest, AFailureOnALaterFileLeavesEveryFileAsItWasAndNoTemporaryFile) {
    TempDir dir;
    dir.Write("a.json", "old a");
    dir.Write("b.json", "old b");
    fs::create_directory(dir / "occupied.json");
    fs::create_symlink("loop.json", dir / "loop.json");
    const std::string large(4096, 'x');
    struct TCase {
        std::string Name;
        std::function<void(TTextFileSet&)> StageSecond;
        std::string Expected;
    };
    const TCase cases[] = {
        {"missing directory", [&](TTextFileSet& files) { files.Stage(dir / "missing" / "b.json", "new b"); },
         "Cannot create file \"" + (dir / "missing" / "b.json").string() + "\". No such file or directory"},
        {"directory in the place", [&](TTextFileSet& files) { files.Stage(dir / "occupied.json", "new b"); },
         "Cannot write file \"" + (dir / "occupied.json").string() + "\". Is a directory"},
        {"link loop", [&](TTextFileSet& files) { files.Stage(dir / "loop.json", "new b"); },
         "Cannot create file \"" + (dir / "loop.json").string() + "\". Too many levels of symbolic links"},
        {"no room",
         [&](TTextFileSet& files) {
             const FileSizeLimit limit(large.size() / 2);
             files.Stage(dir / "b.json", large);
         },
         "Cannot write file \"" + (dir / "b.json").string() + "\". File too large"},
    };
    const auto before = dir.Contents();
    for (const TCase& c : cases) {
        {
            TTextFileSet files;
            files.Stage(dir / "a.json", "new a");
            EXPECT_THAT([&] { c.StageSecond(files); }, ThrowsMessage<EVorlixError>(StrEq(c.Expected)))
                << c.Name;
        }
        EXPECT_EQ(dir.Contents(), before) << c.Name;
    }
}

TEST(TextFileSetTest, ASetWithoutCommitRemovesItsTemporaryFiles) {
    TempDir dir;
    {
        TTextFileSet files;
        files.Stage(dir / "a.json", "new a");
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

} // namespace
