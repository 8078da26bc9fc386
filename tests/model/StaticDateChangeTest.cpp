#include "model/StaticDateChange.h"

#include "config/ConfigurationFiles.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "model/LocalViewModel.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

class StaticDateChangeTest : public ::testing::Test {
protected:
    StaticDateChangeTest() {
        TBaseObjectList<TVDataSource> sources;
        AddSource(sources, "Deadline", DisplayDataSourceType_Static, "2026-01-15");
        AddSource(sources, "Unset", DisplayDataSourceType_Static, "");
        AddSource(sources, "Word", DisplayDataSourceType_Static, "Hej");
        AddSource(sources, "Lines", DisplayDataSourceType_File, (dir / "missing.txt").string());
        WriteListFile(DataSourcesFilePath(dir.Path().string()), sources);
        TBaseObjectList<TVDisplay> displays;
        auto& display = displays.Add(std::make_unique<TVDisplay>());
        display.SetName("Hall");
        display.SetConfigurationString("[Deadline]");
        WriteListFile(DisplaysFilePath(dir.Path().string()), displays);
        model.LoadFromDictionary(dir.Path().string());
        model.CollectData();
    }

    static void AddSource(TBaseObjectList<TVDataSource>& sources, const std::string& name, int type,
                          const std::string& configuration) {
        auto& source = sources.Add(std::make_unique<TVDataSource>());
        source.SetName(name);
        source.SetDataSourceType(static_cast<std::uint16_t>(type));
        source.SetValueType(TDisplayDataSourceBase::ValueType_Date);
        source.SetConfiguration(configuration);
    }

    const TVDataSource& Record(const std::string& name) const {
        for (const TVDataSource& record : model.DataSourceRecords()) {
            if (record.Name() == name) {
                return record;
            }
        }
        throw std::logic_error("no record " + name);
    }

    TempDir dir;
    TestClock clock{EncodeDateTime({2026, 12, 9, 12, 0, 0, 0})};
    TScopedRegionalSettings settings{TRegionalSettings{',', "dd.mm.yyyy", "hh:nn:ss"}};
    TLocalViewModel model;
};

TEST_F(StaticDateChangeTest, OffersTheStoredDateOrTodayAndRejectsOtherValues) {
    EXPECT_EQ(StaticDateOf(*model.GetDatasourceFromCache("Deadline")), EncodeDateTime({2026, 1, 15}));
    EXPECT_EQ(StaticDateOf(*model.GetDatasourceFromCache("Unset")), clock.Now());
    EXPECT_THROW(StaticDateOf(*model.GetDatasourceFromCache("Word")), EVorlixError);
    EXPECT_TRUE(IsStaticDatasource(model.GetDatasourceFromCache("Deadline")));
    EXPECT_FALSE(IsStaticDatasource(model.GetDatasourceFromCache("Lines")));
    EXPECT_FALSE(IsStaticDatasource(nullptr));
}

TEST_F(StaticDateChangeTest, StoresTheDateWithoutTimeInTheUsersFormatAndPublishesIt) {
    ASSERT_TRUE(SaveStaticDate(model, "Deadline", EncodeDateTime({2027, 3, 4, 15, 30, 0, 0})));
    const TDisplayDataSourceBase& source = *model.GetDatasourceFromCache("Deadline");
    EXPECT_EQ(source.GetConfiguration(), "04.03.2027");
    EXPECT_EQ(Record("Deadline").Configuration(), "04.03.2027");
    EXPECT_EQ(Record("Deadline").Value(), "04.03.2027") << "a collection pass ran";

    model.SaveToDictionary(dir.Path().string());
    TLocalViewModel reloaded;
    reloaded.LoadFromDictionary(dir.Path().string());
    EXPECT_EQ(reloaded.DataSourceRecords()[0].Configuration(), "04.03.2027");
}

TEST_F(StaticDateChangeTest, ChangesNothingForAMissingOrNonStaticSource) {
    EXPECT_FALSE(SaveStaticDate(model, "Nobody", clock.Now()));
    EXPECT_FALSE(SaveStaticDate(model, "Lines", clock.Now()));
    EXPECT_EQ(Record("Lines").Configuration(), (dir / "missing.txt").string());
    EXPECT_EQ(Record("Deadline").Configuration(), "2026-01-15");
}

} // namespace
