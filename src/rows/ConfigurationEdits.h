#pragma once

#include "config/BaseObjectList.h"
#include "config/VDataSource.h"
#include "config/VDisplay.h"
#include "rows/RowSendCycle.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The configuration as the operator edits it in the window: copies of the records and of every
// display's rows, changed freely and then run and saved as a whole.
struct TConfigurationDraft {
    TBaseObjectList<TVDataSource> Sources;
    TBaseObjectList<TVDisplay> Displays;
    // By display name.
    std::map<std::string, TRowSendCycle::TRows> Rows;
    // Displays renamed in this draft: old name to new, so that their rows files follow them.
    std::map<std::string, std::string> RenamedDisplays;
};

// Copies of records, in order.
template <typename T> std::unique_ptr<T> CopyRecord(const T& record) {
    auto copy = std::make_unique<T>();
    copy->Assign(record);
    return copy;
}
template <typename T> TBaseObjectList<T> CopyRecords(const TBaseObjectList<T>& records) {
    TBaseObjectList<T> copies;
    for (const T& record : records) {
        copies.Add(CopyRecord(record));
    }
    return copies;
}
TRowSendCycle::TRows CopyRows(const TRowSendCycle::TRows& rows);

// The records' names, in order.
template <typename T> std::vector<std::string> RecordNames(const TBaseObjectList<T>& records) {
    std::vector<std::string> names;
    for (const T& record : records) {
        names.push_back(record.Name());
    }
    return names;
}
// The place of the record named `name`, if there is one.
template <typename T>
std::optional<std::size_t> RecordPlace(const TBaseObjectList<T>& records, const std::string& name) {
    for (std::size_t index = 0; index < records.Count(); ++index) {
        if (records[index].Name() == name) {
            return index;
        }
    }
    return std::nullopt;
}

// What the operator typed that is wrong or doubtful, and next to which field it belongs.
enum class TEditField { Name, Kind, Interval, Configuration, Width, Settings };
struct TEditProblem {
    TEditField Field;
    std::string Message;
    // False for a doubt that does not stop saving (an expression naming an unknown source).
    bool Blocking = true;
};
using TEditProblems = std::vector<TEditProblem>;
bool AnyBlocking(const TEditProblems& problems);

// The interval text as milliseconds, when it is a whole number from 0 to 65535.
std::optional<std::uint16_t> IntervalFromText(const std::string& text);

// The interval a new source of `kind` starts with: how often its kind is usually fetched, 0 for the
// kinds that need none.
std::uint16_t SuggestedInterval(int kind);

// The problems of `edited`, meant for place `index` of the draft's sources (the count for a new
// one), with the interval as typed.
TEditProblems CheckSource(const TConfigurationDraft& draft, std::size_t index, const TVDataSource& edited,
                          const std::string& intervalText);
// The problems of `edited`, meant for place `index` of the draft's displays; the settings get the
// messages the display's client gives for them.
TEditProblems CheckDisplay(const TConfigurationDraft& draft, std::size_t index, const TVDisplay& edited);

// Where the source `name` is used, a line each: rows, expressions and display configuration
// strings that refer to it in square brackets.
std::vector<std::string> SourceUses(const TConfigurationDraft& draft, const std::string& name);
// `text` with every reference "[from]" turned into "[to]".
std::string RenameReference(const std::string& text, const std::string& from, const std::string& to);
// Renames every reference to the source `from` in rows, expressions and display configuration
// strings (not the source itself).
void RenameSourceReferences(TConfigurationDraft& draft, const std::string& from, const std::string& to);
// Renames the display at `index`, its rows going with it.
void RenameDisplay(TConfigurationDraft& draft, std::size_t index, const std::string& name);

// A start in `directory` that finds neither configuration file: a new installation.
bool IsEmptyInstallation(const std::filesystem::path& directory);
// Writes both configuration files without records, as a save of an empty configuration does.
void CreateEmptyConfiguration(const std::filesystem::path& directory);

// Where the rows file of a removed display is kept: its name with ".removed", numbered when that
// is taken.
std::filesystem::path SetAsidePath(const std::filesystem::path& rowsFile);
