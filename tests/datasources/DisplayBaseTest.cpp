#include "datasources/DisplayBase.h"

#include "config/VDisplay.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayBase, CopiesTheDisplayRecord) {
    TVDisplay record;
    record.SetName("Hall");
    record.SetDisplayType(DisplayType_Vorlix3Ip);
    record.SetDisplaySettings("10.0.0.5:3027");
    record.SetConfigurationString("-sc1|-f0");
    const TDisplayBase display(record);
    EXPECT_EQ(display.Name, "Hall");
    EXPECT_EQ(display.DisplayType, DisplayType_Vorlix3Ip);
    EXPECT_EQ(display.DisplaySettings, "10.0.0.5:3027");
    EXPECT_EQ(display.ConfigurationString, "-sc1|-f0");
}

TEST(DisplayBase, TakesLooseValuesInItsOwnOrder) {
    const TDisplayBase display("Gate", "-sc1", "COM3", DisplayType_Vorlix3Com);
    EXPECT_EQ(display.Name, "Gate");
    EXPECT_EQ(display.ConfigurationString, "-sc1");
    EXPECT_EQ(display.DisplaySettings, "COM3");
    EXPECT_EQ(display.DisplayType, DisplayType_Vorlix3Com);
}

TEST(DisplayType, NamesEveryCode) {
    const struct {
        TDisplayType type;
        std::string name;
    } cases[] = {
        {DisplayType_Debug, "DisplayType_Debug"},         {DisplayType_Vorlix2Com, "DisplayType_Vorlix2Com"},
        {DisplayType_Vorlix2Ip, "DisplayType_Vorlix2Ip"}, {DisplayType_Vorlix3Com, "DisplayType_Vorlix3Com"},
        {DisplayType_Vorlix3Ip, "DisplayType_Vorlix3Ip"}, {static_cast<TDisplayType>(9), "9"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayTypeName(c.type), c.name);
    }
}

} // namespace
