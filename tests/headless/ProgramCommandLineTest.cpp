// The programs' command lines as an operator meets them: the real binaries, their output and exit
// status.

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

struct CommandLineCase {
    const char* Name;
    const char* Program;
    std::vector<std::string> Arguments;
    int ExitStatus;
    std::string OutputStart;
};

class ProgramCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ProgramCommandLineTest, AnswersWithoutRunning) {
    if (GetParam().Program == nullptr) {
        GTEST_SKIP() << "the program is built only with the window";
    }
    std::vector<std::string> arguments{GetParam().Program};
    arguments.insert(arguments.end(), GetParam().Arguments.begin(), GetParam().Arguments.end());
    ChildProcess program(arguments);
    EXPECT_EQ(program.WaitForExit(10s), GetParam().ExitStatus) << program.Output();
    EXPECT_EQ(program.Output().substr(0, GetParam().OutputStart.size()), GetParam().OutputStart);
}

#ifdef VORLIX_CLIENT_PROGRAM
constexpr const char* ClientProgram = VORLIX_CLIENT_PROGRAM;
#else
constexpr const char* ClientProgram = nullptr;
#endif
#ifdef VORLIX_SIM_PROGRAM
constexpr const char* SimProgram = VORLIX_SIM_PROGRAM;
#else
constexpr const char* SimProgram = nullptr;
#endif
constexpr const char* HeadlessProgram = VORLIX_HEADLESS_PROGRAM;

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramCommandLineTest,
    ::testing::Values(
        CommandLineCase{
            "HeadlessHelp", HeadlessProgram, {"--help"}, 0, "Usage: vorlix-headless [OPTION]... DIR\n"},
        CommandLineCase{
            "HeadlessVersion", HeadlessProgram, {"--version"}, 0, "vorlix-headless " VORLIX_VERSION "\n"},
        CommandLineCase{"HeadlessUnknownOption",
                        HeadlessProgram,
                        {"dir", "--bogus"},
                        2,
                        "vorlix-headless: Unknown option --bogus\nUsage: vorlix-headless"},
        CommandLineCase{
            "HeadlessNoDirectory", HeadlessProgram, {}, 2, "vorlix-headless: DIR is missing\nUsage:"},
        CommandLineCase{"ClientHelp", ClientProgram, {"--help"}, 0, "Usage: vorlix-client [OPTION]...\n"},
        CommandLineCase{
            "ClientVersion", ClientProgram, {"--version"}, 0, "vorlix-client " VORLIX_VERSION "\n"},
        CommandLineCase{"ClientUnknownOption",
                        ClientProgram,
                        {"--bogus"},
                        2,
                        "vorlix-client: Unknown option --bogus\nUsage:"},
        CommandLineCase{"SimHelp", SimProgram, {"-h"}, 0, "Usage: vorlix-sim [OPTION]...\n"},
        CommandLineCase{"SimVersion", SimProgram, {"--version"}, 0, "vorlix-sim " VORLIX_VERSION "\n"},
        CommandLineCase{"SimWrongValue",
                        SimProgram,
                        {"--width", "96"},
                        2,
                        "vorlix-sim: --width must be 64 or 128\nUsage:"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
