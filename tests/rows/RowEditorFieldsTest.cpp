#include "rows/RowEditorFields.h"

#include "rows/ConfigurationRow.h"

#include <gtest/gtest.h>

namespace {

TEST(RowEditorFieldsTest, ExtractsTheSourceNameOfAPickedEntry) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"Temp|Temperatur ute", "Temp"},
        {"a|b", "a"},
        {"a|b|c", "a"},
        {"|begins with a bar", "|begins with a bar"},
        {"plain text", "plain text"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractSourceName(c.text), c.name) << c.text;
    }
}

TEST(RowEditorFieldsTest, ReadsTheDisplayTimeCappedAt60000) {
    const struct {
        const char* text;
        std::optional<std::uint32_t> timeout;
    } cases[] = {
        {"1500", 1500},        {"0", 0},
        {"60000", 60000},      {"70000", 60000},
        {"4294967297", 60000}, {"123456789012345678901234567890", 60000},
        {"", std::nullopt},    {"12a", std::nullopt},
        {"-5", std::nullopt},  {" 5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseTimeout(c.text), c.timeout) << c.text;
    }
}

TEST(RowEditorFieldsTest, ShowsARowAsTablePositionsAndWritesTheChosenCodesBack) {
    TConfigurationRow row("Hej", TCBFontSize_Small_Upper, TCBFontAlign_Center, TCBColor_Green,
                          TCBColor_Yellow, 2500);
    row.SetScrollspeed(16);
    TRowEditorFields fields = TRowEditorFields::Of(row);
    EXPECT_FALSE(fields.UsingParameter);
    EXPECT_EQ(fields.Text, "Hej");
    EXPECT_EQ(fields.Font, 3) << "area 0 is the fourth entry of the font table";
    EXPECT_EQ(fields.Align, 2);
    EXPECT_EQ(fields.BgColor, 2);
    EXPECT_EQ(fields.FgColor, 3);
    EXPECT_EQ(fields.Scrollspeed, 16);
    EXPECT_EQ(fields.Timeout, "2500");

    fields.UsingParameter = true;
    fields.Text = "Temp|Temperatur ute";
    fields.Font = 0;
    fields.Align = 1;
    fields.BgColor = 0;
    fields.FgColor = 1;
    fields.Scrollspeed = 7;
    fields.Timeout = "70000";
    fields.ApplyTo(row);
    EXPECT_TRUE(row.TextIsParameter);
    EXPECT_EQ(row.Text, "Temp");
    EXPECT_EQ(row.Size(), TCBFontSize_Large);
    EXPECT_EQ(row.Align(), TCBFontAlign_Right);
    EXPECT_EQ(row.BackgroundColor(), TCBColor_None);
    EXPECT_EQ(row.ForegroundColor(), TCBColor_Red);
    EXPECT_EQ(row.Scrollspeed(), 7);
    EXPECT_EQ(row.Timeout, 60000u);
}

TEST(RowEditorFieldsTest, ValuesOutsideTheTablesHaveNoPositionAndSurviveSaving) {
    TConfigurationRow row("Hej", 9, 5, 7, 4, 800);
    const TRowEditorFields fields = TRowEditorFields::Of(row);
    EXPECT_EQ(fields.Font, TRowEditorFields::NoSelection);
    EXPECT_EQ(fields.Align, TRowEditorFields::NoSelection);
    EXPECT_EQ(fields.BgColor, TRowEditorFields::NoSelection);
    EXPECT_EQ(fields.FgColor, TRowEditorFields::NoSelection);

    TRowEditorFields edited = fields;
    edited.Timeout = "";
    edited.ApplyTo(row);
    EXPECT_EQ(row.Size(), 9);
    EXPECT_EQ(row.Align(), 5);
    EXPECT_EQ(row.BackgroundColor(), 7);
    EXPECT_EQ(row.ForegroundColor(), 4);
    EXPECT_EQ(row.Timeout, 800u) << "an empty display time leaves the stored one";
}

} // namespace
