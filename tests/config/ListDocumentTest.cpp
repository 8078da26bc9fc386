#include "config/ListDocument.h"
#include "config/JsonText.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "platform/VorlixError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using json = nlohmann::ordered_json;
using testing::StrEq;
using testing::ThrowsMessage;

std::unique_ptr<TVDataSource> Source(const std::string& name, const std::string& value = "") {
    auto record = std::make_unique<TVDataSource>();
    record->SetName(name);
    record->SetValue(value);
    return record;
}

TBaseObjectList<TVDataSource> ReadSources(const std::string& text) {
    return ListFromJson<TVDataSource>(ParseJsonText(text));
}

// A data-source list document with the given "fields" members.
std::string SourceList(const std::string& listFields) {
    return R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>","id":1,"fields":{)" +
           listFields + "}}";
}

// A data-source list document holding one record with the given "fields" members.
std::string OneSource(const std::string& recordFields) {
    return SourceList(
        R"("FOwnsObjects":false,"FItems":[{"type":"JSONBaseObject.TVDataSource","id":2,"fields":{)" +
        recordFields + R"(}}],"FCount":1)");
}

// The displays of a display-list document holding one record with the given "fields" members.
TBaseObjectList<TVDisplay> ReadOneDisplay(const std::string& recordFields) {
    return ListFromJson<TVDisplay>(ParseJsonText(
        R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>","id":1,"fields":{"FItems":[)"
        R"({"type":"JSONBaseObject.TVDisplay","id":2,"fields":{)" +
        recordFields + R"(}}],"FCount":1}})"));
}

TEST(ListDocumentTest, AnEmptyListIsNull) {
    EXPECT_EQ(JsonText(ListToJson(TBaseObjectList<TVDataSource>())), "null");
    EXPECT_EQ(ListFromJson<TVDataSource>(nullptr).Count(), 0u);
}

TEST(ListDocumentTest, WritesTheCompactDocument) {
    TBaseObjectList<TVDataSource> list(false);
    TVDataSource record;
    record.SetName("Temp");
    record.SetDescription("Outside");
    record.SetPublicChangeable(true);
    record.SetDataSourceType(2);
    record.SetValueType(5);
    record.SetTimeout(65535);
    record.SetConfiguration("temp.txt");
    record.SetValue("21");
    list.Add(record);
    EXPECT_EQ(
        JsonText(ListToJson(list)),
        R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>","id":1,"fields":{)"
        R"("FOwnsObjects":false,"FItems":[{"type":"JSONBaseObject.TVDataSource","id":2,"fields":{)"
        R"("FName":"Temp","FDescription":"Outside","FPublicChangeable":true,"FDataSourceType":2,)"
        R"("FValueType":5,"FTimeout":65535,"FConfiguration":"temp.txt","FValue":"21"}}],"FCount":1,)"
        R"("FArrayManager":{"type":"System.Generics.Collections.TMoveArrayManager<JSONBaseObject.TVDataSource>",)"
        R"("id":3,"fields":{}}}})");
}

TEST(ListDocumentTest, ItemsArePaddedWithNullUpToTheCapacity) {
    struct TCase {
        std::size_t Count;
        std::size_t Entries;
    };
    for (const TCase c : {TCase{1, 1}, TCase{2, 2}, TCase{3, 4}, TCase{4, 4}, TCase{5, 8}}) {
        TBaseObjectList<TVDataSource> list;
        for (std::size_t i = 0; i < c.Count; ++i) {
            list.Add(Source("s" + std::to_string(i)));
        }
        const json document = ListToJson(list);
        const json& fields = document["fields"];
        ASSERT_EQ(fields["FItems"].size(), c.Entries) << c.Count << " records";
        for (std::size_t i = 0; i < c.Entries; ++i) {
            EXPECT_EQ(fields["FItems"][i].is_null(), i >= c.Count) << "entry " << i << " of " << c.Count;
        }
        for (std::size_t i = 0; i < c.Count; ++i) {
            EXPECT_EQ(fields["FItems"][i]["id"], i + 2);
        }
        EXPECT_EQ(fields["FCount"], c.Count);
        EXPECT_EQ(fields["FArrayManager"]["id"], c.Count + 2);
        EXPECT_EQ(fields["FOwnsObjects"], true);
    }
}

TEST(ListDocumentTest, StringsEscapeQuotesBackslashesAndControlCharactersOnly) {
    TBaseObjectList<TVDataSource> list;
    const std::string value = std::string("say \"hi\" C:\\data\\in.txt \b\t\n\f\r \x01\x1F\x7F /") +
                              " \xC3\xA5\xC3\xA4\xC3\xB6 \xC5\x81\xC3\xB3\x64\xC5\xBA \xE2\x82\xAC";
    list.Add(Source("s", value));
    const std::string text = JsonText(ListToJson(list));
    EXPECT_THAT(text,
                testing::HasSubstr(R"("FValue":"say \"hi\" C:\\data\\in.txt \b\t\n\f\r \u0001\u001f)"
                                   "\x7F /"
                                   " \xC3\xA5\xC3\xA4\xC3\xB6 \xC5\x81\xC3\xB3\x64\xC5\xBA \xE2\x82\xAC\"}"));
    EXPECT_EQ(ReadSources(text)[0].Value(), value);
}

