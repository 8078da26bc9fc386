#include "log/SyslogPriority.h"

#include "log/DLogObject.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct PriorityCase {
    std::string Message;
    const char* Prefix;
};

class SyslogPriorityTest : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(SyslogPriorityTest, FollowsTheLevel) {
    EXPECT_EQ(SyslogPriorityPrefix(GetParam().Message), GetParam().Prefix);
}

INSTANTIATE_TEST_SUITE_P(Levels, SyslogPriorityTest,
                         ::testing::Values(PriorityCase{FormatLogText(LogType_Error, "e"), "<3>"},
                                           PriorityCase{FormatLogText(LogType_Warning, "w"), "<4>"},
                                           PriorityCase{FormatLogText(LogType_Info, "i"), "<6>"},
                                           PriorityCase{FormatLogText(LogType_Trace, "t"), "<7>"},
                                           PriorityCase{FormatLogText(LogType_Debug, "d"), "<7>"},
                                           PriorityCase{"(200)-sc0 -t\"x\"", "<6>"}));

TEST(SyslogPriorityTest, WritesToTheJournalWhenSystemdSaysSo) {
    const char* const before = std::getenv("JOURNAL_STREAM");
    const std::string saved = before != nullptr ? before : "";
    const bool wasSet = before != nullptr;
    setenv("JOURNAL_STREAM", "8:12345", 1);
    EXPECT_TRUE(WritingToJournal());
    setenv("JOURNAL_STREAM", "", 1);
    EXPECT_FALSE(WritingToJournal());
    unsetenv("JOURNAL_STREAM");
    EXPECT_FALSE(WritingToJournal());
    if (wasSet) {
        setenv("JOURNAL_STREAM", saved.c_str(), 1);
    }
}

} // namespace
