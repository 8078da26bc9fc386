#include "rows/LogLine.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLineTest, ShowsSourceBlankColonMessage) {
    EXPECT_EQ(LogLineText("Startup", "Exception during collectdata:boom"),
              "Startup :Exception during collectdata:boom");
}

TEST(LogLineTest, CopiesTheTextAfterTheLastColon) {
    const struct {
        const char* line;
        const char* copied;
    } cases[] = {
        {"Startup :Exception during collectdata:Cannot open file", "Cannot open file"},
        {"Main :Saved data", "Saved data"},
        {"Hall :(1000)-t\"a:b\" ", "b\""},
        {"no colon at all", "no colon at all"},
        {":starts with its only colon", ":starts with its only colon"},
        {"Main : : ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogLineCopyText(c.line), c.copied) << c.line;
    }
}

} // namespace

TEST(LogLineTest, TellsErrorLinesFromTheRest) {
    const std::pair<const char*, bool> cases[] = {
        {" ERROR: Could not connect", true},
        {"Error while saving current model:disk full", true},
        {"Exception during collectdata:boom", true},
        {"WARNING: Configured address is not including port", false},
        {"  INFO: Create DEBUG display Hall", false},
        {"(1000)-sc0 -t\"Error in text\"", false},
        {"", false},
    };
    for (const auto& [message, error] : cases) {
        EXPECT_EQ(IsErrorLogMessage(message), error) << message;
    }
}
