#include "datasources/DisplayDataSourceFile.h"

#include "support/TestClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

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

TEST_F(FileSource, UnreadablePathGivesTheFailureLine) {
    std::filesystem::create_directory(Dir / "folder");
    Dir.Write("locked.txt", "secret");
    std::filesystem::permissions(Dir / "locked.txt", std::filesystem::perms::none);
    const bool permissionsApply = geteuid() != 0;

    for (const std::string name : {"folder", "locked.txt"}) {
        if (name == "locked.txt" && !permissionsApply) {
            continue;
        }
        std::vector<std::string> log;
        TDisplayDataSourceFile source("f", PathOf(name));
        source.SetOnLogMessage(
            [&](const std::string&, const std::string& message) { log.push_back(message); });
        EXPECT_TRUE(source.RefreshData());
        EXPECT_EQ(source.Value.Lines(), TLines{"Failed to read file " + PathOf(name)}) << name;
        ASSERT_EQ(log.size(), 1u) << name;
        EXPECT_TRUE(log[0].starts_with(" ERROR: Error Datasource f while opening file " + PathOf(name) + ":"))
            << log[0];
    }
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