TEST(ListDocumentTest, ReadsBackWhatItWrote) {
    TBaseObjectList<TVDisplay> list;
    auto& display = list.Add(std::make_unique<TVDisplay>());
    display.SetName("Entr\xC3\xA9");
    display.SetDisplayType(4);
    display.SetWidth(128);
    display.SetBrightness(55);
    display.SetDisplaySettings("10.0.0.5:3027");
    display.SetConfigurationString("-sc0|-f1");
    list.Add(std::make_unique<TVDisplay>()).SetName("Second");

    const auto read = ListFromJson<TVDisplay>(ParseJsonText(JsonText(ListToJson(list))));
    ASSERT_EQ(read.Count(), 2u);
    EXPECT_TRUE(read.OwnsObjects());
    EXPECT_EQ(read[0].Name(), "Entr\xC3\xA9");
    EXPECT_EQ(read[0].DisplayType(), 4);
    EXPECT_EQ(read[0].Width(), 128);
    EXPECT_EQ(read[0].Brightness(), 55);
    EXPECT_EQ(read[0].DisplaySettings(), "10.0.0.5:3027");
    EXPECT_EQ(read[0].ConfigurationString(), "-sc0|-f1");
    EXPECT_FALSE(read[0].IsChanged());
    EXPECT_EQ(read[1].Name(), "Second");
}

TEST(ListDocumentTest, ReadsOnlyTheFirstFCountEntries) {
    const auto list = ReadSources(SourceList(
        R"("FOwnsObjects":true,"FItems":[{"type":"JSONBaseObject.TVDataSource","id":2,"fields":{"FName":"a"}},)"
        R"({"type":"JSONBaseObject.TVDataSource","id":3,"fields":{"FName":"b"}},null,7,"anything"],"FCount":1,)"
        R"("FArrayManager":{"type":"System.Generics.Collections.TMoveArrayManager<JSONBaseObject.TVDataSource>","id":3,"fields":{}})"));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0].Name(), "a");
}

TEST(ListDocumentTest, FieldsAreMatchedByKeyAndConvertedThroughTheirText) {
    const auto list = ReadSources(OneSource(
        R"("FValue":12,"FTimeout":"+250","FName":"a","FValueType":null,"FPublicChangeable":true,"FConfiguration":1.5)"));
    const TVDataSource& record = list[0];
    EXPECT_EQ(record.Name(), "a");
    EXPECT_EQ(record.Description(), "");
    EXPECT_EQ(record.Value(), "12");
    EXPECT_EQ(record.Timeout(), 250);
    EXPECT_EQ(record.ValueType(), 0);
    EXPECT_TRUE(record.PublicChangeable());
    EXPECT_EQ(record.Configuration(), "1.5");
}

TEST(ListDocumentTest, ANumberInAStringFieldKeepsTheTextItWasWrittenWith) {
    const std::string numbers[] = {
        "1e2",   "1E+2",      "1.50", "0.1", "-0", "-12", "18446744073709551615", "12345678901234567890123",
        "1E400", "-1e-99999",
    };
    for (const std::string& number : numbers) {
        const auto list = ReadSources(OneSource(R"("FDescription":)" + number + R"(,"FConfiguration":)" +
                                                number + R"(,"FTimeout":100)"));
        EXPECT_EQ(list[0].Description(), number);
        EXPECT_EQ(list[0].Configuration(), number);
        EXPECT_EQ(list[0].Timeout(), 100);
        EXPECT_NE(JsonText(ListToJson(list)).find(R"("FDescription":")" + number + "\""), std::string::npos)
            << "saved as the same text";
    }
}

TEST(ListDocumentTest, StoredValuesAreTakenWithoutTheSetters) {
    EXPECT_EQ(ReadOneDisplay(R"("FBrightness":150)")[0].Brightness(), 150);
}

TEST(ListDocumentTest, ARecordReadsFromItsObjectOrFromNull) {
    EXPECT_EQ(RecordFromJson<TVDisplay>(nullptr)->Name(), "");
    const auto record = RecordFromJson<TVDisplay>(
        ParseJsonText(R"({"type":"JSONBaseObject.TVDisplay","id":9,"fields":{"FName":"x","FWidth":64}})"));
    EXPECT_EQ(record->Name(), "x");
    EXPECT_EQ(record->Width(), 64);
    EXPECT_FALSE(record->IsChanged());
}

struct TFailureCase {
    std::string Text;
    std::string Message;
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Message;
}

class ListDocumentFailureTest : public testing::TestWithParam<TFailureCase> {};

TEST_P(ListDocumentFailureTest, FailsWithAClearMessage) {
    EXPECT_THAT([this] { ReadSources(GetParam().Text); },
                ThrowsMessage<EVorlixError>(StrEq(GetParam().Message)));
}

