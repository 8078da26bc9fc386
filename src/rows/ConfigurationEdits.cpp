#include "rows/ConfigurationEdits.h"

#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceJSON.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayDatasourceExpression.h"
#include "datasources/DisplayType.h"
#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/TextFileSet.h"
#include "rows/ConfigurationLoad.h"
#include "rows/ConfigurationRow.h"
#include "rows/RowsFile.h"

#include <algorithm>

namespace {

bool ReadsOtherSources(int kind) {
    return kind == DisplayDataSourceType_Expression;
}

bool RefreshesOnInterval(int kind) {
    return kind == DisplayDataSourceType_File || kind == DisplayDataSourceType_JSON ||
           kind == DisplayDataSourceType_Expression;
}

bool IsOfferedSourceKind(int kind) {
    return kind == DisplayDataSourceType_Static || kind == DisplayDataSourceType_File ||
           kind == DisplayDataSourceType_REST || kind == DisplayDataSourceType_JSON ||
           kind == DisplayDataSourceType_Expression;
}

bool IsOfferedDisplayKind(int kind) {
    return kind == DisplayType_Debug || kind == DisplayType_Vorlix3Com || kind == DisplayType_Vorlix3Ip;
}

std::string Reference(const std::string& name) {
    return "[" + name + "]";
}

// Problems of the name `name` among `records`, leaving out place `index`.
template <typename TRecord, typename TSame>
void CheckName(const TBaseObjectList<TRecord>& records, std::size_t index, const std::string& name,
               const TSame& same, const char* taken, TEditProblems& problems) {
    if (name.empty()) {
        problems.push_back({TEditField::Name, "Namnet får inte vara tomt"});
        return;
    }
    for (std::size_t other = 0; other < records.Count(); ++other) {
        if (other != index && same(records[other].Name(), name)) {
            problems.push_back({TEditField::Name, SprintF(taken, records[other].Name())});
            return;
        }
    }
}

void CheckSourceConfiguration(const TConfigurationDraft& draft, const TVDataSource& edited,
                              TEditProblems& problems) {
    const int kind = edited.DataSourceType();
    if (kind == DisplayDataSourceType_File && edited.Configuration().empty()) {
        problems.push_back({TEditField::Configuration, "Ange vilken fil värdet läses från"});
    }
    if (kind == DisplayDataSourceType_Expression && edited.Configuration().empty()) {
        problems.push_back({TEditField::Configuration, "Ange ett uttryck"});
    }
    if (kind == DisplayDataSourceType_JSON) {
        const TDisplayDataSourceJSON json(edited.Name(), edited.Configuration());
        if (json.Source().empty()) {
            problems.push_back({TEditField::Configuration, "Ange adressen (URL)"});
        }
        if (json.Attribute().empty()) {
            problems.push_back({TEditField::Configuration, "Ange medlemmens namn"});
        }
    }
    if (ReadsOtherSources(kind)) {
        const TDisplayDatasourceExpression expression(edited.Name(), edited.Configuration());
        for (const std::string& name : expression.Variables()) {
            if (name != edited.Name() && !RecordPlace(draft.Sources, name)) {
                problems.push_back({TEditField::Configuration, "Okänd källa: " + Reference(name), false});
            }
        }
    }
    for (const TLogText& message : CreationMessages(edited)) {
        problems.push_back({TEditField::Configuration, message.Message, message.Level == LogType_Error});
    }
}

} // namespace

TRowSendCycle::TRows CopyRows(const TRowSendCycle::TRows& rows) {
    TRowSendCycle::TRows copies;
    for (const auto& row : rows) {
        copies.push_back(CopyRecord(*row));
    }
    return copies;
}

bool AnyBlocking(const TEditProblems& problems) {
    return std::ranges::any_of(problems, [](const TEditProblem& problem) { return problem.Blocking; });
}

std::optional<std::uint16_t> IntervalFromText(const std::string& text) {
    return WholeNumber<std::uint16_t>(text);
}

std::uint16_t SuggestedInterval(int kind) {
    switch (kind) {
    case DisplayDataSourceType_File:
        return 5000;
    case DisplayDataSourceType_JSON:
    case DisplayDataSourceType_Expression:
        return 1000;
    default:
        return 0;
    }
}

TEditProblems CheckSource(const TConfigurationDraft& draft, std::size_t index, const TVDataSource& edited,
                          const std::string& intervalText) {
    TEditProblems problems;
    CheckName(draft.Sources, index, edited.Name(), std::equal_to<>(), "Det finns redan en källa som heter %s",
              problems);
    // A name in brackets could not be referred to: the reference would end at its first ']'.
    if (edited.Name().find_first_of("[]") != std::string::npos) {
        problems.push_back({TEditField::Name, "Namnet får inte innehålla [ eller ]"});
    }
    if (!IsOfferedSourceKind(edited.DataSourceType())) {
        problems.push_back({TEditField::Kind, "Välj vilken sorts källa det är"});
    }
    const auto interval = IntervalFromText(intervalText);
    if (!interval) {
        problems.push_back({TEditField::Interval, "Intervallet ska vara ett heltal från 0 till 65535 ms"});
    } else if (*interval == 0 && RefreshesOnInterval(edited.DataSourceType())) {
        problems.push_back({TEditField::Interval, "Med intervallet 0 hämtas värdet aldrig", false});
    }
    CheckSourceConfiguration(draft, edited, problems);
    return problems;
}

