#include "rows/DisplaySession.h"

#include "platform/VorlixError.h"
#include "rows/RowsFile.h"
#include "support/ConfigurationDir.h"
#include "support/LoopbackListener.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

namespace {

namespace fs = std::filesystem;

class DisplaySessionTest : public ::testing::Test {
protected:
    DisplaySessionTest() {
        config.AddSource("Greeting", DisplayDataSourceType_Static, 0, "Hej");
        config.AddDisplay("Entrance North Side", DisplayType_Debug);
        config.AddDisplay("Hall", DisplayType_Debug);
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Greeting"));
        config.WriteRows("Hall", rows);
    }

    std::vector<std::string> Lines() {
        std::lock_guard lock(logLock);
        return log;
    }

    ConfigurationDir config;
    TestClock clock;
    std::mutex logLock;
    std::vector<std::string> log;
    TDisplaySession session{config.Path(),
                            [this](const std::string& source, const std::string& msg) {
                                std::lock_guard lock(logLock);
                                log.push_back(source + " :" + msg);
                            },
                            clock};
};

TEST_F(DisplaySessionTest, StartsEveryDisplayWithItsRowsAndSavesEverything) {
    session.Start();
    ASSERT_EQ(session.Cycles().size(), 2u);
    EXPECT_EQ(session.Cycle("Hall")->Rows().size(), 1u);
    EXPECT_TRUE(session.Cycle("Hall")->Paused());
    EXPECT_TRUE(session.Cycle("Entrance North Side")->Rows().empty());
    const auto lines = Lines();
    const std::string missingRows =
        "Entrance North Side :Error while reading configurationrows from file \"" +
        RowsFilePath(config.Path(), "Entrance North Side").string() + "\": Cannot open file";
    EXPECT_TRUE(
        std::ranges::any_of(lines, [&](const std::string& line) { return line.rfind(missingRows, 0) == 0; }));
    for (TDisplayClientBase* client : session.Model().GetDisplays()) {
        EXPECT_EQ(client->ClientMode(), TDisplayClientBase::ClientMode_PushConfigstrings);
    }
    EXPECT_EQ(session.Model().DataSourceRecords()[0].Value(), "Hej") << "the first pass ran";

    session.SetPaused(false);
    session.SendTick();
    EXPECT_FALSE(session.Cycle("Hall")->Paused());

    ASSERT_TRUE(session.SaveAll());
    EXPECT_EQ(Lines().back(), "Main :Saved data to directory \"" + config.Path() + "\"");
    EXPECT_EQ(config.Dir().Read("Frame_Entrance_North_Side-definedrows.json"), "null\r\n");
    EXPECT_EQ(ReadRowsFile(RowsFilePath(config.Path(), "Hall")).size(), 1u);
}

// Connected before it starts, a session greets each display while it loads the rest, and only in
// push mode; otherwise it leaves the displays alone until it is connected.
TEST_F(DisplaySessionTest, ASessionConnectedBeforeItStartsConnectsEachClientInPushMode) {
    for (const bool connectedFirst : {true, false}) {
        LoopbackListener display;
        ConfigurationDir tcp;
        tcp.AddDisplay("Door", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(display.Port()));
        tcp.Write();
        TDisplaySession connecting(tcp.Path(), {}, clock);
        connecting.SetConnected(connectedFirst);
        connecting.Start();
        TDisplayClientBase* client = connecting.Model().GetDisplays().at(0);
        EXPECT_EQ(client->IsRunning(), connectedFirst);
        EXPECT_EQ(client->ClientMode(), TDisplayClientBase::ClientMode_PushConfigstrings);
        EXPECT_EQ(display.ReceiveAtLeast(10, connectedFirst ? std::chrono::seconds(10)
                                                            : std::chrono::milliseconds(200)),
                  connectedFirst ? "-dac\r\n-v\r\n" : "");
    }
}

TEST_F(DisplaySessionTest, AFaultyConfigurationStopsTheStart) {
    config.Dir().Write("local-displays.json", "{broken");
    EXPECT_THROW(session.Start(), EVorlixError);
    EXPECT_TRUE(session.Cycles().empty());
}

TEST_F(DisplaySessionTest, AFailedSaveIsLoggedAndChangesNoFile) {
    session.Start();
    session.Cycle("Hall")->ReplaceRows({});
    fs::remove(config.Dir() / "Frame_Hall-definedrows.json");
    fs::create_directory(config.Dir() / "Frame_Hall-definedrows.json");
    const auto before = config.Dir().Contents();
    ASSERT_EQ(before.count("Frame_Entrance_North_Side-definedrows.json"), 0u);

    EXPECT_FALSE(session.SaveAll());
    EXPECT_EQ(Lines().back(), "Main :Error while saving current model:Cannot write file \"" +
                                  RowsFilePath(config.Path(), "Hall").string() + "\". Is a directory");
    EXPECT_EQ(config.Dir().Contents(), before)
        << "the data sources, displays and the first rows file stay old, "
           "and no temporary file is left";
}

TEST_F(DisplaySessionTest, ASaveKeepsASymbolicallyLinkedConfigurationFile) {
    session.Start();
    fs::create_directory(config.Dir() / "shared");
    fs::rename(config.Dir() / "local-datasources.json", config.Dir() / "shared" / "sources.json");
    fs::create_symlink("shared/sources.json", config.Dir() / "local-datasources.json");

    ASSERT_TRUE(session.SaveAll());
    EXPECT_TRUE(fs::is_symlink(config.Dir() / "local-datasources.json"));
    EXPECT_EQ(session.Model().DataSourceRecords()[0].Value(), "Hej");
    TLocalViewModel reloaded;
    reloaded.LoadFromDictionary(config.Path());
    EXPECT_EQ(reloaded.DataSourceRecords()[0].Value(), "Hej") << "the link's target holds the save";
}

} // namespace
