#include "rows/ConfigurationTexts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ConfigurationTexts, FontSizePositionsFollowTheTableNotTheCodes) {
    const auto& texts = ConfigurationTexts();
    const auto& sizes = texts.FontSize;
    EXPECT_EQ(TConfigurationTexts::GetSettingIndex(0, sizes), 3u);
    EXPECT_EQ(TConfigurationTexts::GetSettingIndex(2, sizes), 0u);
    EXPECT_EQ(TConfigurationTexts::GetSettingIndex(8, sizes), 8u);
    EXPECT_EQ(TConfigurationTexts::GetSettingIndex(9, sizes), 0u) << "unknown codes fall back to position 0";
    EXPECT_EQ(sizes[4].second, "Liten, Undre Vorlix yta ");
    EXPECT_EQ(sizes[8].second, "Liten, Höger under Vorlix yta");

    std::set<std::string> labels;
    for (const auto& [code, label] : sizes) {
        labels.insert(label);
    }
    EXPECT_EQ(labels.size(), sizes.size()) << "every area has a label of its own";
}

TEST(ConfigurationTexts, CodeEqualsPositionInTheOtherTables) {
    const auto& texts = ConfigurationTexts();
    ASSERT_EQ(texts.ScrollSpeed.size(), 17u);
    EXPECT_EQ(texts.ScrollSpeed[0].second, "Ingen");
    EXPECT_EQ(texts.ScrollSpeed[7].second, "Hast.7");
    EXPECT_EQ(texts.ScrollSpeed[16].second, "Högsta");
    for (const auto* table : {&texts.ScrollSpeed, &texts.Colors, &texts.FontAlign}) {
        for (std::size_t i = 0; i < table->size(); ++i) {
            EXPECT_EQ((*table)[i].first, i);
        }
    }
    EXPECT_EQ(texts.Colors[1].second, "Röd");
    EXPECT_EQ(texts.FontAlign[2].second, "Center");
}

} // namespace
