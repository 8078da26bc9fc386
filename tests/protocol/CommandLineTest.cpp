#include "protocol/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
    const char* Line;
    std::vector<TCommandToken> Tokens;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, SplitsIntoOptions) {
    EXPECT_EQ(SplitCommandLine(GetParam().Line), GetParam().Tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(CommandLineCase{"-sc1 -sg0,0,64,8 -f0 -cb0 -cf1 -sad2 -nss0 -t\"Hej\"  ",
                                      {{"sc", "1"},
                                       {"sg", "0,0,64,8"},
                                       {"f", "0"},
                                       {"cb", "0"},
                                       {"cf", "1"},
                                       {"sad", "2"},
                                       {"nss", "0"},
                                       {"t", "Hej"}}},
                      CommandLineCase{"-dac -i100 -v", {{"dac", ""}, {"i", "100"}, {"v", ""}}},
                      // A row whose area line starts with a blank.
                      CommandLineCase{" -sc4 -dc", {{"sc", "4"}, {"dc", ""}}},
                      CommandLineCase{"-t\"a b  c\" -cf2", {{"t", "a b  c"}, {"cf", "2"}}},
                      CommandLineCase{"-t\"say \"hi\" now\"", {{"t", "say \"hi\" now"}}},
                      CommandLineCase{"-t\"no end -cf2", {{"t", "no end -cf2"}}},
                      CommandLineCase{"-t\"\"", {{"t", ""}}},
                      CommandLineCase{"-tHej -cf3", {{"t", "Hej"}, {"cf", "3"}}},
                      CommandLineCase{"junk -cf3 - -- x-y", {{"cf", "3"}}},
                      CommandLineCase{"-CF3 -cf", {{"cf", ""}}}, CommandLineCase{"", {}}));

} // namespace
