#include "rows/ConfigurationEdits.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "rows/ConfigurationRow.h"
#include "rows/DisplaySession.h"
#include "rows/RowsFile.h"
#include "support/ConfigurationDir.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TVDataSource& AddSource(TConfigurationDraft& draft, const std::string& name, int kind,
                        const std::string& configuration) {
    auto record = std::make_unique<TVDataSource>();
    record->SetName(name);
    record->SetDataSourceType(kind);
    record->SetConfiguration(configuration);
    return draft.Sources.Add(std::move(record));
}

TVDisplay& AddDisplay(TConfigurationDraft& draft, const std::string& name, int kind,
                      const std::string& settings) {
    auto record = std::make_unique<TVDisplay>();
    record->SetName(name);
    record->SetDisplayType(kind);
    record->SetWidth(128);
    record->SetDisplaySettings(settings);
    return draft.Displays.Add(std::move(record));
}

// A draft with the sources Counter, Deadline and Total ([Counter]*2) and the display Hall, whose
// rows show Counter and Deadline.
TConfigurationDraft SampleDraft() {
    TConfigurationDraft draft;
    AddSource(draft, "Counter", DisplayDataSourceType_Static, "4");
    AddSource(draft, "Deadline", DisplayDataSourceType_Static, "2026-12-24");
    AddSource(draft, "Total", DisplayDataSourceType_Expression, "[Counter]*2");
    AddDisplay(draft, "Hall", DisplayType_Debug, "").SetConfigurationString("-x[Counter]");
    draft.Rows["Hall"].push_back(TextRow("Count [Counter] of [Counter]"));
    draft.Rows["Hall"].push_back(TextRow("Until [Deadline]"));
    return draft;
}

struct SourceCase {
    const char* Title;
    std::string Name;
    int Kind;
    std::string Configuration;
    std::string Interval;
    // Each problem as field number and message; blocking ones start with '!'.
    std::vector<std::pair<TEditField, std::string>> Expected;
};

std::vector<std::pair<TEditField, std::string>> Described(const TEditProblems& problems) {
    std::vector<std::pair<TEditField, std::string>> described;
    for (const TEditProblem& problem : problems) {
        described.emplace_back(problem.Field, (problem.Blocking ? "!" : "") + problem.Message);
    }
    return described;
}

TEST(ConfigurationEditsTest, ChecksWhatTheOperatorTypesForASource) {
    const TempDir files;
    const std::string existing = files.Write("value.txt", "12").string();
    const std::string missing = (files / "later.txt").string();
    const std::vector<SourceCase> cases = {
        {"a new static source", "Greeting", DisplayDataSourceType_Static, "Hej", "0", {}},
        {"an empty name",
         "",
         DisplayDataSourceType_Static,
         "Hej",
         "0",
         {{TEditField::Name, "!Namnet får inte vara tomt"}}},
        {"a name taken",
         "Counter",
         DisplayDataSourceType_Static,
         "1",
         "0",
         {{TEditField::Name, "!Det finns redan en källa som heter Counter"}}},
        {"names differ in case", "counter", DisplayDataSourceType_Static, "1", "0", {}},
        {"brackets",
         "A[1]",
         DisplayDataSourceType_Static,
         "1",
         "0",
         {{TEditField::Name, "!Namnet får inte innehålla [ eller ]"}}},
        {"no kind",
         "X",
         DisplayDataSourceType_None,
         "",
         "0",
         {{TEditField::Kind, "!Välj vilken sorts källa det är"}}},
        {"SQL is not offered",
         "X",
         DisplayDataSourceType_SQL,
         "",
         "0",
         {{TEditField::Kind, "!Välj vilken sorts källa det är"}}},
        {"interval too large",
         "X",
         DisplayDataSourceType_Static,
         "1",
         "65536",
         {{TEditField::Interval, "!Intervallet ska vara ett heltal från 0 till 65535 ms"}}},
        {"interval not a number",
         "X",
         DisplayDataSourceType_Static,
         "1",
         "1 s",
         {{TEditField::Interval, "!Intervallet ska vara ett heltal från 0 till 65535 ms"}}},
        {"negative interval",
         "X",
         DisplayDataSourceType_Static,
         "1",
         "-1",
         {{TEditField::Interval, "!Intervallet ska vara ett heltal från 0 till 65535 ms"}}},
        {"largest interval", "X", DisplayDataSourceType_File, existing, "65535", {}},
        {"a file source never read",
         "X",
         DisplayDataSourceType_File,
         existing,
         "0",
         {{TEditField::Interval, "Med intervallet 0 hämtas värdet aldrig"}}},
        {"a file source without a file",
         "X",
         DisplayDataSourceType_File,
         "",
         "1000",
         {{TEditField::Configuration, "!Ange vilken fil värdet läses från"},
          {TEditField::Configuration, "Datasource X is missing source file  on startup"}}},
        {"a missing file, that may come later",
         "X",
         DisplayDataSourceType_File,
         missing,
         "1000",
         {{TEditField::Configuration, "Datasource X is missing source file " + missing + " on startup"}}},
        {"JSON without a member",
         "X",
         DisplayDataSourceType_JSON,
         "http://127.0.0.1/x",
         "1000",
         {{TEditField::Configuration, "!Ange medlemmens namn"}}},
        {"JSON with neither part",
         "X",
         DisplayDataSourceType_JSON,
         "|",
         "1000",
         {{TEditField::Configuration, "!Ange adressen (URL)"},
          {TEditField::Configuration, "!Ange medlemmens namn"}}},
        {"JSON with both parts", "X", DisplayDataSourceType_JSON, "http://127.0.0.1/x|temp", "1000", {}},
        {"an empty expression",
         "X",
         DisplayDataSourceType_Expression,
         "",
         "100",
         {{TEditField::Configuration, "!Ange ett uttryck"}}},
        {"an expression of known sources",
         "X",
         DisplayDataSourceType_Expression,
         "[Counter]+[Total]",
         "100",
         {}},
        {"an expression naming unknown sources",
         "X",
         DisplayDataSourceType_Expression,
         "[Counter]+[Nope]+[Gone]",
         "100",
         {{TEditField::Configuration, "Okänd källa: [Nope]"},
          {TEditField::Configuration, "Okänd källa: [Gone]"}}},
    };
    const TConfigurationDraft draft = SampleDraft();
    for (const SourceCase& sample : cases) {
        TVDataSource edited;
        edited.SetName(sample.Name);
        edited.SetDataSourceType(sample.Kind);
        edited.SetConfiguration(sample.Configuration);
        const TEditProblems problems = CheckSource(draft, draft.Sources.Count(), edited, sample.Interval);
        EXPECT_EQ(Described(problems), sample.Expected) << sample.Title;
        EXPECT_EQ(
            AnyBlocking(problems),
            std::ranges::any_of(sample.Expected, [](const auto& e) { return e.second.starts_with('!'); }))
            << sample.Title;
    }
}

