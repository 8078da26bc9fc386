// vorlix-headless as a systemd service: its notifications, and its log lines with and without
// journald (under journald, JOURNAL_STREAM set, each line starts with its syslog priority).

#include "support/ChildProcess.h"
#include "support/ConfigurationDir.h"
#include "support/NotifySocket.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sstream>

namespace {

using namespace std::chrono_literals;

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A debug display that logs what it is sent, and a TCP display whose settings are wrong.
std::string RunAndStop(const ConfigurationDir& config) {
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path()});
    EXPECT_TRUE(headless.WaitForOutput("Debug :(200)", 15s)) << headless.Output();
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(5s), 0);
    return headless.Output();
}

class HeadlessServiceTest : public ::testing::Test {
protected:
    // The tests may themselves run under systemd.
    HeadlessServiceTest() : FSaved(std::getenv("JOURNAL_STREAM") ? std::getenv("JOURNAL_STREAM") : "") {
        unsetenv("JOURNAL_STREAM");
        config.AddDisplay("Debug", 0);
        config.AddDisplay("Door", 4, "127.0.0.1:1:2");
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Hej", 200));
        config.WriteRows("Debug", rows);
        config.WriteRows("Door", {});
    }
    ~HeadlessServiceTest() override {
        if (FSaved.empty()) {
            unsetenv("JOURNAL_STREAM");
        } else {
            setenv("JOURNAL_STREAM", FSaved.c_str(), 1);
        }
    }

    const std::string FSaved;
    ConfigurationDir config;
};

TEST_F(HeadlessServiceTest, UnderJournaldEveryLineCarriesItsPriority) {
    setenv("JOURNAL_STREAM", "8:4242", 1);
    const std::vector<std::string> lines = Lines(RunAndStop(config));
    ASSERT_FALSE(lines.empty());
    bool error = false;
    bool info = false;
    for (const std::string& line : lines) {
        const std::string priority = line.substr(0, 3);
        EXPECT_TRUE(priority == "<3>" || priority == "<4>" || priority == "<6>" || priority == "<7>") << line;
        EXPECT_EQ(priority == "<3>", line.find(" : ERROR: ") != std::string::npos) << line;
        error = error ||
                line.rfind("<3>TDisplayClientVorlixTCPIP : ERROR: Configurationstring is not valid", 0) == 0;
        info = info || line.rfind("<6>Debug :(200)", 0) == 0;
    }
    EXPECT_TRUE(error);
    EXPECT_TRUE(info);
}

TEST_F(HeadlessServiceTest, ElsewhereLinesAreUnchanged) {
    const std::vector<std::string> lines = Lines(RunAndStop(config));
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
        EXPECT_NE(line.front(), '<') << line;
    }
}

TEST_F(HeadlessServiceTest, TellsSystemdItIsReadyAliveAndStopping) {
    NotifySocket systemd(200ms);
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path()});
    EXPECT_EQ(systemd.Receive(), "READY=1") << headless.Output();
    for (int ping = 0; ping < 3; ++ping) {
        EXPECT_EQ(systemd.Receive(), "WATCHDOG=1") << headless.Output();
    }
    headless.Signal(SIGTERM);
    std::optional<std::string> last;
    for (std::optional<std::string> received; (received = systemd.Receive(2s));) {
        last = received;
    }
    EXPECT_EQ(last, "STOPPING=1");
    EXPECT_EQ(headless.WaitForExit(5s), 0) << headless.Output();
}

} // namespace
