#include "app/HeadlessOptions.h"

#include <gtest/gtest.h>

namespace {

struct HeadlessCase {
    std::vector<std::string> Arguments;
    int ExitStatus;
    // The directory it runs, or what is wrong.
    std::string DirectoryOrProblem;
    bool Check = false;
};

class HeadlessOptionsTest : public ::testing::TestWithParam<HeadlessCase> {};

TEST_P(HeadlessOptionsTest, ReadsTheCommandLine) {
    THeadlessOptions options;
    const TParsedArguments parsed =
        ParseProgramArguments(HeadlessProgramOptions(options), GetParam().Arguments);
    EXPECT_EQ(ExitStatus(parsed.Request), GetParam().ExitStatus);
    EXPECT_EQ(parsed.Request == TProgramRequest::Wrong ? parsed.Problem : options.Directory,
              GetParam().DirectoryOrProblem);
    EXPECT_EQ(options.Check, GetParam().Check);
}

INSTANTIATE_TEST_SUITE_P(Arguments, HeadlessOptionsTest,
                         ::testing::Values(HeadlessCase{{"/srv/entre"}, 0, "/srv/entre"},
                                           HeadlessCase{{"--", "-dir"}, 0, "-dir"},
                                           HeadlessCase{{"--check", "/srv/entre"}, 0, "/srv/entre", true},
                                           HeadlessCase{{"/srv/entre", "--check"}, 0, "/srv/entre", true},
                                           HeadlessCase{{"--check"}, 2, "DIR is missing", true},
                                           HeadlessCase{{}, 2, "DIR is missing"},
                                           HeadlessCase{{"a", "b"}, 2, "Unexpected argument b"},
                                           HeadlessCase{{"a", "--verbose"}, 2, "Unknown option --verbose"}));

} // namespace
