#include "rows/DisplaySession.h"

#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "platform/VorlixError.h"
#include "rows/RowsFile.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <mutex>

namespace {

class DisplaySessionTest : public ::testing::Test {
protected:
    DisplaySessionTest() {
        TBaseObjectList<TVDataSource> sources;
        auto& source = sources.Add(std::make_unique<TVDataSource>());
        source.SetName("Greeting");
        source.SetDataSourceType(1);
        source.SetConfiguration("Hej");
        WriteListFile(DataSourcesFilePath(dir.Path().string()), sources);
        TBaseObjectList<TVDisplay> displays;
        for (const char* name : {"Entrance North Side", "Hall"}) {
            auto& display = displays.Add(std::make_unique<TVDisplay>());
            display.SetName(name);
            display.SetDisplayType(0);
            display.SetWidth(64);
        }
        WriteListFile(DisplaysFilePath(dir.Path().string()), displays);
        TRowSendCycle::TRows rows;
        rows.push_back(std::make_unique<TConfigurationRow>("Greeting", 2, 0, 0, 1, 1000));
        WriteRowsFile(RowsFilePath(dir.Path().string(), "Hall"), rows);
    }

    std::vector<std::string> Lines() {
        std::lock_guard lock(logLock);
        return log;
    }

    TempDir dir;
    TestClock clock;
    std::mutex logLock;
    std::vector<std::string> log;
    TDisplaySession session{dir.Path().string(),
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
        RowsFilePath(dir.Path().string(), "Entrance North Side").string() + "\": Cannot open file";
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
    EXPECT_EQ(Lines().back(), "Main :Saved data to directory \"" + dir.Path().string() + "\"");
    EXPECT_EQ(dir.Read("Frame_Entrance_North_Side-definedrows.json"), "null\r\n");
    EXPECT_EQ(ReadRowsFile(RowsFilePath(dir.Path().string(), "Hall")).size(), 1u);
}

TEST_F(DisplaySessionTest, AFaultyConfigurationStopsTheStart) {
    dir.Write("local-displays.json", "{broken");
    EXPECT_THROW(session.Start(), EVorlixError);
    EXPECT_TRUE(session.Cycles().empty());
}

TEST_F(DisplaySessionTest, AFailedSaveIsLogged) {
    session.Start();
    std::filesystem::remove_all(dir.Path());
    std::filesystem::create_directory(dir.Path());
    std::filesystem::create_directory(dir / "Frame_Hall-definedrows.json");
    EXPECT_FALSE(session.SaveAll());
    EXPECT_EQ(Lines().back().rfind("Main :Error while saving current model:", 0), 0u) << Lines().back();
}

} // namespace
