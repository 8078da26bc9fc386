#include "model/DisplaySettingsChange.h"

#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "model/LocalViewModel.h"
#include "support/LoopbackListener.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class DisplaySettingsChangeTest : public ::testing::Test {
protected:
    DisplaySettingsChangeTest() {
        TBaseObjectList<TVDisplay> displays;
        AddDisplay(displays, "Debug", DisplayType_Debug, "");
        AddDisplay(displays, "Door", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(display.Port()));
        WriteListFile(DisplaysFilePath(dir.Path().string()), displays);
        WriteListFile(DataSourcesFilePath(dir.Path().string()), TBaseObjectList<TVDataSource>());
        model.LoadFromDictionary(dir.Path().string());
    }

    static void AddDisplay(TBaseObjectList<TVDisplay>& displays, const std::string& name, TDisplayType type,
                           const std::string& settings) {
        auto& display = displays.Add(std::make_unique<TVDisplay>());
        display.SetName(name);
        display.SetDisplayType(type);
        display.SetWidth(64);
        display.SetBrightness(50);
        display.SetDisplaySettings(settings);
    }

    LoopbackListener display;
    TempDir dir;
    TLocalViewModel model;
};

TEST_F(DisplaySettingsChangeTest, EditableOnlyWhilePausedWithAnIdleClient) {
    TDisplayClientBase* door = model.GetDisplayClientFromCache("Door");
    EXPECT_TRUE(DisplaySettingsEditable(true, door));
    EXPECT_FALSE(DisplaySettingsEditable(false, door));
    EXPECT_FALSE(DisplaySettingsEditable(true, nullptr));
    EXPECT_FALSE(DisplaySettingsEditable(true, model.GetDisplayClientFromCache("Debug")))
        << "a debug client always runs";
    door->ThreadStart();
    EXPECT_FALSE(DisplaySettingsEditable(true, door));
    door->ThreadSuspend();
}

TEST_F(DisplaySettingsChangeTest, ClientAndRecordTakeTheNewSettings) {
    ASSERT_TRUE(ApplyDisplaySettings(model, "Door", "127.0.0.1:4000", 128, 80));
    EXPECT_EQ(model.GetDisplayClientFromCache("Door")->BaseConfiguration(), "127.0.0.1:4000");
    const TVDisplay& door = *model.GetDisplay("Door");
    EXPECT_EQ(door.DisplaySettings(), "127.0.0.1:4000");
    EXPECT_EQ(door.Width(), 128);
    EXPECT_EQ(door.Brightness(), 80);

    ASSERT_TRUE(ApplyDisplaySettings(model, "Door", "127.0.0.1:4001", std::nullopt, std::nullopt));
    EXPECT_EQ(door.Width(), 128) << "no size chosen keeps the width";
    EXPECT_EQ(door.Brightness(), 80);
}

TEST_F(DisplaySettingsChangeTest, ADisplayWithoutClientChangesNothing) {
    EXPECT_FALSE(ApplyDisplaySettings(model, "Nowhere", "x", 128, 10));
    EXPECT_EQ(model.GetDisplay("Door")->Width(), 64);
}

} // namespace
