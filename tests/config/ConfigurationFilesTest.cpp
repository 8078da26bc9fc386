#include "config/ConfigurationFiles.h"
#include "config/JsonText.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testing::StrEq;
using testing::ThrowsMessage;

const std::string Lodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA"; // "Łódź" in UTF-8

std::unique_ptr<TVDisplay> Display(const std::string& name, std::uint16_t type, std::uint16_t width,
                                   std::uint8_t brightness, const std::string& settings,
                                   const std::string& configuration) {
    auto display = std::make_unique<TVDisplay>();
    display->SetName(name);
    display->SetDisplayType(type);
    display->SetWidth(width);
    display->SetBrightness(brightness);
    display->SetDisplaySettings(settings);
    display->SetConfigurationString(configuration);
    return display;
}

std::unique_ptr<TVDataSource> Source(const std::string& name, const std::string& value) {
    auto source = std::make_unique<TVDataSource>();
    source->SetName(name);
    source->SetValue(value);
    return source;
}

const std::string TwoDisplaysFile =
    R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>","id":1,"fields":{"FOwnsObjects":false,)"
    R"("FItems":[{"type":"JSONBaseObject.TVDisplay","id":2,"fields":{"FName":"Entrance","FDisplayType":3,)"
    R"("FWidth":128,"FBrightness":100,"FDisplaySettings":"3","FConfigurationString":"-sc0 -f1"}},)"
    R"({"type":"JSONBaseObject.TVDisplay","id":3,"fields":{"FName":"Kassa","FDisplayType":4,"FWidth":64,)"
    R"("FBrightness":50,"FDisplaySettings":"192.168.0.10:3027","FConfigurationString":""}}],"FCount":2,)"
    R"("FArrayManager":{"type":"System.Generics.Collections.TMoveArrayManager<JSONBaseObject.TVDisplay>","id":4,)"
    R"("fields":{}}}})"
    "\r\n";

TBaseObjectList<TVDisplay> TwoDisplays() {
    TBaseObjectList<TVDisplay> list;
    list.Add(Display("Entrance", 3, 128, 100, "3", "-sc0 -f1"));
    list.Add(Display("Kassa", 4, 64, 50, "192.168.0.10:3027", ""));
    return list;
}

TEST(ConfigurationFilesTest, FileNamesIgnoreTrailingSeparatorsOfTheDirectory) {
    for (const char* directory : {"/cfg", "/cfg/", "/cfg\\", "/cfg//\\/"}) {
        EXPECT_EQ(DataSourcesFilePath(directory), "/cfg/local-datasources.json") << directory;
        EXPECT_EQ(DisplaysFilePath(directory), "/cfg/local-displays.json") << directory;
    }
    EXPECT_EQ(DisplaysFilePath("/"), "/local-displays.json");
    EXPECT_EQ(DisplaysFilePath("relative/dir/"), "relative/dir/local-displays.json");
}

TEST(ConfigurationFilesTest, WritesOneLineWithCrLf) {
    TempDir dir;
    // The file always says "FOwnsObjects":false, even when written from the owning list.
    WriteListFile(DisplaysFilePath(dir.Path().string()), TwoDisplays());
    EXPECT_EQ(dir.Read("local-displays.json"), TwoDisplaysFile);
}

TEST(ConfigurationFilesTest, AnEmptyListIsWrittenAsNull) {
    TempDir dir;
    WriteListFile(DataSourcesFilePath(dir.Path().string()), TBaseObjectList<TVDataSource>());
    EXPECT_EQ(dir.Read("local-datasources.json"), "null\r\n");
}

TEST(ConfigurationFilesTest, TheFileCapacityFollowsTheCountWhateverTheListsHistory) {
    TempDir dir;
    TBaseObjectList<TVDataSource> list;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        list.Add(Source(name, ""));
    }
    auto removed = list.Extract(4);
    removed = list.Extract(3);
    ASSERT_EQ(list.Capacity(), 8u);
    const auto path = dir / "local-datasources.json";
    WriteListFile(path, list);
    const auto document = ReadListDocument(path);
    EXPECT_EQ(document["fields"]["FItems"].size(), 4u);
    EXPECT_EQ(document["fields"]["FCount"], 3);
}

TEST(ConfigurationFilesTest, NonAsciiIsWrittenAsWindows1252Bytes) {
    TempDir dir;
    TBaseObjectList<TVDisplay> list;
    list.Add(Display("\xC3\x85"
                     "kersberga",
                     0, 64, 100, "", "")); // "Åkersberga"
    WriteListFile(dir / "local-displays.json", list);
    const std::string bytes = dir.Read("local-displays.json");
    EXPECT_THAT(bytes, testing::HasSubstr("\"FName\":\"\xC5kersberga\""));
    EXPECT_EQ(ReadListFile<TVDisplay>(dir / "local-displays.json")[0].Name(), "\xC3\x85kersberga");
}

