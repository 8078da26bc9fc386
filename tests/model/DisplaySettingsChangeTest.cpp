#include "model/DisplaySettingsChange.h"

#include "model/LocalViewModel.h"
#include "support/ConfigurationDir.h"
#include "support/LoopbackListener.h"

#include <gtest/gtest.h>

namespace {

class DisplaySettingsChangeTest : public ::testing::Test {
protected:
    DisplaySettingsChangeTest() {
        config.AddDisplay("Debug", DisplayType_Debug);
        config.AddDisplay("Door", DisplayType_Vorlix3Ip, "127.0.0.1:" + std::to_string(display.Port()));
        config.Write();
        model.LoadFromDictionary(config.Path());
    }

    LoopbackListener display;
    ConfigurationDir config;
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
