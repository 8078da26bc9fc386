#include "model/LocalViewModel.h"

#include "config/ConfigurationFiles.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

std::string Source(int id, const std::string& name, int type, int valueType, int timeout,
                   const std::string& configuration) {
    return SprintF(
        R"({"type":"JSONBaseObject.TVDataSource","id":%d,"fields":{"FName":"%s","FDescription":"",)"
        R"("FPublicChangeable":false,"FDataSourceType":%d,"FValueType":%d,"FTimeout":%d,)"
        R"("FConfiguration":"%s","FValue":""}})",
        id, name, type, valueType, timeout, configuration);
}

std::string List(const std::string& recordClass, const std::vector<std::string>& records) {
    std::string items;
    std::size_t capacity = 1;
    while (capacity < records.size()) {
        capacity *= 2;
    }
    for (std::size_t i = 0; i < capacity; ++i) {
        items += (i > 0 ? "," : "") + (i < records.size() ? records[i] : std::string("null"));
    }
    return SprintF(
               R"({"type":"JSONBaseObject.TBaseObjectList<JSONBaseObject.%s>","id":1,"fields":{)"
               R"("FOwnsObjects":false,"FItems":[%s],"FCount":%d,"FArrayManager":{"type":)"
               R"("System.Generics.Collections.TMoveArrayManager<JSONBaseObject.%s>","id":%d,"fields":{}}}})",
               recordClass, items, static_cast<int>(records.size()), recordClass,
               static_cast<int>(records.size()) + 2) +
           "\r\n";
}

std::string Display(int id, const std::string& name, int type, const std::string& settings) {
    return SprintF(R"({"type":"JSONBaseObject.TVDisplay","id":%d,"fields":{"FName":"%s","FDisplayType":%d,)"
                   R"("FWidth":64,"FBrightness":100,"FDisplaySettings":"%s","FConfigurationString":""}})",
                   id, name, type, settings);
}

class LocalViewModelTest : public ::testing::Test {
protected:
    void Write(const std::vector<std::string>& sources, const std::vector<std::string>& displays) {
        dir.Write("local-datasources.json", sources.empty() ? "null\r\n" : List("TVDataSource", sources));
        dir.Write("local-displays.json", displays.empty() ? "null\r\n" : List("TVDisplay", displays));
    }
    std::string Dir() const { return dir.Path().string(); }

    TempDir dir;
    TLocalViewModel model;
    std::vector<std::string> log;
};

TEST_F(LocalViewModelTest, LoadsMergesDuplicatesAndSavesTheSameBytes) {
    Write({Source(2, "A", 1, 0, 0, "first"), Source(3, "B", 1, 0, 0, "b"), Source(4, "A", 1, 0, 0, "second")},
          {Display(2, "Debug", 0, ""), Display(3, "Old", 1, "")});
    model.LoadFromDictionary(Dir());
    ASSERT_EQ(model.DataSourceRecords().Count(), 2u);
    EXPECT_EQ(model.DataSourceRecords()[0].Configuration(), "second");
    EXPECT_EQ(model.DisplayRecords().Count(), 2u);
    EXPECT_NE(model.GetDisplayClientFromCache("Debug"), nullptr);
    EXPECT_EQ(model.GetDisplayClientFromCache("Old"), nullptr) << "no client for this display type";
    EXPECT_EQ(model.GetDisplay("debug"), nullptr) << "names compare case-sensitively";

    TempDir saved;
    model.SaveToDictionary(saved.Path().string() + "/");
    EXPECT_EQ(saved.Read("local-displays.json"), dir.Read("local-displays.json"));
    EXPECT_EQ(saved.Read("local-datasources.json"),
              List("TVDataSource", {Source(2, "A", 1, 0, 0, "second"), Source(3, "B", 1, 0, 0, "b")}));
}

TEST_F(LocalViewModelTest, NullDataSourceFileStillReadsTheDisplays) {
    Write({}, {Display(2, "Debug", 0, "")});
    model.LoadFromDictionary(Dir());
    EXPECT_EQ(model.DataSourceRecords().Count(), 0u);
    EXPECT_EQ(model.DisplayRecords().Count(), 1u);
}

TEST_F(LocalViewModelTest, MissingFilesFailTheLoadAndAMissingDirectoryLoadsNothing) {
    EXPECT_THROW(model.LoadFromDictionary(Dir()), EVorlixError);
    dir.Write("local-datasources.json", List("TVDataSource", {Source(2, "A", 1, 0, 0, "x")}));
    try {
        model.LoadFromDictionary(Dir());
        FAIL() << "the display file is missing";
    } catch (const EVorlixError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"", 0), 0u) << error.what();
    }
    EXPECT_EQ(model.DataSourceRecords().Count(), 1u) << "what was read before the fault stays";
    EXPECT_NO_THROW(model.LoadFromDictionary((dir / "nowhere").string()));
}

TEST_F(LocalViewModelTest, CollectionPassPublishesRefreshedSourcesAndGoesOnPastFailures) {
    dir.Write("values.txt", "1\r\n2\r\n");
    std::filesystem::create_directory(dir / "folder");
    Write({Source(2, "Date", 1, 10, 0, "not a date"), Source(3, "Broken", 6, 5, 1000, "[Date]"),
           Source(4, "Lines", 2, 0, 1000, (dir / "values.txt").string()),
           Source(5, "Folder", 2, 0, 1000, (dir / "folder").string())},
          {});
    model.SetOnLogMessage(
        [this](const std::string& source, const std::string& msg) { log.push_back(source + "|" + msg); });
    model.LoadFromDictionary(Dir());
    for (int pass = 0; pass < 5; ++pass) {
        model.CollectData();
    }
    EXPECT_EQ(model.DataSourceRecords()[2].Value(), "1,2");
    EXPECT_EQ(model.DataSourceRecords()[0].Value(), "\"not a date\"");
    EXPECT_NE(
        std::find(log.begin(), log.end(),
                  "TLocalViewModel| ERROR: Error while refreshing datasource Broken:'not a date' is not a "
                  "valid date and time"),
        log.end());
    const auto fileErrors = std::count_if(log.begin(), log.end(), [](const std::string& line) {
        return line.rfind("TDisplayDataSourceFile|", 0) == 0;
    });
    EXPECT_EQ(fileErrors, 1) << "a repeated message of a source is not repeated in the log";
}