TEST(ConfigurationEditsTest, ANewSourceIsFetchedAsOftenAsItsKindUsuallyIs) {
    const std::vector<std::pair<int, int>> cases = {{DisplayDataSourceType_Static, 0},
                                                    {DisplayDataSourceType_File, 5000},
                                                    {DisplayDataSourceType_REST, 0},
                                                    {DisplayDataSourceType_JSON, 1000},
                                                    {DisplayDataSourceType_Expression, 1000}};
    for (const auto& [kind, interval] : cases) {
        EXPECT_EQ(SuggestedInterval(kind), interval) << kind;
        TVDataSource edited;
        edited.SetName("X");
        edited.SetDataSourceType(kind);
        edited.SetConfiguration("[Counter]");
        const TEditProblems problems =
            CheckSource(TConfigurationDraft(), 0, edited, std::to_string(interval));
        EXPECT_TRUE(std::ranges::none_of(problems, [](const TEditProblem& p) {
            return p.Field == TEditField::Interval;
        })) << kind;
    }
}

TEST(ConfigurationEditsTest, ASourceKeepsItsOwnNameWhenChanged) {
    const TConfigurationDraft draft = SampleDraft();
    EXPECT_TRUE(CheckSource(draft, 0, draft.Sources[0], "0").empty());
    EXPECT_EQ(Described(CheckSource(draft, 1, draft.Sources[0], "0")),
              (std::vector<std::pair<TEditField, std::string>>{
                  {TEditField::Name, "!Det finns redan en källa som heter Counter"}}));
}

