#include "rows/DisplaySession.h"

#include "platform/VorlixError.h"
#include "rows/RowsFile.h"
#include "support/ConfigurationDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <mutex>

namespace {

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

TEST_F(DisplaySessionTest, AFaultyConfigurationStopsTheStart) {
    config.Dir().Write("local-displays.json", "{broken");
    EXPECT_THROW(session.Start(), EVorlixError);
    EXPECT_TRUE(session.Cycles().empty());
}

TEST_F(DisplaySessionTest, AFailedSaveIsLogged) {
    session.Start();
    std::filesystem::remove_all(config.Dir().Path());
    std::filesystem::create_directory(config.Dir().Path());
    std::filesystem::create_directory(config.Dir() / "Frame_Hall-definedrows.json");
    EXPECT_FALSE(session.SaveAll());
    EXPECT_EQ(Lines().back().rfind("Main :Error while saving current model:", 0), 0u) << Lines().back();
}

} // namespace
