#include "platform/TextFile.h"

#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing::StrEq;
using testing::ThrowsMessage;

std::vector<std::string> FileNames(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TextFileTest, ReadsTheExactBytes) {
    TempDir dir;
    const std::string bytes("line\r\n\0\xFF\xFE end", 13);
    EXPECT_EQ(ReadFileBytes(dir.Write("data.bin", bytes)), bytes);
}

TEST(TextFileTest, ReadFailuresNameTheFileAndTheReason) {
    TempDir dir;
    const fs::path missing = dir / "missing.json";
    EXPECT_THAT([&] { ReadFileBytes(missing); },
                ThrowsMessage<EVorlixError>(
                    StrEq("Cannot open file \"" + missing.string() + "\". No such file or directory")));
    EXPECT_THAT([&] { ReadFileBytes(dir.Path()); },
                ThrowsMessage<EVorlixError>(
                    StrEq("Cannot open file \"" + dir.Path().string() + "\". Is a directory")));
}

TEST(TextFileTest, ReadRefusesAFileAboveTheLimitItIsGiven) {
    TempDir dir;
    EXPECT_EQ(ReadFileBytes(dir.Write("four.txt", "1234"), 4), "1234");
    const fs::path five = dir.Write("five.txt", "12345");
    EXPECT_THAT([&] { ReadFileBytes(five, 4); },
                ThrowsMessage<EFileRefused>(
                    StrEq("Cannot open file \"" + five.string() + "\". It is larger than 4 bytes")));
    EXPECT_EQ(ReadFileBytes(five), "12345");
}

TEST(TextFileTest, ReplaceFileCreatesAndReplacesWithoutLeavingTemporaryFiles) {
    TempDir dir;
    const fs::path path = dir / "local-displays.json";
    ReplaceFile(path, "first\r\n");
    EXPECT_EQ(dir.Read("local-displays.json"), "first\r\n");
    ReplaceFile(path, "second");
    EXPECT_EQ(dir.Read("local-displays.json"), "second");
    ReplaceFile(path, "");
    EXPECT_EQ(dir.Read("local-displays.json"), "");
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"local-displays.json"});
}

TEST(TextFileTest, ReplaceFileKeepsThePermissionsOfTheOldFile) {
    TempDir dir;
    const fs::path path = dir.Write("config.json", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ReplaceFile(path, "new");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(TextFileTest, FailedReplaceReportsTheReasonAndLeavesEverythingAsItWas) {
    TempDir dir;
    const fs::path regular = dir.Write("regular", "old content");
    fs::create_directories(dir / "occupied" / "inside");
    struct TCase {
        fs::path Path;
        std::string Expected;
    };
    const TCase cases[] = {
        {dir / "missing" / "file.json", "Cannot create file \"" + (dir / "missing" / "file.json").string() +
                                            "\". No such file or directory"},
        {regular / "file.json",
         "Cannot create file \"" + (regular / "file.json").string() + "\". Not a directory"},
        // A file cannot take the place of a directory; refused before any temporary file is written.
        {dir / "occupied", "Cannot write file \"" + (dir / "occupied").string() + "\". Is a directory"},
    };
    for (const TCase& c : cases) {
        EXPECT_THAT([&] { ReplaceFile(c.Path, "new content"); },
                    ThrowsMessage<EVorlixError>(StrEq(c.Expected)));
    }
    EXPECT_EQ(dir.Read("regular"), "old content");
    EXPECT_TRUE(fs::is_directory(dir / "occupied" / "inside"));
    EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"occupied", "regular"}));
}

TEST(TextFileTest, ReplacingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    TempDir dir;
    fs::create_directory(dir / "shared");
    const fs::path target = dir.Write("shared/config.json", "old");
    struct TCase {
        std::string Link;
        fs::path PointsTo;
    };
    const TCase cases[] = {
        {"relative.json", "shared/config.json"},
        {"absolute.json", target},
        {"chained.json", "relative.json"},
    };
    for (const TCase& c : cases) {
        fs::create_symlink(c.PointsTo, dir / c.Link);
        ReplaceFile(dir / c.Link, "written through " + c.Link);
        EXPECT_TRUE(fs::is_symlink(dir / c.Link)) << c.Link;
        EXPECT_EQ(dir.Read("shared/config.json"), "written through " + c.Link);
    }
    fs::create_symlink("shared/new.json", dir / "dangling.json");
    ReplaceFile(dir / "dangling.json", "created");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.json"));
    EXPECT_EQ(dir.Read("shared/new.json"), "created");
    EXPECT_EQ(FileNames(dir / "shared"), (std::vector<std::string>{"config.json", "new.json"}));
}

// The id of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(TextFileTest, ReplacingRemovesTheFileTemporariesLeftByEndedProcessesOnly) {
    TempDir dir;
    const std::string dead = std::to_string(EndedProcess());
    const std::string alive = std::to_string(::getpid());
    // Our own running saves, names not quite of the pattern, and leftovers of other files.
    const std::vector<std::string> kept = {
        "config.json." + alive + "-7.tmp",    "config.json." + dead + "-x.tmp",
        "config.json." + dead + ".tmp",       "config.json." + dead + "-3.tmp~",
        "config.json.-" + dead + "-3.tmp",    "config.json.bak",
        "config.json.bak." + dead + "-1.tmp", "other.json." + dead + "-1.tmp",
        "xconfig.json." + dead + "-1.tmp",
    };
    for (const std::string& name : kept) {
        dir.Write(name, "kept");
    }
    dir.Write("config.json." + dead + "-3.tmp", "left by a kill");
    dir.Write("config.json." + dead + "-12.tmp", "left by a kill");
    ReplaceFile(dir / "config.json", "new");
    std::vector<std::string> expected = kept;
    expected.push_back("config.json");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FileNames(dir.Path()), expected);
}

TEST(TextFileTest, TextFilesRoundTripThroughTheirEncoding) {
    TempDir dir;
    const fs::path path = dir / "text.json";
    WriteTextFile(path, "\xC3\xA5");
    EXPECT_EQ(dir.Read("text.json"), "\xE5");
    EXPECT_EQ(ReadTextFile(path), "\xC3\xA5");
    WriteTextFile(path, "\xC5\x81\xC3\xB3\x64\xC5\xBA");
    EXPECT_EQ(dir.Read("text.json"), "\xEF\xBB\xBF\xC5\x81\xC3\xB3\x64\xC5\xBA");
    EXPECT_EQ(ReadTextFile(path), "\xC5\x81\xC3\xB3\x64\xC5\xBA");
}

} // namespace