TEST(ConfigurationEditsTest, ChecksADisplayWithItsClientsMessages) {
    struct DisplayCase {
        const char* Title;
        std::string Name;
        int Kind;
        int Width;
        std::string Settings;
        std::vector<std::pair<TEditField, std::string>> Expected;
    };
    const std::vector<DisplayCase> cases = {
        {"a TCP display", "Entrance", DisplayType_Vorlix3Ip, 128, "127.0.0.1:3027", {}},
        {"a TCP display without a port",
         "Entrance",
         DisplayType_Vorlix3Ip,
         64,
         "127.0.0.1",
         {{TEditField::Settings, "Configured address is not including port. using 3027 as default port"}}},
        {"a TCP display without an address",
         "Entrance",
         DisplayType_Vorlix3Ip,
         128,
         "",
         {{TEditField::Settings, "!Configurationstring is not valid: should be: [IPAdress]:[portnumber]"}}},
        {"a serial display by number", "Entrance", DisplayType_Vorlix3Com, 128, "3", {}},
        {"a serial display by device", "Entrance", DisplayType_Vorlix3Com, 128, "/dev/ttyUSB0", {}},
        {"a serial display without a port",
         "Entrance",
         DisplayType_Vorlix3Com,
         128,
         "COM",
         {{TEditField::Settings, "!Could not parse COM to a valid comportnumber"}}},
        {"a debug display", "Entrance", DisplayType_Debug, 128, "", {}},
        {"a name taken",
         "Hall",
         DisplayType_Debug,
         128,
         "",
         {{TEditField::Name, "!Det finns redan en skärm som heter Hall"}}},
        {"the same rows file",
         "Big_Hall",
         DisplayType_Debug,
         128,
         "",
         {{TEditField::Name, "!Skärmen Big Hall har samma radfil (mellanslag och _ räknas lika)"}}},
        {"a slash",
         "A/B",
         DisplayType_Debug,
         128,
         "",
         {{TEditField::Name, "!Namnet får inte innehålla / eller \\"}}},
        {"an empty name", "", DisplayType_Debug, 128, "", {{TEditField::Name, "!Namnet får inte vara tomt"}}},
        {"a kind without a client",
         "Entrance",
         DisplayType_Vorlix2Ip,
         128,
         "",
         {{TEditField::Kind, "!Välj vilken sorts skärm det är"}}},
        {"a width not offered",
         "Entrance",
         DisplayType_Debug,
         96,
         "",
         {{TEditField::Width, "!Bredden ska vara 64 eller 128"}}},
    };
    TConfigurationDraft draft = SampleDraft();
    AddDisplay(draft, "Big Hall", DisplayType_Debug, "");
    for (const DisplayCase& sample : cases) {
        TVDisplay edited;
        edited.SetName(sample.Name);
        edited.SetDisplayType(sample.Kind);
        edited.SetWidth(sample.Width);
        edited.SetDisplaySettings(sample.Settings);
        EXPECT_EQ(Described(CheckDisplay(draft, draft.Displays.Count(), edited)), sample.Expected)
            << sample.Title;
    }
}

TEST(ConfigurationEditsTest, ListsEveryUseOfASource) {
    const TConfigurationDraft draft = SampleDraft();
    EXPECT_EQ(SourceUses(draft, "Counter"),
              (std::vector<std::string>{"Skärm Hall: grundkonfigurationen",
                                        "Skärm Hall, rad 1: Count [Counter] of [Counter]",
                                        "Uttrycket Total: [Counter]*2"}));
    EXPECT_EQ(SourceUses(draft, "Deadline"), std::vector<std::string>{"Skärm Hall, rad 2: Until [Deadline]"});
    EXPECT_TRUE(SourceUses(draft, "Total").empty());
    EXPECT_TRUE(SourceUses(draft, "counter").empty()) << "names are case-sensitive";
}

