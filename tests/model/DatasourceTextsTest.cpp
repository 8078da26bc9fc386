#include "model/DatasourceTexts.h"

#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "model/LocalViewModel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class DatasourceTextsTest : public ::testing::Test {
protected:
    DatasourceTextsTest() {
        TBaseObjectList<TVDataSource> sources;
        AddSource(sources, "Temp", "Temperatur ute", true, TDisplayDataSourceBase::ValueType_Numeric, "21");
        AddSource(sources, "Note", "", false, TDisplayDataSourceBase::ValueType_Text, "a\r\nb");
        WriteListFile(DataSourcesFilePath(dir.Path().string()), sources);
        WriteListFile(DisplaysFilePath(dir.Path().string()), TBaseObjectList<TVDisplay>());
        model.LoadFromDictionary(dir.Path().string());
        model.CollectData();
    }

    static void AddSource(TBaseObjectList<TVDataSource>& sources, const std::string& name,
                          const std::string& description, bool changeable, int valueType,
                          const std::string& value) {
        auto& source = sources.Add(std::make_unique<TVDataSource>());
        source.SetName(name);
        source.SetDescription(description);
        source.SetPublicChangeable(changeable);
        source.SetDataSourceType(DisplayDataSourceType_Static);
        source.SetValueType(static_cast<std::uint16_t>(valueType));
        source.SetConfiguration(value);
    }

    TempDir dir;
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
