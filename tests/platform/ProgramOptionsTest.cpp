#include "platform/ProgramOptions.h"

#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// What a program with one operand, a switch and an option with a value was given.
struct TProbe {
    std::string File;
    bool Quiet = false;
    std::string Name;
};

TProgramOptions ProbeOptions(TProbe& probe) {
    return {"probe",
            "Probes FILE.",
            {{"FILE", SetText(probe.File)}},
            {{"--quiet", "", "Say nothing", SetFlag(probe.Quiet)},
             {"--name", "NAME", "Call it NAME\nand nothing else", [&probe](const std::string& value) {
                  if (value.empty()) {
                      throw EVorlixError("--name must not be empty");
                  }
                  probe.Name = value;
              }}}};
}

struct ParseCase {
    std::vector<std::string> Arguments;
    TProgramRequest Request;
    int ExitStatus;
    std::string Problem;
    // What the program runs with, for TProgramRequest::Run.
    std::string File;
    bool Quiet;
    std::string Name;
};

class ProgramOptionsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ProgramOptionsTest, ReadsTheArguments) {
    const ParseCase& expected = GetParam();
    TProbe probe;
    const TParsedArguments parsed = ParseProgramArguments(ProbeOptions(probe), expected.Arguments);
    EXPECT_EQ(parsed.Request, expected.Request);
    EXPECT_EQ(ExitStatus(parsed.Request), expected.ExitStatus);
    EXPECT_EQ(parsed.Problem, expected.Problem);
    if (expected.Request == TProgramRequest::Run) {
        EXPECT_EQ(probe.File, expected.File);
        EXPECT_EQ(probe.Quiet, expected.Quiet);
        EXPECT_EQ(probe.Name, expected.Name);
    }
}

constexpr auto Run = TProgramRequest::Run;
constexpr auto Help = TProgramRequest::Help;
constexpr auto Version = TProgramRequest::Version;
constexpr auto Wrong = TProgramRequest::Wrong;

INSTANTIATE_TEST_SUITE_P(
    Arguments, ProgramOptionsTest,
    ::testing::Values(ParseCase{{"a.txt"}, Run, 0, "", "a.txt", false, ""},
                      ParseCase{{"--quiet", "a.txt", "--name", "x"}, Run, 0, "", "a.txt", true, "x"},
                      ParseCase{{"a.txt", "--quiet"}, Run, 0, "", "a.txt", true, ""},
                      ParseCase{{"--name=x=y", "a.txt"}, Run, 0, "", "a.txt", false, "x=y"},
                      ParseCase{{"--name", "--quiet", "a.txt"}, Run, 0, "", "a.txt", false, "--quiet"},
                      ParseCase{{"--", "--quiet"}, Run, 0, "", "--quiet", false, ""},
                      ParseCase{{"-"}, Run, 0, "", "-", false, ""},
                      ParseCase{{"--help"}, Help, 0, "", "", false, ""},
                      ParseCase{{"-h", "--bogus"}, Help, 0, "", "", false, ""},
                      ParseCase{{"a.txt", "--version"}, Version, 0, "", "", false, ""},
                      ParseCase{{"--bogus", "a.txt"}, Wrong, 2, "Unknown option --bogus", "", false, ""},
                      ParseCase{{"-q", "a.txt"}, Wrong, 2, "Unknown option -q", "", false, ""},
                      ParseCase{{"a.txt", "--help=x"}, Help, 0, "", "", false, ""},
                      ParseCase{{"a.txt", "--quiet=yes"}, Wrong, 2, "--quiet takes no value", "", false, ""},
                      ParseCase{{"a.txt", "--name"}, Wrong, 2, "--name needs a value", "", false, ""},
                      ParseCase{{"a.txt", "--name="}, Wrong, 2, "--name must not be empty", "", false, ""},
                      ParseCase{{}, Wrong, 2, "FILE is missing", "", false, ""},
                      ParseCase{{"--quiet"}, Wrong, 2, "FILE is missing", "", false, ""},
                      ParseCase{{"a.txt", "b.txt"}, Wrong, 2, "Unexpected argument b.txt", "", false, ""}));

TEST(ProgramUsageTest, ListsTheOperandsAndEveryOptionInColumns) {
    TProbe probe;
    EXPECT_EQ(ProgramUsage(ProbeOptions(probe)), "Usage: probe [OPTION]... FILE\n"
                                                 "Probes FILE.\n"
                                                 "\n"
                                                 "Options:\n"
                                                 "  --quiet      Say nothing\n"
                                                 "  --name NAME  Call it NAME\n"
                                                 "               and nothing else\n"
                                                 "  -h, --help   Show this help and exit\n"
                                                 "  --version    Show the version and exit\n");
    EXPECT_EQ(ProgramVersion(ProbeOptions(probe)), "probe " VORLIX_VERSION "\n");
}

struct AnswerCase {
    std::vector<const char*> Arguments;
    std::optional<int> Status;
    bool UsageOnOut;
    bool VersionOnOut;
    bool ProblemAndUsageOnError;
};

class ProgramAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ProgramAnswerTest, WritesTheAnswerToItsStream) {
    TProbe probe;
    const TProgramOptions options = ProbeOptions(probe);
    std::vector<const char*> argv{"probe"};
    argv.insert(argv.end(), GetParam().Arguments.begin(), GetParam().Arguments.end());
    std::ostringstream out;
    std::ostringstream error;
    EXPECT_EQ(AnswerProgramArguments(options, static_cast<int>(argv.size()), argv.data(), out, error),
              GetParam().Status);
    EXPECT_EQ(out.str(), GetParam().UsageOnOut     ? ProgramUsage(options)
                         : GetParam().VersionOnOut ? ProgramVersion(options)
                                                   : "");
    EXPECT_EQ(error.str(), GetParam().ProblemAndUsageOnError
                               ? "probe: Unknown option --bogus\n" + ProgramUsage(options)
                               : "");
}

INSTANTIATE_TEST_SUITE_P(Arguments, ProgramAnswerTest,
                         ::testing::Values(AnswerCase{{"a.txt"}, std::nullopt, false, false, false},
                                           AnswerCase{{"--help"}, 0, true, false, false},
                                           AnswerCase{{"--version"}, 0, false, true, false},
                                           AnswerCase{{"--bogus"}, 2, false, false, true}));

} // namespace
