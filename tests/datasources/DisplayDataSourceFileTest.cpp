#include "datasources/DisplayDataSourceFile.h"

#include "platform/InputLimit.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using TLines = std::vector<std::string>;

class FileSource : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    TempDir Dir;
    TestClock Clock{SomeMoment()};
};

TEST_F(FileSource, ReadsTheLinesOfTheFile) {
    const struct {
        std::string bytes;
        TLines lines;
    } cases[] = {
        {"1\n2\n3\n", {"1", "2", "3"}},
        {"1\r\n2\r\n3", {"1", "2", "3"}},
        {"", {}},
        {"\n", {""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\rb\n", {"a\rb"}},
        {"\xC5re \x80", {"Åre €"}},
        {"\xEF\xBB\xBF\xC3\x85re", {"Åre"}},
        {"K\xC3\xB8"
         "benhavn",
         {"København"}},
        {"\xFF\xFEh\0i\0"s, {"hi"}},
    };
    for (const auto& c : cases) {
        Dir.Write("in.txt", c.bytes);
        TDisplayDataSourceFile source("f", PathOf("in.txt"));
        EXPECT_TRUE(source.RefreshData());
        EXPECT_EQ(source.Value.Lines(), c.lines) << ::testing::PrintToString(c.bytes);
    }
}

TEST_F(FileSource, TextReadsBackWithLineBreaks) {
    Dir.Write("in.txt", "1\n2\n3\n");
    TDisplayDataSourceFile source("f", PathOf("in.txt"));
    ASSERT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Text(), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(source.Value.DelimitedText(), "1,2,3");
}

TEST_F(FileSource, ReadsOnEveryPassButIsDueOnlyAfterItsInterval) {
    Dir.Write("in.txt", "first");
    TDisplayDataSourceFile source("f", PathOf("in.txt"));
    source.SetTimeoutMsec(1000);
    EXPECT_TRUE(source.RefreshData());

    Dir.Write("in.txt", "second");
    Clock.Advance(100);
    EXPECT_FALSE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"second"});
    Clock.Advance(901);
    EXPECT_TRUE(source.RefreshData());
}

TEST_F(FileSource, WithoutIntervalItNeverPublishes) {
    Dir.Write("in.txt", "x");
    TDisplayDataSourceFile source("f", PathOf("in.txt"));
    source.SetTimeoutMsec(0);
    EXPECT_FALSE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"x"});
}

TEST_F(FileSource, MissingFileGivesAnEmptyValueUntilItAppears) {
    std::vector<std::string> log;
    TDisplayDataSourceFile source("f", PathOf("later.txt"));
    source.SetOnLogMessage(
        [&](const std::string& from, const std::string& message) { log.push_back(from + "|" + message); });
    EXPECT_EQ(log, TLines{"TDisplayDataSourceFile|WARNING: Datasource f is missing source file " +
                          PathOf("later.txt") + " on startup"});

    source.Value.Add("stale");
    EXPECT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Count(), 0u);

    Dir.Write("later.txt", "now here");
    EXPECT_FALSE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"now here"});
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(FileSource, UnreadableFileGivesTheFailureLine) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not apply to root";
    }
    Dir.Write("locked.txt", "secret");
    std::filesystem::permissions(Dir / "locked.txt", std::filesystem::perms::none);
    std::vector<std::string> log;
    TDisplayDataSourceFile source("f", PathOf("locked.txt"));
    source.SetOnLogMessage([&](const std::string&, const std::string& message) { log.push_back(message); });
    EXPECT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"Failed to read file " + PathOf("locked.txt")});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], " ERROR: Error Datasource f while opening file " + PathOf("locked.txt") +
                          ":Cannot open file \"" + PathOf("locked.txt") + "\". Permission denied");
}

// Refreshes on a thread of its own, so that a refresh that blocks fails the test instead of hanging
// it; `unblock` is called to set such a refresh free.
void RefreshWithin(TDisplayDataSourceFile& source, const std::function<void()>& unblock) {
    std::promise<void> finished;
    std::thread refresh([&] {
        source.RefreshData();
        finished.set_value();
    });
    if (finished.get_future().wait_for(5s) != std::future_status::ready) {
        ADD_FAILURE() << "the refresh blocked";
        unblock();
    }
    refresh.join();
}

TEST_F(FileSource, PathsThatAreNoSmallRegularFileAreRefusedUnreadAndLeaveTheValueEmpty) {
    const std::filesystem::path fifo = Dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(Dir / "folder");
    std::filesystem::resize_file(Dir.Write("huge.txt", ""), MaxInputSize + 1024 * 1024);
    // Opening the pipe for writing and closing it again ends a reader that waits for it.
    const auto freePipe = [&] { close(open(fifo.c_str(), O_WRONLY)); };
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {fifo.string(), "It is not a regular file"},
        {"/dev/zero", "It is not a regular file"},
        {PathOf("folder"), "Is a directory"},
        {PathOf("huge.txt"), "It is larger than 8 MiB"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        TDisplayDataSourceFile source("f", c.path);
        source.SetOnLogMessage(
            [&](const std::string&, const std::string& message) { log.push_back(message); });
        source.Value.Add("stale");
        RefreshWithin(source, freePipe);
        EXPECT_EQ(source.Value.Count(), 0u) << c.path;
        EXPECT_EQ(log, TLines{" ERROR: Error Datasource f while opening file " + c.path +
                              ":Cannot open file \"" + c.path + "\". " + c.reason});
    }
}

TEST_F(FileSource, AFileOfTheLargestSizeIsRead) {
    std::filesystem::resize_file(Dir.Write("largest.txt", ""), MaxInputSize);
    TDisplayDataSourceFile source("f", PathOf("largest.txt"));
    EXPECT_TRUE(source.RefreshData());
    ASSERT_EQ(source.Value.Count(), 1u);
    EXPECT_EQ(source.Value.Lines()[0].size(), MaxInputSize);
}

TEST_F(FileSource, ReinitializeTakesTheNewPathAndLeavesTheDueTimeAlone) {
    Dir.Write("a.txt", "a");
    Dir.Write("b.txt", "b");
    TDisplayDataSourceFile source("f", PathOf("a.txt"));
    source.SetTimeoutMsec(1000);
    ASSERT_TRUE(source.RefreshData());
    source.Reinitialize(PathOf("b.txt"));
    EXPECT_EQ(source.GetConfiguration(), PathOf("b.txt"));
    EXPECT_FALSE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"b"});
}

TEST_F(FileSource, RelativePathIsTakenFromTheCurrentDirectory) {
    Dir.Write("rel.txt", "relative");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(Dir.Path());
    TDisplayDataSourceFile source("f", "rel.txt");
    const bool due = source.RefreshData();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(due);
    EXPECT_EQ(source.Value.Lines(), TLines{"relative"});
}

} // namespace
