#include "platform/TextFile.h"

#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
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
        // The temporary file is written, but cannot be renamed over a directory.
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