std::string Deep(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ListDocumentFailureTest,
    testing::Values(
        TFailureCase{"[]", "The input value is not a valid Object"},
        TFailureCase{"\"text\"", "The input value is not a valid Object"},
        TFailureCase{"{\"type\":", "The input value is not a valid Object"},
        TFailureCase{OneSource(R"("FName":"a")").substr(0, 120), "The input value is not a valid Object"},
        TFailureCase{std::string(100000, '['), "The input value is nested deeper than 64 levels"},
        TFailureCase{OneSource(R"("FName":)" + Deep(200)), "The input value is nested deeper than 64 levels"},
        TFailureCase{R"({"id":1,"fields":{}})", "The member \"type\" is missing in an object"},
        TFailureCase{R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>","id":1})",
                     "The member \"fields\" is missing in "
                     "JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>"},
        TFailureCase{
            R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>","id":1,"fields":{}})",
            "Internal: Cannot instantiate type JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>"},
        TFailureCase{
            R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource>","id":1,"fields":[]})",
            "The member \"fields\" of JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDataSource> is not "
            "a valid Object"},
        TFailureCase{
            SourceList(R"("FCapacity":4)"),
            "Internal: Field FCapacity cannot be found in type TBaseObjectList<JSONBaseObject.TVDataSource>"},
        TFailureCase{SourceList(R"("FItems":[null],"FCount":-1)"),
                     "The value -1 of FCount is outside the range 0 to 1"},
        TFailureCase{SourceList(R"("FItems":[null],"FCount":2)"),
                     "The value 2 of FCount is outside the range 0 to 1"},
        TFailureCase{SourceList(R"("FCount":1)"), "The value 1 of FCount is outside the range 0 to 0"},
        TFailureCase{SourceList(R"("FItems":[null,null],"FCount":1)"),
                     "FItems[0] is null, though FCount is 1"},
        TFailureCase{SourceList(R"("FItems":{},"FCount":0)"), "The value {} of FItems is not a valid array"},
        TFailureCase{SourceList(R"("FItems":[7],"FCount":1)"), "The input value is not a valid Object"},
        TFailureCase{
            SourceList(R"("FItems":[{"type":"JSONBaseObject.TVDisplay","id":2,"fields":{}}],"FCount":1)"),
            "Internal: Cannot instantiate type JSONBaseObject.TVDisplay"},
        TFailureCase{SourceList(R"("FItems":[{"type":1,"id":2,"fields":{}}],"FCount":1)"),
                     "Internal: Cannot instantiate type 1"},
        TFailureCase{
            SourceList(R"("FItems":[{"type":"JSONBaseObject.TVDataSource","fields":{}}],"FCount":1)"),
            "The member \"id\" is missing in JSONBaseObject.TVDataSource"},
        TFailureCase{OneSource(R"("FName":"a","FColour":1)"),
                     "Internal: Field FColour cannot be found in type TVDataSource"},
        TFailureCase{OneSource(R"("FTimeout":70000)"),
                     "The value 70000 of FTimeout is outside the range 0 to 65535"},
        TFailureCase{OneSource(R"("FTimeout":-1)"),
                     "The value -1 of FTimeout is outside the range 0 to 65535"},
        TFailureCase{OneSource(R"("FTimeout":"99999999999999999999")"),
                     "The value \"99999999999999999999\" of FTimeout is outside the range 0 to 65535"},
        TFailureCase{OneSource(R"("FTimeout":18446744073709551615)"),
                     "The value 18446744073709551615 of FTimeout is outside the range 0 to 65535"},
        TFailureCase{
            OneSource(R"("FTimeout":123456789012345678901234567890)"),
            "The value \"123456789012345678901234567890\" of FTimeout is outside the range 0 to 65535"},
        TFailureCase{OneSource(R"("FTimeout":1e2)"), "The value \"1e2\" of FTimeout is not a valid integer"},
        TFailureCase{OneSource(R"("FTimeout":"12x")"),
                     "The value \"12x\" of FTimeout is not a valid integer"},
        TFailureCase{OneSource(R"("FTimeout":" 12")"),
                     "The value \" 12\" of FTimeout is not a valid integer"},
        TFailureCase{OneSource(R"("FTimeout":1.5)"), "The value 1.5 of FTimeout is not a valid integer"},
        TFailureCase{OneSource(R"("FTimeout":true)"), "The value true of FTimeout is not a valid integer"},
        TFailureCase{OneSource(R"("FName":false)"), "The value false of FName is not a valid string"},
        TFailureCase{OneSource(R"("FName":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20])"),
                     "The value [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,... of FName is not a valid string"},
        TFailureCase{OneSource(R"("FPublicChangeable":"yes")"),
                     "The value \"yes\" of FPublicChangeable is not a valid Boolean"}));

TEST(ListDocumentTest, DisplayNumbersMustFitTheirFields) {
    EXPECT_THAT(
        [&] { ReadOneDisplay(R"("FBrightness":300)"); },
        ThrowsMessage<EVorlixError>(StrEq("The value 300 of FBrightness is outside the range 0 to 255")));
    EXPECT_THAT(
        [&] { ReadOneDisplay(R"("FWidth":65536)"); },
        ThrowsMessage<EVorlixError>(StrEq("The value 65536 of FWidth is outside the range 0 to 65535")));
}

} // namespace