TEST_F(LocalViewModelTest, NotesEachSourcesLastChangeAndLastFailure) {
    Write({Source(2, "Date", 1, 10, 0, "not a date"), Source(3, "Broken", 6, 5, 1, "[Date]"),
           Source(4, "Pushed", 3, 0, 0, "")},
          {});
    TestClock clock;
    std::vector<std::string> changed;
    model.SetOnValueChanged(
        [&changed](const TDisplayDataSourceBase& source) { changed.push_back(source.Name()); });
    model.LoadFromDictionary(Dir());
    model.CollectData();
    EXPECT_EQ(changed, (std::vector<std::string>{"Date"}));
    const TDateTime first = model.SourceStatus("Date").Changed;
    EXPECT_EQ(first, clock.Now());
    EXPECT_EQ(model.SourceStatus("Pushed").Changed, 0) << "never had a value";

    clock.Advance(1000);
    model.CollectData();
    EXPECT_EQ(changed.size(), 1u) << "republishing the same value is no change";
    EXPECT_EQ(model.SourceStatus("Date").Changed, first);
    EXPECT_EQ(model.SourceStatus("Broken").LastError, "'not a date' is not a valid date and time");
    EXPECT_EQ(model.SourceStatus("Broken").ErrorCount, 2u);

    model.GetDatasourceFromCache("Pushed")->Value.Add("7");
    model.CollectData();
    EXPECT_EQ(changed, (std::vector<std::string>{"Date", "Pushed"}));
    EXPECT_EQ(model.SourceStatus("Pushed").Changed, clock.Now());
    EXPECT_EQ(model.SourceStatus("Nobody").ErrorCount, 0u);
}

TEST_F(LocalViewModelTest, PushSourceChangeAppendsOrReplacesAndReconfigures) {
    Write({Source(2, "A", 1, 0, 0, "old")}, {});
    model.LoadFromDictionary(Dir());
    model.CollectData();
    TVDataSource edited;
    edited.SetName("A");
    edited.SetDataSourceType(1);
    edited.SetConfiguration("new");
    model.PushSourceChange(edited);
    model.CollectData();
    EXPECT_EQ(model.GetDatasourceFromCache("A")->Value.Text(), "new\r\n");
    EXPECT_EQ(model.DataSourceRecords()[0].Value(), "new");

    edited.SetName("B");
    model.PushSourceChange(edited);
    model.CollectData();
    ASSERT_EQ(model.DataSourceRecords().Count(), 2u);
    ASSERT_NE(model.GetDatasourceFromCache("B"), nullptr);
    EXPECT_EQ(model.GetDatasources().size(), 2u);
}

TEST_F(LocalViewModelTest, ReplacingTheConfigurationKeepsTheClientsOfUnchangedDisplaysOnly) {
    Write({Source(2, "Old", 1, 0, 0, "old")},
          {Display(2, "Kept", 4, "127.0.0.1:1"), Display(3, "Changed", 4, "127.0.0.1:2"),
           Display(4, "Removed", 4, "127.0.0.1:3")});
    model.LoadFromDictionary(Dir());
    model.CollectData();
    TDisplayClientBase* const kept = model.GetDisplayClientFromCache("Kept");
    ASSERT_NE(kept, nullptr);

    Write({Source(2, "New", 1, 0, 0, "new")},
          {Display(2, "Added", 0, ""), Display(3, "Changed", 4, "127.0.0.1:4"),
           Display(4, "Kept", 4, "127.0.0.1:1")});
    const std::vector<TDisplayClientBase*> created =
        model.ReplaceConfiguration(ReadListFile<TVDataSource>(DataSourcesFilePath(Dir())),
                                   ReadListFile<TVDisplay>(DisplaysFilePath(Dir())));

    EXPECT_EQ(model.GetDisplayClientFromCache("Kept"), kept);
    EXPECT_EQ(model.GetDisplayClientFromCache("Removed"), nullptr);
    ASSERT_NE(model.GetDisplayClientFromCache("Changed"), nullptr);
    EXPECT_EQ(model.GetDisplayClientFromCache("Changed")->BaseConfiguration(), "127.0.0.1:4");
    const std::vector<TDisplayClientBase*> expectedCreated{model.GetDisplayClientFromCache("Added"),
                                                           model.GetDisplayClientFromCache("Changed")};
    EXPECT_EQ(created, expectedCreated);
    EXPECT_EQ(model.GetDisplays(),
              (std::vector<TDisplayClientBase*>{expectedCreated[0], expectedCreated[1], kept}))
        << "in the order of the new file";
    ASSERT_EQ(model.DisplayRecords().Count(), 3u);
    EXPECT_EQ(model.DisplayRecords()[0].Name(), "Added");

    ASSERT_EQ(model.DataSourceRecords().Count(), 1u);
    EXPECT_EQ(model.GetDatasourceFromCache("Old"), nullptr);
    model.CollectData();
    ASSERT_NE(model.GetDatasourceFromCache("New"), nullptr);
    EXPECT_EQ(model.GetDatasourceFromCache("New")->Value.Text(), "new\r\n");
}

} // namespace
