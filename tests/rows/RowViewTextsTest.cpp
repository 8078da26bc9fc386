#include "rows/RowViewTexts.h"

#include "rows/ConfigurationRow.h"
#include "rows/SettingLookup.h"

#include <gtest/gtest.h>

namespace {

TEST(RowViewTextsTest, ShowsEveryColumnAsItsLabel) {
    TConfigurationRow row("Hej", TCBFontSize_Small_Upper, TCBFontAlign_Center, TCBColor_Yellow, TCBColor_Red,
                          1500);
    row.SetScrollspeed(7);
    const TRowViewTexts texts = TRowViewTexts::Of(row, {});
    EXPECT_EQ(texts.Text, "Hej");
    EXPECT_EQ(texts.Font, "Liten, Övre Vorlix yta");
    EXPECT_EQ(texts.Align, "Center");
    EXPECT_EQ(texts.FgColor, "Röd");
    EXPECT_EQ(texts.BgColor, "Gul");
    EXPECT_EQ(texts.Scroll, "Hast.7");
    EXPECT_EQ(texts.Timeout, "1500");
}

TEST(RowViewTextsTest, AParameterRowShowsItsValueOnlyWhenAQueryIsSet) {
    TConfigurationRow row("Temp", TCBFontSize_Large, 0, 0, 1, 1000);
    row.TextIsParameter = true;
    EXPECT_EQ(TRowViewTexts::Of(row, {}).Text, "Temp");
    const TFrameDatasourceQuery query = [](const std::string& name) {
        return name == "Temp" ? "21\r\n" : "?";
    };
    EXPECT_EQ(TRowViewTexts::Of(row, query).Text, "Temp(21\r\n)");
    row.TextIsParameter = false;
    EXPECT_EQ(TRowViewTexts::Of(row, query).Text, "Temp");
}

TEST(RowViewTextsTest, ACodeOutsideItsTableShowsAsItsNumber) {
    const TConfigurationRow row("Hej", 9, 3, 4, 200, 0);
    const TRowViewTexts texts = TRowViewTexts::Of(row, {});
    EXPECT_EQ(texts.Font, "9");
    EXPECT_EQ(texts.Align, "3");
    EXPECT_EQ(texts.BgColor, "4");
    EXPECT_EQ(texts.FgColor, "200");
    EXPECT_EQ(SettingPosition(0, ConfigurationTexts().FontSize), 3u);
    EXPECT_EQ(SettingPosition(9, ConfigurationTexts().FontSize), std::nullopt);
}

} // namespace
