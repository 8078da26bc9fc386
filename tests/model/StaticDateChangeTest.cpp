#include "model/StaticDateChange.h"

#include "model/LocalViewModel.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"
#include "support/ConfigurationDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

class StaticDateChangeTest : public ::testing::Test {
protected:
    StaticDateChangeTest() {
        constexpr int Date = TDisplayDataSourceBase::ValueType_Date;
        config.AddSource("Deadline", DisplayDataSourceType_Static, Date, "2026-01-15");
        config.AddSource("Unset", DisplayDataSourceType_Static, Date, "");
        config.AddSource("Word", DisplayDataSourceType_Static, Date, "Hej");
        config.AddSource("Lines", DisplayDataSourceType_File, Date, MissingFile());
        config.AddDisplay("Hall", DisplayType_Debug).SetConfigurationString("[Deadline]");
        config.Write();
        model.LoadFromDictionary(config.Path());
        model.CollectData();
    }

    std::string MissingFile() const { return (config.Dir() / "missing.txt").string(); }

    const TVDataSource& Record(const std::string& name) const {
        for (const TVDataSource& record : model.DataSourceRecords()) {
            if (record.Name() == name) {
                return record;
            }
        }
        throw std::logic_error("no record " + name);
    }

    ConfigurationDir config;
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

    model.SaveToDictionary(config.Path());
    TLocalViewModel reloaded;
    reloaded.LoadFromDictionary(config.Path());
    EXPECT_EQ(reloaded.DataSourceRecords()[0].Configuration(), "04.03.2027");
}

TEST_F(StaticDateChangeTest, ChangesNothingForAMissingOrNonStaticSource) {
    EXPECT_FALSE(SaveStaticDate(model, "Nobody", clock.Now()));
    EXPECT_FALSE(SaveStaticDate(model, "Lines", clock.Now()));
    EXPECT_EQ(Record("Lines").Configuration(), MissingFile());
    EXPECT_EQ(Record("Deadline").Configuration(), "2026-01-15");
}

} // namespace