TEditProblems CheckDisplay(const TConfigurationDraft& draft, std::size_t index, const TVDisplay& edited) {
    TEditProblems problems;
    CheckName(draft.Displays, index, edited.Name(), std::equal_to<>(),
              "Det finns redan en skärm som heter %s", problems);
    // The name is part of a file name; names alike but for blanks and underscores share one file.
    if (edited.Name().find_first_of("/\\") != std::string::npos) {
        problems.push_back({TEditField::Name, "Namnet får inte innehålla / eller \\"});
    } else if (problems.empty()) {
        CheckName(
            draft.Displays, index, edited.Name(),
            [](const std::string& a, const std::string& b) { return FrameName(a) == FrameName(b); },
            "Skärmen %s har samma radfil (mellanslag och _ räknas lika)", problems);
    }
    if (!IsOfferedDisplayKind(edited.DisplayType())) {
        problems.push_back({TEditField::Kind, "Välj vilken sorts skärm det är"});
    }
    if (edited.Width() != 64 && edited.Width() != 128) {
        problems.push_back({TEditField::Width, "Bredden ska vara 64 eller 128"});
    }
    if (IsOfferedDisplayKind(edited.DisplayType())) {
        for (const TLogText& message : CreationMessages(edited)) {
            problems.push_back({TEditField::Settings, message.Message, message.Level == LogType_Error});
        }
    }
    return problems;
}

std::vector<std::string> SourceUses(const TConfigurationDraft& draft, const std::string& name) {
    const std::string reference = Reference(name);
    std::vector<std::string> uses;
    for (const TVDisplay& display : draft.Displays) {
        if (display.ConfigurationString().find(reference) != std::string::npos) {
            uses.push_back(SprintF("Skärm %s: grundkonfigurationen", display.Name()));
        }
        const auto rows = draft.Rows.find(display.Name());
        if (rows == draft.Rows.end()) {
            continue;
        }
        for (std::size_t row = 0; row < rows->second.size(); ++row) {
            if (rows->second[row]->Text.find(reference) != std::string::npos) {
                uses.push_back(SprintF("Skärm %s, rad %d: %s", display.Name(), static_cast<int>(row + 1),
                                       rows->second[row]->Text));
            }
        }
    }
    for (const TVDataSource& source : draft.Sources) {
        if (ReadsOtherSources(source.DataSourceType()) && source.Name() != name &&
            source.Configuration().find(reference) != std::string::npos) {
            uses.push_back(SprintF("Uttrycket %s: %s", source.Name(), source.Configuration()));
        }
    }
    return uses;
}

std::string RenameReference(const std::string& text, const std::string& from, const std::string& to) {
    const std::string old = Reference(from);
    const std::string renamed = Reference(to);
    std::string result;
    std::size_t position = 0;
    for (std::size_t found = text.find(old); found != std::string::npos; found = text.find(old, position)) {
        result.append(text, position, found - position).append(renamed);
        position = found + old.size();
    }
    return result.append(text, position);
}

void RenameSourceReferences(TConfigurationDraft& draft, const std::string& from, const std::string& to) {
    for (TVDisplay& display : draft.Displays) {
        display.SetConfigurationString(RenameReference(display.ConfigurationString(), from, to));
    }
    for (auto& [display, rows] : draft.Rows) {
        for (auto& row : rows) {
            row->Text = RenameReference(row->Text, from, to);
        }
    }
    for (TVDataSource& source : draft.Sources) {
        if (ReadsOtherSources(source.DataSourceType())) {
            source.SetConfiguration(RenameReference(source.Configuration(), from, to));
        }
    }
}

void RenameDisplay(TConfigurationDraft& draft, std::size_t index, const std::string& name) {
    TVDisplay& display = draft.Displays[index];
    const std::string old = display.Name();
    if (old == name) {
        return;
    }
    if (auto rows = draft.Rows.extract(old)) {
        draft.Rows[name] = std::move(rows.mapped());
    }
    // A display renamed twice still has its rows file under the name it was loaded with.
    std::string original = old;
    for (auto entry = draft.RenamedDisplays.begin(); entry != draft.RenamedDisplays.end(); ++entry) {
        if (entry->second == old) {
            original = entry->first;
            draft.RenamedDisplays.erase(entry);
            break;
        }
    }
    if (original != name) {
        draft.RenamedDisplays[original] = name;
    }
    display.SetName(name);
}

bool IsEmptyInstallation(const std::filesystem::path& directory) {
    std::error_code ignored;
    return std::filesystem::is_directory(directory, ignored) &&
           !std::filesystem::exists(DataSourcesFilePath(directory.string()), ignored) &&
           !std::filesystem::exists(DisplaysFilePath(directory.string()), ignored);
}

void CreateEmptyConfiguration(const std::filesystem::path& directory) {
    TTextFileSet files;
    StageListFile(files, DataSourcesFilePath(directory.string()), TBaseObjectList<TVDataSource>(false));
    StageListFile(files, DisplaysFilePath(directory.string()), TBaseObjectList<TVDisplay>(false));
    files.Commit();
}

std::filesystem::path SetAsidePath(const std::filesystem::path& rowsFile) {
    std::error_code ignored;
    std::filesystem::path aside = rowsFile.string() + ".removed";
    for (int number = 2; std::filesystem::exists(aside, ignored); ++number) {
        aside = rowsFile.string() + ".removed" + std::to_string(number);
    }
    return aside;
}
