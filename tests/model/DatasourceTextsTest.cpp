#include "model/DatasourceTexts.h"

#include "model/LocalViewModel.h"
#include "support/ConfigurationDir.h"

#include <gtest/gtest.h>

namespace {

class DatasourceTextsTest : public ::testing::Test {
protected:
    DatasourceTextsTest() {
        auto& temp = config.AddSource("Temp", DisplayDataSourceType_Static,
                                      TDisplayDataSourceBase::ValueType_Numeric, "21");
        temp.SetDescription("Temperatur ute");
        temp.SetPublicChangeable(true);
        config.AddSource("Note", DisplayDataSourceType_Static, TDisplayDataSourceBase::ValueType_Text, "a\r\nb");
        config.Write();
        model.LoadFromDictionary(config.Path());
        model.CollectData();
    }

    ConfigurationDir config;
    TLocalViewModel model;
};

TEST_F(DatasourceTextsTest, AnswersValuesAndEntriesBySourceName) {
    EXPECT_EQ(DatasourceQueryText(model, "Temp"), "21\r\n");
    EXPECT_EQ(DatasourceQueryText(model, "Note"), "a\r\nb\r\n");
    EXPECT_EQ(DatasourceQueryText(model, "temp"), "Hittar ej temp");
    EXPECT_EQ(DatasourceEntryText(*model.GetDatasourceFromCache("Temp")), "Temp|Temperatur ute");
    EXPECT_EQ(DatasourceEntryText(*model.GetDatasourceFromCache("Note")), "Note");
}

TEST_F(DatasourceTextsTest, ListsOnlyChangeableSourcesWithTheirColumns) {
    const auto sources = ChangeableDatasources(model);
    ASSERT_EQ(sources.size(), 1u);
    const TDatasourceColumns expected = {"Temp", "Temperatur ute", "Statiskt värde", "Numreriskt värde",
                                         "21\r\n"};
    EXPECT_EQ(DatasourceColumns(*sources[0]), expected);
}

TEST(DatasourceLabelsTest, EveryKnownCodeHasItsLabelAndOthersShowTheirNumber) {
    EXPECT_EQ(DatasourceTypeLabel(DisplayDataSourceType_None), "Ingen");
    EXPECT_EQ(DatasourceTypeLabel(DisplayDataSourceType_JSON), "JSON källa");
    EXPECT_EQ(DatasourceTypeLabel(DisplayDataSourceType_Expression), "Uttryck");
    EXPECT_EQ(DatasourceTypeLabel(7), "7");
    EXPECT_EQ(ValueTypeLabel(TDisplayDataSourceBase::ValueType_Text), "Fritext");
    EXPECT_EQ(ValueTypeLabel(TDisplayDataSourceBase::ValueType_Date), "Datum");
    EXPECT_EQ(ValueTypeLabel(TDisplayDataSourceBase::ValueType_Time), "Tid");
    EXPECT_EQ(ValueTypeLabel(1), "1");
}

} // namespace
