// vorlix-headless --check on broken configuration directories: each problem on a line that names its
// file, status 1 if there is any; the directory is left as it was and no display is reached.

#include "support/ChildProcess.h"
#include "support/ConfigurationDir.h"
#include "support/LoopbackListener.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace {

using namespace std::chrono_literals;

// Every file of the directory with its bytes.
std::map<std::string, std::string> Contents(const TempDir& dir) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        contents[entry.path().filename().string()] = dir.Read(entry.path().filename().string());
    }
    return contents;
}

// A display "Hall" on a loopback listener with one row, and a static source.
void WriteGood(ConfigurationDir& config, const LoopbackListener& listener) {
    config.AddSource("Greeting", 1, 0, "Hej");
    config.AddDisplay("Hall", 4, "127.0.0.1:" + std::to_string(listener.Port()));
    config.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("[Greeting]"));
    config.WriteRows("Hall", rows);
}

struct CheckCase {
    const char* Name;
    // Breaks the good directory.
    std::function<void(ConfigurationDir&)> Break;
    // The lines expected, "DIR" standing for the directory.
    std::vector<std::string> Lines;
};

std::string Expanded(std::string line, const std::string& directory) {
    for (std::size_t at = line.find("DIR"); at != std::string::npos;
         at = line.find("DIR", at + directory.size())) {
        line.replace(at, 3, directory);
    }
    return line;
}

class HeadlessCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(HeadlessCheckTest, ListsEachProblemWithItsFile) {
    LoopbackListener listener;
    ConfigurationDir config;
    WriteGood(config, listener);
    GetParam().Break(config);
    const auto before = Contents(config.Dir());

    ChildProcess check({VORLIX_HEADLESS_PROGRAM, "--check", config.Path()});
    const std::optional<int> status = check.WaitForExit(15s);
    std::string expected;
    for (const std::string& line : GetParam().Lines) {
        expected += Expanded(line, config.Path()) + "\n";
    }
    EXPECT_EQ(check.Output(), expected);
    EXPECT_EQ(status, GetParam().Lines.empty() ? 0 : 1);
    EXPECT_EQ(Contents(config.Dir()), before);
    EXPECT_EQ(listener.ReceiveAtLeast(1, 100ms), "");
}

INSTANTIATE_TEST_SUITE_P(
    Directories, HeadlessCheckTest,
    ::testing::Values(
        CheckCase{"Good", [](ConfigurationDir&) {}, {}},
        CheckCase{
            "NoSourcesFile",
            [](ConfigurationDir& config) {
                std::filesystem::remove(config.Dir() / "local-datasources.json");
            },
            {"DIR/local-datasources.json: Cannot open file \"DIR/local-datasources.json\". No such file or "
             "directory"}},
        CheckCase{"BrokenDisplaysFile",
                  [](ConfigurationDir& config) { config.Dir().Write("local-displays.json", "{broken"); },
                  {"DIR/local-displays.json: The input value is not a valid Object"}},
        CheckCase{
            "NoRowsFile",
            [](ConfigurationDir& config) {
                std::filesystem::remove(config.Dir() / "Frame_Hall-definedrows.json");
            },
            {"DIR/Frame_Hall-definedrows.json: Error while reading configurationrows from file "
             "\"DIR/Frame_Hall-definedrows.json\": Cannot open file \"DIR/Frame_Hall-definedrows.json\". No "
             "such file or directory"}},
        CheckCase{"BadTcpSettings",
                  [](ConfigurationDir& config) {
                      config.AddDisplay("Door", 4, "10.0.0.1:80:1");
                      config.Write();
                      config.WriteRows("Door", {});
                  },
                  {"DIR/local-displays.json: Door: Configurationstring is not valid:10.0.0.1:80:1 should be: "
                   "[IPAdress]:[portnumber]"}},
        CheckCase{"BadSerialSettingsAndBrokenRows",
                  [](ConfigurationDir& config) {
                      config.AddDisplay("Side door", 3, "3x");
                      config.Write();
                      config.Dir().Write("Frame_Side_door-definedrows.json", "[1,");
                  },
                  {"DIR/local-displays.json: Side door: Could not parse 3x to a valid comportnumber",
                   "DIR/Frame_Side_door-definedrows.json: Error while reading configurationrows from file "
                   "\"DIR/Frame_Side_door-definedrows.json\": The input value is not a valid Object"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HeadlessCheckTest, ReportsADirectoryThatCannotBeOpened) {
    const TempDir dir;
    ChildProcess check({VORLIX_HEADLESS_PROGRAM, "--check", (dir / "nowhere").string()});
    EXPECT_EQ(check.WaitForExit(15s), 1);
    EXPECT_EQ(check.Output(),
              "Cannot open directory \"" + (dir / "nowhere").string() + "\". No such file or directory\n");
}

} // namespace
