#include "rows/LogLine.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLineTest, ShowsSourceBlankColonMessage) {
    EXPECT_EQ(LogLineText("Startup", "Exception during collectdata:boom"),
              "Startup :Exception during collectdata:boom");
}

TEST(LogLineTest, ShowsControlCharactersAsEscapesSoThatALineStaysOneLine) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"GET http://h/a\r\nX-Injected: 1", "GET http://h/a\\r\\nX-Injected: 1"},
        {"\x1b[2Jcleared", "\\x1b[2Jcleared"},
        {"tab\there, bell\a, delete\x7f", "tab\\there, bell\\x07, delete\\x7f"},
        {"next line\xC2\x85 and CSI \xC2\x9B", "next line\\u0085 and CSI \\u009b"},
        {"separator \xE2\x80\xA8", "separator \\u2028"},
        {"stray \xC5 byte", "stray \\xc5 byte"},
        {"\xC3\xA5ngstr\xC3\xB6m \xE2\x82\xAC \xC2\xA0 \xF0\x9F\x98\x80 \\ \"quoted\"",
         "\xC3\xA5ngstr\xC3\xB6m \xE2\x82\xAC \xC2\xA0 \xF0\x9F\x98\x80 \\ \"quoted\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogLineText("TDisplayDataSourceJSON", c.message),
                  std::string("TDisplayDataSourceJSON :") + c.shown)
            << c.message;
    }
    EXPECT_EQ(LogLineText("Hall\n", std::string("nul\0", 4)), "Hall\\n :nul\\x00");
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
