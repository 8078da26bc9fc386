#include "rows/RowsFile.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(RowsFile, NamesFollowTheDisplay) {
    EXPECT_EQ(FrameName("Entrance North Side"), "Frame_Entrance_North_Side");
    EXPECT_EQ(RowsFilePath("/cfg/", "Hall 2"), RowsFilePath("/cfg", "Hall 2"));
    EXPECT_EQ(RowsFilePath("/cfg", "Hall 2").filename(), "Frame_Hall_2-definedrows.json");
}

TEST(RowsFile, WritesTheListDocumentByteForByteAndReadsItBack) {
    TempDir dir;
    TRowSendCycle::TRows rows;
    rows.push_back(std::make_unique<TConfigurationRow>("Hej", 2, 0, 0, 1, 1000));
    auto parameter = std::make_unique<TConfigurationRow>("Temp", 0, 2, 3, 2, 60000);
    parameter->TextIsParameter = true;
    parameter->SetScrollspeed(7);
    rows.push_back(std::move(parameter));
    rows.push_back(std::make_unique<TConfigurationRow>("Kör \"fort\"", 8, 1, 0, 3, 0));
    const auto path = RowsFilePath(dir.Path().string(), "Hall");
    WriteRowsFile(path, rows);

    const std::string row =
        R"({"type":"ConfigurationRow.TConfigurationRow","id":%d,"fields":{"FLastFetchedArea":0,)"
        R"("FScrollSpeed":%d,"FSize":%d,"FAlign":%d,"FBackgroundColor":%d,"FForegroundColor":%d,)"
        R"("TextIsParameter":%s,"Text":"%s","Timeout":%d}})";
    const std::string expected =
        R"({"type":"JSONBaseObject.TBaseObjectList<ConfigurationRow.TConfigurationRow>","id":1,"fields":{)"
        R"("FOwnsObjects":false,"FItems":[)" +
        SprintF(row, 2, 0, 2, 0, 0, 1, "false", "Hej", 1000) + "," +
        SprintF(row, 3, 7, 0, 2, 3, 2, "true", "Temp", 60000) + "," +
        SprintF(row, 4, 0, 8, 1, 0, 3, "false", "K\xF6r \\\"fort\\\"", 0) +
        R"(,null],"FCount":3,"FArrayManager":{"type":"System.Generics.Collections.)"
        R"(TMoveArrayManager<ConfigurationRow.TConfigurationRow>","id":5,"fields":{}}}})"
        "\r\n";
    EXPECT_EQ(dir.Read("Frame_Hall-definedrows.json"), expected);

    const auto read = ReadRowsFile(path);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1]->Text, "Temp");
    EXPECT_TRUE(read[1]->TextIsParameter);
    EXPECT_EQ(read[1]->Scrollspeed(), 7);
    EXPECT_EQ(read[1]->Timeout, 60000u);
    EXPECT_EQ(read[2]->Text, "Kör \"fort\"");
}

TEST(RowsFile, NoRowsIsNullAndStoredValuesAreTakenAsTheyStand) {
    TempDir dir;
    WriteRowsFile(dir / "empty.json", {});
    EXPECT_EQ(dir.Read("empty.json"), "null\r\n");
    EXPECT_TRUE(ReadRowsFile(dir / "empty.json").empty());

    dir.Write("odd.json",
              R"({"type":"JSONBaseObject.TBaseObjectList<ConfigurationRow.TConfigurationRow>","id":1,)"
              R"("fields":{"FOwnsObjects":false,"FItems":[{"type":"ConfigurationRow.TConfigurationRow",)"
              R"("id":2,"fields":{"FScrollSpeed":200,"FSize":12}}],"FCount":1,"FArrayManager":{}}})");
    const auto rows = ReadRowsFile(dir / "odd.json");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->Scrollspeed(), 200);
    EXPECT_EQ(rows[0]->Size(), 12);
}

TEST(RowsFile, ReadFailuresNameTheFile) {
    TempDir dir;
    const auto missing = dir / "Frame_X-definedrows.json";
    try {
        ReadRowsFile(missing);
        FAIL() << "a missing file must fail";
    } catch (const EVorlixError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Error while reading configurationrows from file \"" + missing.string() +
                                 "\": Cannot open file",
                             0),
                  0u)
            << error.what();
    }
    dir.Write("bad.json", "{not json");
    EXPECT_THROW(ReadRowsFile(dir / "bad.json"), EVorlixError);
}

} // namespace