TEST(ConfigurationFilesTest, NamesOutsideWindows1252SurviveSaveAndLoad) {
    TempDir dir;
    TBaseObjectList<TVDisplay> displays;
    displays.Add(Display(Lodz, 3, 128, 100, "3", ""));
    TBaseObjectList<TVDataSource> sources;
    sources.Add(Source("Temp", Lodz));

    WriteListFile(DisplaysFilePath(dir.Path().string()), displays);
    WriteListFile(DataSourcesFilePath(dir.Path().string()), sources);

    EXPECT_TRUE(dir.Read("local-displays.json").starts_with("\xEF\xBB\xBF{"));
    EXPECT_EQ(ReadListFile<TVDisplay>(DisplaysFilePath(dir.Path().string()))[0].Name(), Lodz);
    EXPECT_EQ(ReadListFile<TVDataSource>(DataSourcesFilePath(dir.Path().string()))[0].Value(), Lodz);
}

TEST(ConfigurationFilesTest, SavingRightAfterLoadingWritesTheSameBytes) {
    TempDir dir;
    const auto path = dir.Write("local-displays.json", TwoDisplaysFile);
    WriteListFile(path, ReadListFile<TVDisplay>(path));
    EXPECT_EQ(dir.Read("local-displays.json"), TwoDisplaysFile);
}

// The file as another tool might have saved it: indented over several lines, with any line breaks.
std::string Indented(const std::string& lineBreak) {
    std::string text = ParseJsonText(TwoDisplaysFile).dump(2);
    std::string result;
    for (const char c : text) {
        result += c == '\n' ? lineBreak : std::string(1, c);
    }
    return result + lineBreak;
}

// UTF-16 little-endian with its byte-order mark, for ASCII text.
std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

struct TReadCase {
    std::string Description;
    std::string Bytes;
    std::size_t Records;
};

void PrintTo(const TReadCase& c, std::ostream* os) {
    *os << c.Description;
}

class ConfigurationFileReadTest : public testing::TestWithParam<TReadCase> {};

TEST_P(ConfigurationFileReadTest, ReadsTheRecords) {
    TempDir dir;
    const auto list = ReadListFile<TVDisplay>(dir.Write("local-displays.json", GetParam().Bytes));
    ASSERT_EQ(list.Count(), GetParam().Records);
    if (list.Count() == 2) {
        EXPECT_EQ(list[1].Name(), "Kassa");
        EXPECT_EQ(list[1].DisplaySettings(), "192.168.0.10:3027");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfigurationFileReadTest,
    testing::Values(TReadCase{"written by the system", TwoDisplaysFile, 2},
                    TReadCase{"null and a line break", "null\r\n", 0}, TReadCase{"zero length", "", 0},
                    TReadCase{"text beginning with null", "null and whatever follows", 0},
                    TReadCase{"without the final line break",
                              TwoDisplaysFile.substr(0, TwoDisplaysFile.size() - 2), 2},
                    TReadCase{"indented, CR LF", Indented("\r\n"), 2},
                    TReadCase{"indented, LF", Indented("\n"), 2},
                    TReadCase{"indented, CR", Indented("\r"), 2},
                    TReadCase{"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + TwoDisplaysFile, 2},
                    TReadCase{"UTF-16LE with byte-order mark", Utf16Le(TwoDisplaysFile), 2}));

TEST(ConfigurationFilesTest, ADataSourceFileWithByteOrderMarkReads) {
    TempDir dir;
    TBaseObjectList<TVDataSource> sources;
    sources.Add(Source("Temp", "\xC3\xA5"));
    const std::string utf8WithMark = "\xEF\xBB\xBF" + JsonText(ListToJson(sources)) + "\r\n";
    const auto path = dir.Write("local-datasources.json", utf8WithMark);
    EXPECT_EQ(ReadListFile<TVDataSource>(path)[0].Value(), "\xC3\xA5");
}

TEST(ConfigurationFilesTest, ReadFailuresNameTheirCause) {
    TempDir dir;
    const auto missing = DataSourcesFilePath(dir.Path().string());
    EXPECT_THAT([&] { ReadListFile<TVDataSource>(missing); },
                ThrowsMessage<EVorlixError>(
                    StrEq("Cannot open file \"" + missing.string() + "\". No such file or directory")));
    const auto lineBreakOnly = dir.Write("line-break.json", "\r\n");
    EXPECT_THAT([&] { ReadListFile<TVDataSource>(lineBreakOnly); },
                ThrowsMessage<EVorlixError>(StrEq("The input value is not a valid Object")));
    const auto truncated = dir.Write("truncated.json", TwoDisplaysFile.substr(0, 100));
    EXPECT_THAT([&] { ReadListFile<TVDisplay>(truncated); },
                ThrowsMessage<EVorlixError>(StrEq("The input value is not a valid Object")));
    const auto wrongList = dir.Write("local-datasources.json", TwoDisplaysFile);
    EXPECT_THAT(
        [&] { ReadListFile<TVDataSource>(wrongList); },
        ThrowsMessage<EVorlixError>(StrEq(
            "Internal: Cannot instantiate type JSONBaseObject.TBaseObjectList<JSONBaseObject.TVDisplay>")));
}

TEST(ConfigurationFilesTest, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const auto path = dir.Write("local-displays.json", TwoDisplaysFile);
    const auto blocked = dir.Path() / "local-displays.json" / "local-displays.json";
    EXPECT_THAT([&] { WriteListFile(blocked, TwoDisplays()); },
                ThrowsMessage<EVorlixError>(
                    StrEq("Cannot create file \"" + blocked.string() + "\". Not a directory")));
    EXPECT_EQ(dir.Read("local-displays.json"), TwoDisplaysFile);
}

} // namespace
