#include "datasources/DisplayDataSourceBase.h"

#include "config/VDataSource.h"
#include "datasources/DisplayDataSourceFile.h"
#include "datasources/DisplayDataSourceJSON.h"
#include "datasources/DisplayDataSourceStatic.h"
#include "datasources/DisplayDatasourceExpression.h"

#include <gtest/gtest.h>

namespace {

using TSource = TDisplayDataSourceBase;

TEST(DataSourceFactory, BuildsTheClassOfEachTypeCode) {
    const struct {
        int type;
        std::string configuration;
        std::string expectedConfiguration;
        bool parameterDependant;
    } cases[] = {
        {DisplayDataSourceType_Static, "hello", "hello", false},
        {DisplayDataSourceType_File, "/tmp/none.txt", "/tmp/none.txt", false},
        {DisplayDataSourceType_REST, "ignored", "", false},
        {DisplayDataSourceType_JSON, "http://127.0.0.1:1/x|temp", "http://127.0.0.1:1/x|temp", false},
        {DisplayDataSourceType_Expression, "[a]*2", "[a]*2", true},
    };
    for (const auto& c : cases) {
        const auto source =
            TSource::CreateDerived("[name]", c.type, c.configuration, 2500, TSource::ValueType_Numeric);
        ASSERT_NE(source, nullptr) << c.type;
        EXPECT_EQ(source->GetDataSourceType(), c.type);
        EXPECT_EQ(source->GetConfiguration(), c.expectedConfiguration) << c.type;
        EXPECT_EQ(source->IsParameterDependant(), c.parameterDependant) << c.type;
        EXPECT_EQ(source->Name(), "name");
        EXPECT_EQ(source->ValueType(), TSource::ValueType_Numeric);
        EXPECT_EQ(source->TimeoutMsec(), 2500) << "the record's interval replaces the class default";
        EXPECT_EQ(source->LastConfiguration(), c.configuration);
        EXPECT_FALSE(source->PublicChangable());
        EXPECT_EQ(source->Description(), "");
        EXPECT_EQ(source->LastTimeout, 0);
    }
}

TEST(DataSourceFactory, BuildsNothingForCodesWithoutAClass) {
    for (const int type :
         std::initializer_list<int>{DisplayDataSourceType_None, DisplayDataSourceType_SQL, 7, -1, 1000}) {
        EXPECT_EQ(TSource::CreateDerived("x", type, "cfg", 1000, TSource::ValueType_Text), nullptr) << type;
    }
}

TEST(DataSourceFactory, ClassDefaultsHoldUntilTheFactorySetsTheInterval) {
    EXPECT_EQ(TDisplayDataSourceStatic("s", "").TimeoutMsec(), 0);
    EXPECT_EQ(TDisplayDataSourceFile("f", "").TimeoutMsec(), 5000);
    EXPECT_EQ(TDisplayDataSourceJSON("j", "").TimeoutMsec(), 1000);
    EXPECT_EQ(TDisplayDatasourceExpression("e", "").TimeoutMsec(), 0);
    EXPECT_EQ(TSource::CreateDerived("f", DisplayDataSourceType_File, "", 0, TSource::ValueType_Text)
                  ->TimeoutMsec(),
              0);
}

TEST(DataSourceFactory, BuildsFromARecordWithItsDescriptionAndPublicFlag) {
    TVDataSource record;
    record.SetName("Level");
    record.SetDescription("Tank level");
    record.SetPublicChangeable(true);
    record.SetDataSourceType(DisplayDataSourceType_Static);
    record.SetValueType(TSource::ValueType_Date);
    record.SetTimeout(65535);
    record.SetConfiguration("now()");

    const auto source = TSource::CreateDerived(record);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Name(), "Level");
    EXPECT_EQ(source->Description(), "Tank level");
    EXPECT_TRUE(source->PublicChangable());
    EXPECT_EQ(source->ValueType(), TSource::ValueType_Date);
    EXPECT_EQ(source->TimeoutMsec(), 65535);
    EXPECT_EQ(source->GetConfiguration(), "now()");

    record.SetDataSourceType(DisplayDataSourceType_SQL);
    EXPECT_EQ(TSource::CreateDerived(record), nullptr);
}

TEST(DataSourceFactory, AssignToJsonCopiesTheSourceAndClearsTheChangedFlag) {
    auto source = TSource::CreateDerived("[Greeting]", DisplayDataSourceType_Static, "Hej", 300,
                                         TSource::ValueType_Text);
    source->SetDescription("Shown at the door");
    source->SetPublicChangable(true);
    source->Reinitialize("Hej då");

    TVDataSource record;
    record.SetValue("last value stays");
    source->AssignToJson(record);
    EXPECT_EQ(record.Name(), "Greeting");
    EXPECT_EQ(record.Description(), "Shown at the door");
    EXPECT_TRUE(record.PublicChangeable());
    EXPECT_EQ(record.DataSourceType(), DisplayDataSourceType_Static);
    EXPECT_EQ(record.ValueType(), TSource::ValueType_Text);
    EXPECT_EQ(record.Timeout(), 300);
    EXPECT_EQ(record.Configuration(), "Hej då");
    EXPECT_EQ(record.Value(), "last value stays");
    EXPECT_FALSE(record.IsChanged());

    const auto rebuilt = TSource::CreateDerived(record);
    EXPECT_EQ(rebuilt->GetConfiguration(), "Hej då");
}

TEST(DataSourceFactory, AssignToJsonKeepsAnIntervalBeyondTheRecordsWidthAtItsLargestValue) {
    auto source = TSource::CreateDerived("s", DisplayDataSourceType_Static, "", 0, TSource::ValueType_Text);
    TVDataSource record;
    for (const auto& [interval, stored] :
         {std::pair<std::int64_t, int>{70000, 65535}, {-5, 0}, {65535, 65535}}) {
        source->SetTimeoutMsec(interval);
        source->AssignToJson(record);
        EXPECT_EQ(record.Timeout(), stored) << interval;
    }
}

} // namespace
