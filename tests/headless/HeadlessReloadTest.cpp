// vorlix-headless reloading its configuration directory on SIGHUP, against displays on loopback
// ports that count their connections.

#include "clients/LoopbackDisplay.h"
#include "support/ChildProcess.h"
#include "support/ConfigurationDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

using namespace std::chrono_literals;
using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

bool Shows(const TLoopbackDisplay& display, std::size_t connection, const std::string& text) {
    return WaitUntil([&] { return display.Received(connection).find(text) != std::string::npos; });
}

void WriteRow(const ConfigurationDir& config, const std::string& displayName, const std::string& text) {
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow(text, 300));
    config.WriteRows(displayName, rows);
}

// Writes the files of `next` over those of `config`, as an operator editing the directory would.
void Replace(const ConfigurationDir& config, const ConfigurationDir& next) {
    for (const auto& entry : std::filesystem::directory_iterator(next.Dir().Path())) {
        std::filesystem::copy_file(entry.path(), config.Dir() / entry.path().filename().string(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

std::string Reloaded(const ConfigurationDir& config) {
    return "Reloaded configuration from \"" + config.Path() + "\"";
}

TEST(HeadlessReloadTest, KeepsUnchangedDisplaysConnectedAndFollowsTheFiles) {
    TLoopbackDisplay kept("VX 2.0");
    TLoopbackDisplay changed("VX 2.0");
    TLoopbackDisplay removed("VX 2.0");
    TLoopbackDisplay moved("VX 2.0");
    ConfigurationDir config;
    config.AddDisplay("Kept", 4, kept.Address());
    config.AddDisplay("Changed", 4, changed.Address());
    config.AddDisplay("Removed", 4, removed.Address());
    config.Write();
    for (const char* name : {"Kept", "Changed", "Removed"}) {
        WriteRow(config, name, "Before");
    }
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path()});
    for (const TLoopbackDisplay* display : {&kept, &changed, &removed}) {
        ASSERT_TRUE(Shows(*display, 0, "Before")) << headless.Output();
    }

    ConfigurationDir next;
    next.AddDisplay("Changed", 4, moved.Address());
    next.AddDisplay("Kept", 4, kept.Address());
    next.Write();
    WriteRow(next, "Kept", "After");
    WriteRow(next, "Changed", "After");
    Replace(config, next);
    headless.Signal(SIGHUP);
    ASSERT_TRUE(headless.WaitForOutput(Reloaded(config), 10s)) << headless.Output();

    EXPECT_TRUE(Shows(kept, 0, "After")) << headless.Output();
    EXPECT_TRUE(Shows(moved, 0, "After")) << headless.Output();
    EXPECT_TRUE(changed.WaitClosedByClient(0));
    EXPECT_TRUE(removed.WaitClosedByClient(0));
    EXPECT_EQ(kept.Connections(), 1u);
    EXPECT_EQ(Occurrences(kept.Received(0), "-dac"), 1u) << "greeted once: " << kept.Received(0);
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(5s), 0) << headless.Output();
}

TEST(HeadlessReloadTest, ADirectoryThatDoesNotLoadKeepsTheOldConfigurationRunning) {
    TLoopbackDisplay display("VX 2.0");
    ConfigurationDir config;
    config.AddDisplay("Hall", 4, display.Address());
    config.Write();
    WriteRow(config, "Hall", "Before");
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path()});
    ASSERT_TRUE(Shows(display, 0, "Before")) << headless.Output();

    WriteRow(config, "Hall", "After");
    config.Dir().Write("local-displays.json", "{broken");
    headless.Signal(SIGHUP);
    ASSERT_TRUE(headless.WaitForOutput("not reloaded", 10s)) << headless.Output();
    EXPECT_NE(headless.Output().find("Main : ERROR: " + config.Path() +
                                     "/local-displays.json: The input value is not a valid Object"),
              std::string::npos)
        << headless.Output();

    const std::size_t received = display.Received(0).size();
    EXPECT_TRUE(WaitUntil([&] { return Occurrences(display.Received(0).substr(received), "Before") >= 2; }))
        << "the old rows go on";
    EXPECT_EQ(display.Received(0).find("After"), std::string::npos);
    EXPECT_EQ(display.Connections(), 1u);
    EXPECT_EQ(headless.Output().find(Reloaded(config)), std::string::npos);
    headless.Signal(SIGTERM);
    EXPECT_EQ(headless.WaitForExit(5s), 0) << headless.Output();
}

} // namespace
