#include "config/VDataSource.h"
#include "config/VDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

template <typename T> struct TSetterCase {
    std::string Property;
    std::function<void(T&)> Set;
};

// Each setter flags the record when it changes a value, and only then.
template <typename T> void ExpectChangeOnlySetters(const std::vector<TSetterCase<T>>& cases) {
    for (const auto& c : cases) {
        T record;
        EXPECT_FALSE(record.IsChanged()) << c.Property;
        c.Set(record);
        EXPECT_TRUE(record.IsChanged()) << c.Property;
        record.ResetChanged();
        c.Set(record);
        EXPECT_FALSE(record.IsChanged()) << c.Property << " set to the same value again";
    }
}

TEST(RecordTest, DataSourceSettersFlagRealChangesOnly) {
    ExpectChangeOnlySetters<TVDataSource>({
        {"Name", [](TVDataSource& r) { r.SetName("Temp"); }},
        {"Description", [](TVDataSource& r) { r.SetDescription("Outside"); }},
        {"PublicChangeable", [](TVDataSource& r) { r.SetPublicChangeable(true); }},
        {"DataSourceType", [](TVDataSource& r) { r.SetDataSourceType(2); }},
        {"ValueType", [](TVDataSource& r) { r.SetValueType(5); }},
        {"Timeout", [](TVDataSource& r) { r.SetTimeout(65535); }},
        {"Configuration", [](TVDataSource& r) { r.SetConfiguration("C:\\data\\in.txt"); }},
        {"Value", [](TVDataSource& r) { r.SetValue("21,5"); }},
    });
}

TEST(RecordTest, DisplaySettersFlagRealChangesOnly) {
    ExpectChangeOnlySetters<TVDisplay>({
        {"Name", [](TVDisplay& r) { r.SetName("Entrance"); }},
        {"DisplayType", [](TVDisplay& r) { r.SetDisplayType(3); }},
        {"Width", [](TVDisplay& r) { r.SetWidth(128); }},
        {"Brightness", [](TVDisplay& r) { r.SetBrightness(40); }},
        {"DisplaySettings", [](TVDisplay& r) { r.SetDisplaySettings("3"); }},
        {"ConfigurationString", [](TVDisplay& r) { r.SetConfigurationString("-sc0"); }},
    });
}

TEST(RecordTest, NamesCompareCaseSensitively) {
    TVDataSource record;
    record.SetName("temp");
    record.ResetChanged();
    record.SetName("Temp");
    EXPECT_TRUE(record.IsChanged());
    EXPECT_EQ(record.ToString(), "Temp");
}

TEST(RecordTest, BrightnessIsLimitedTo100) {
    TVDisplay display;
    display.SetBrightness(150);
    EXPECT_EQ(display.Brightness(), 100);
    EXPECT_TRUE(display.IsChanged());
    display.ResetChanged();
    display.SetBrightness(255);
    EXPECT_EQ(display.Brightness(), 100);
    EXPECT_FALSE(display.IsChanged());
}

TEST(RecordTest, AssignCopiesEveryFieldAndKeepsTheTargetsChangeFlag) {
    TVDataSource source;
    source.SetName("Temp");
    source.SetDescription("Outside");
    source.SetPublicChangeable(true);
    source.SetDataSourceType(2);
    source.SetValueType(5);
    source.SetTimeout(1000);
    source.SetConfiguration("C:\\temp.txt");
    source.SetValue("21,5");

    for (const bool targetChanged : {false, true}) {
        TVDataSource target;
        target.SetName("Old");
        if (!targetChanged) {
            target.ResetChanged();
        }
        target.Assign(source);
        EXPECT_EQ(target.IsChanged(), targetChanged);
        EXPECT_EQ(target.Name(), "Temp");
        EXPECT_EQ(target.Description(), "Outside");
        EXPECT_TRUE(target.PublicChangeable());
        EXPECT_EQ(target.DataSourceType(), 2);
        EXPECT_EQ(target.ValueType(), 5);
        EXPECT_EQ(target.Timeout(), 1000);
        EXPECT_EQ(target.Configuration(), "C:\\temp.txt");
        EXPECT_EQ(target.Value(), "21,5");
    }
}

TEST(RecordTest, AssignCopiesEveryDisplayField) {
    TVDisplay source;
    source.SetName("Entrance");
    source.SetDisplayType(4);
    source.SetWidth(64);
    source.SetBrightness(70);
    source.SetDisplaySettings("10.0.0.5:3027");
    source.SetConfigurationString("-sc0 -f1");

    TVDisplay target;
    target.Assign(source);
    EXPECT_FALSE(target.IsChanged());
    EXPECT_EQ(target.Name(), "Entrance");
    EXPECT_EQ(target.DisplayType(), 4);
    EXPECT_EQ(target.Width(), 64);
    EXPECT_EQ(target.Brightness(), 70);
    EXPECT_EQ(target.DisplaySettings(), "10.0.0.5:3027");
    EXPECT_EQ(target.ConfigurationString(), "-sc0 -f1");
}

} // namespace
