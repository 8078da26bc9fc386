#include "simulator/SimOptions.h"

#include <gtest/gtest.h>

namespace {

TSimOptions Parse(const std::vector<std::string>& arguments) {
    TSimOptions options;
    const TParsedArguments parsed = ParseProgramArguments(SimProgramOptions(options), arguments);
    EXPECT_EQ(parsed.Request, TProgramRequest::Run) << parsed.Problem;
    return options;
}

TEST(SimOptionsTest, DefaultsToAWindowOn127001Port3027) {
    const TSimOptions options = Parse({});
    EXPECT_EQ(options.Server.Bind, "127.0.0.1");
    EXPECT_EQ(options.Server.Port, 3027);
    EXPECT_FALSE(options.Server.Pty);
    EXPECT_EQ(options.Width, 64);
    EXPECT_FALSE(options.Headless);
    EXPECT_EQ(options.Dump, "");
}

TEST(SimOptionsTest, ReadsEveryOption) {
    const TSimOptions options = Parse({"--bind", "0.0.0.0", "--port", "0", "--pty", "--width", "128",
                                       "--zoom", "3", "--headless", "--dump", "f.png"});
    EXPECT_EQ(options.Server.Bind, "0.0.0.0");
    EXPECT_EQ(options.Server.Port, 0);
    EXPECT_TRUE(options.Server.Pty);
    EXPECT_EQ(options.Width, 128);
    EXPECT_EQ(options.Zoom, 3);
    EXPECT_TRUE(options.Headless);
    EXPECT_EQ(options.Dump, "f.png");
}

struct BadArguments {
    std::vector<std::string> Arguments;
    const char* Message;
};

class SimOptionsErrorTest : public ::testing::TestWithParam<BadArguments> {};

TEST_P(SimOptionsErrorTest, Explains) {
    TSimOptions options;
    const TParsedArguments parsed = ParseProgramArguments(SimProgramOptions(options), GetParam().Arguments);
    EXPECT_EQ(parsed.Request, TProgramRequest::Wrong);
    EXPECT_EQ(parsed.Problem, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SimOptionsErrorTest,
    ::testing::Values(BadArguments{{"--width", "96"}, "--width must be 64 or 128"},
                      BadArguments{{"--width", "064"}, "--width must be 64 or 128"},
                      BadArguments{{"--port", "70000"}, "--port must be a number from 0 to 65535"},
                      BadArguments{{"--port", "30x"}, "--port must be a number from 0 to 65535"},
                      BadArguments{{"--zoom", "0"}, "--zoom must be a number from 1 to 32"},
                      BadArguments{{"--dump"}, "--dump needs a value"},
                      BadArguments{{"--window"}, "Unknown option --window"},
                      BadArguments{{"extra"}, "Unexpected argument extra"}));

} // namespace
