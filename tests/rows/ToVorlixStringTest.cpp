#include "rows/ConfigurationRow.h"

#include <gtest/gtest.h>

namespace {

TConfigurationRow Row(std::uint8_t size, std::string text = "Hej") {
    return TConfigurationRow(std::move(text), size, TCBFontAlign_Center, TCBColor_None, TCBColor_Red, 1000);
}

std::string Command(const TConfigurationRow& row, std::uint16_t width, TCBFontSizes& areas) {
    return row.ToVorlixString(width, areas);
}

TEST(ToVorlixString, WorkedExample) {
    TCBFontSizes areas;
    areas.Include(2);
    EXPECT_EQ(Command(Row(0), 64, areas), "-sc0 -dc| -sc1 -sg0,0,64,8 -f0 -cb0 -cf1 -sad2 -nss0 -t\"Hej\"  ");
    TCBFontSizes expected;
    expected.Include(0);
    EXPECT_EQ(areas, expected);
}

TEST(ToVorlixString, GeometryOfEveryAreaOnBothWidths) {
    const struct {
        std::uint8_t size;
        std::uint16_t width;
        const char* geometry;
    } cases[] = {
        {0, 64, "-sc1 -sg0,0,64,8 -f0"},    {0, 128, "-sc1 -sg0,0,128,8 -f0"},
        {1, 64, " -sc4 -sg0,8,64,16 -f0"},  {1, 128, " -sc4 -sg0,8,128,16 -f0"},
        {2, 64, "-sc0 -sg0,0,64,16 -f1"},   {2, 128, "-sc0 -sg0,0,128,16 -f1"},
        {3, 64, "-sc2 -sg36,0,64,16 -f1"},  {3, 128, "-sc2 -sg100,0,128,16 -f1"},
        {4, 64, "-sc1 -sg0,0,36,16 -f1"},   {4, 128, "-sc1 -sg0,0,72,16 -f1"},
        {5, 64, "-sc1 -sg0,0,36,8 -f0"},    {5, 128, "-sc1 -sg0,0,100,8 -f0"},
        {6, 64, " -sc4 -sg0,8,36,16 -f0"},  {6, 128, " -sc4 -sg0,8,100,16 -f0"},
        {7, 64, "-sc2 -sg36,0,28,8 -f0"},   {7, 128, "-sc2 -sg72,0,56,8 -f0"},
        {8, 64, " -sc3 -sg36,8,28,16 -f0"}, {8, 128, " -sc3 -sg72,8,56,16 -f0"},
    };
    for (const auto& c : cases) {
        TCBFontSizes areas;
        EXPECT_EQ(Command(Row(c.size), c.width, areas),
                  std::string(c.geometry) + " -cb0 -cf1 -sad2 -nss0 -t\"Hej\"  ")
            << "size " << int(c.size) << " width " << c.width;
        EXPECT_TRUE(areas.Contains(c.size));
    }
}

// Every area that was showing before a row of each size, in the order the clearing goes out.
TEST(ToVorlixString, ClearsOverlappedAreasInCheckOrder) {
    const struct {
        std::uint8_t size;
        const char* clearing;
    } cases[] = {
        {0, "-sc2 -dc| -sc1 -dc| -sc2 -dc| -sc1 -dc| -sc0 -dc| "},
        {1, "-sc3 -dc| -sc4 -dc| -sc2 -dc| -sc1 -dc| -sc0 -dc| "},
        {2, "-sc1 -dc| -sc4 -dc| -sc2 -dc| -sc1 -dc| -sc3 -dc| -sc4 -dc| -sc2 -dc| -sc1 -dc| "},
        {3, "-sc1 -dc| -sc4 -dc| -sc2 -dc| -sc3 -dc| -sc0 -dc| "},
        {4, "-sc1 -dc| -sc4 -dc| -sc1 -dc| -sc4 -dc| -sc0 -dc| "},
        {5, "-sc1 -dc| -sc1 -dc| -sc0 -dc| "},
        {6, "-sc4 -dc| -sc1 -dc| -sc0 -dc| "},
        {7, "-sc1 -dc| -sc2 -dc| -sc0 -dc| "},
        {8, "-sc4 -dc| -sc2 -dc| -sc0 -dc| "},
    };
    for (const auto& c : cases) {
        TCBFontSizes areas;
        for (std::uint8_t a = 0; a <= 8; ++a) {
            areas.Include(a);
        }
        const std::string command = Command(Row(c.size), 64, areas);
        EXPECT_EQ(command.substr(0, std::string(c.clearing).size()), c.clearing) << "size " << int(c.size);
        EXPECT_TRUE(areas.Contains(c.size)) << "an area never clears itself";
    }
}

TEST(ToVorlixString, ClearingSetsFollowTheRow) {
    TCBFontSizes areas;
    areas.Include(0);
    areas.Include(7);
    EXPECT_EQ(Command(Row(2), 64, areas).substr(0, 20), "-sc1 -dc| -sc2 -dc| ");
    TCBFontSizes onlyLarge;
    onlyLarge.Include(2);
    EXPECT_EQ(areas, onlyLarge);

    EXPECT_EQ(Command(Row(2), 64, areas).substr(0, 4), "-sc0") << "showing again clears nothing";
}

TEST(ToVorlixString, AreaCodesOutsideTheTable) {
    TCBFontSizes areas;
    EXPECT_EQ(Command(Row(12), 64, areas), "-cb0 -cf1 -sad2 -nss0 -t\"Hej\"  ");
    EXPECT_TRUE(areas.Contains(12));
    Command(Row(20), 64, areas);
    EXPECT_FALSE(areas.Contains(20));
}

TEST(ToVorlixString, TextIsInsertedUnchangedAndParametersInBrackets) {
    TCBFontSizes areas;
    auto row = Row(2, "Temp");
    row.TextIsParameter = true;
    row.SetScrollspeed(200);
    row.SetBackgroundColor(3);
    EXPECT_EQ(Command(row, 64, areas), "-sc0 -sg0,0,64,16 -f1 -cb3 -cf1 -sad2 -nss16 -t\"[Temp]\"  ");
    EXPECT_EQ(Command(Row(2, "a\"b|c"), 64, areas),
              "-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad2 -nss0 -t\"a\"b|c\"  ");
}

} // namespace