TEST(ConfigurationEditsTest, RenamesReferencesOnly) {
    const std::vector<std::array<std::string, 2>> cases = {
        {"[Counter]", "[Count]"},
        {"[Counter]*[Counter]", "[Count]*[Count]"},
        {"Counter [Counter2] [counter]", "Counter [Counter2] [counter]"},
        {"", ""},
        {"[Counter", "[Counter"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(RenameReference(text, "Counter", "Count"), expected) << text;
    }
    TConfigurationDraft draft = SampleDraft();
    RenameSourceReferences(draft, "Counter", "Count");
    EXPECT_EQ(draft.Rows["Hall"][0]->Text, "Count [Count] of [Count]");
    EXPECT_EQ(draft.Rows["Hall"][1]->Text, "Until [Deadline]");
    EXPECT_EQ(draft.Sources[2].Configuration(), "[Count]*2");
    EXPECT_EQ(draft.Sources[0].Name(), "Counter") << "the source itself is renamed by its editor";
    EXPECT_EQ(draft.Displays[0].ConfigurationString(), "-x[Count]");
}

TEST(ConfigurationEditsTest, ARenamedDisplayTakesItsRowsAlong) {
    TConfigurationDraft draft = SampleDraft();
    RenameDisplay(draft, 0, "Lobby");
    RenameDisplay(draft, 0, "Foyer");
    EXPECT_EQ(draft.Displays[0].Name(), "Foyer");
    ASSERT_TRUE(draft.Rows.contains("Foyer"));
    EXPECT_EQ(draft.Rows["Foyer"].size(), 2u);
    EXPECT_EQ(draft.RenamedDisplays, (std::map<std::string, std::string>{{"Hall", "Foyer"}}));
    RenameDisplay(draft, 0, "Hall");
    EXPECT_TRUE(draft.RenamedDisplays.empty());
}

class ApplyTest : public ::testing::Test {
protected:
    ApplyTest() {
        config.AddSource("Counter", DisplayDataSourceType_Static, 0, "4");
        config.AddDisplay("Hall", DisplayType_Debug);
        config.AddDisplay("Office", DisplayType_Debug);
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Count [Counter]"));
        config.WriteRows("Hall", rows);
        config.WriteRows("Office", rows);
        session.Start();
    }
    TestClock clock;
    ConfigurationDir config;
    TDisplaySession session{config.Path(), {}, clock};
};

TEST_F(ApplyTest, RunsAndWritesTheDraftAndKeepsTheRowsOfWhatWasRemoved) {
    TConfigurationDraft draft = session.Draft();
    AddSource(draft, "Greeting", DisplayDataSourceType_Static, "Hej");
    RenameDisplay(draft, 0, "Lobby");
    draft.Displays.Extract(1);
    draft.Rows.erase("Office");
    ASSERT_TRUE(session.Apply(std::move(draft)));

    ASSERT_NE(session.Model().GetDatasourceFromCache("Greeting"), nullptr) << "a new source runs at once";
    ASSERT_EQ(session.Cycles().size(), 1u);
    EXPECT_EQ(session.Cycles()[0]->Name(), "Lobby");
    const auto files = config.Dir().Contents();
    EXPECT_FALSE(files.contains("Frame_Hall-definedrows.json")) << "renamed";
    EXPECT_EQ(config.ReadRows("Lobby").size(), 1u);
    EXPECT_FALSE(files.contains("Frame_Office-definedrows.json"));
    EXPECT_TRUE(files.contains("Frame_Office-definedrows.json.removed")) << "set aside";

    // What was applied is what a save of the running session writes, byte for byte, but for the
    // value the new source has since produced.
    session.SaveAll();
    auto saved = config.Dir().Contents();
    EXPECT_NE(saved.at("local-datasources.json").find(R"("FConfiguration":"Hej","FValue":"Hej")"),
              std::string::npos);
    saved.erase("local-datasources.json");
    auto applied = files;
    applied.erase("local-datasources.json");
    EXPECT_EQ(saved, applied);
    TDisplaySession again(config.Path(), {}, clock);
    again.Start();
    EXPECT_EQ(again.Model().DataSourceRecords().Count(), 2u);
    EXPECT_EQ(again.Cycle("Lobby")->Rows().size(), 1u);
}

TEST_F(ApplyTest, AFailedWriteChangesNothing) {
    const auto before = config.Dir().Contents();
    TConfigurationDraft draft = session.Draft();
    AddSource(draft, "Greeting", DisplayDataSourceType_Static, "Hej");
    // A directory where a rows file must go makes the whole write fail.
    std::filesystem::create_directory(RowsFilePath(config.Path(), "Lobby"));
    RenameDisplay(draft, 0, "Lobby");
    EXPECT_FALSE(session.Apply(std::move(draft)));
    EXPECT_FALSE(session.LastSaveError().empty());
    auto after = config.Dir().Contents();
    after.erase("Frame_Lobby-definedrows.json");
    EXPECT_EQ(after, before);
    EXPECT_EQ(session.Model().DataSourceRecords().Count(), 1u);
    EXPECT_NE(session.Cycle("Hall"), nullptr);
}

TEST(ConfigurationEditsTest, ANewInstallationStartsFromTwoEmptyFiles) {
    ConfigurationDir config;
    EXPECT_TRUE(IsEmptyInstallation(config.Path()));
    CreateEmptyConfiguration(config.Path());
    EXPECT_FALSE(IsEmptyInstallation(config.Path()));
    EXPECT_EQ(config.Dir().Contents(),
              (std::map<std::string, std::string>{{"local-datasources.json", "null\r\n"},
                                                  {"local-displays.json", "null\r\n"}}));
    std::filesystem::remove(DisplaysFilePath(config.Path()));
    EXPECT_FALSE(IsEmptyInstallation(config.Path())) << "one file alone is a broken installation";
}

TEST(ConfigurationEditsTest, SetsARemovedFileAsideWithoutOverwriting) {
    ConfigurationDir config;
    const auto file = config.Dir().Write("Frame_A-definedrows.json", "null\r\n");
    EXPECT_EQ(SetAsidePath(file), file.string() + ".removed");
    config.Dir().Write("Frame_A-definedrows.json.removed", "old");
    EXPECT_EQ(SetAsidePath(file), file.string() + ".removed2");
}

} // namespace
