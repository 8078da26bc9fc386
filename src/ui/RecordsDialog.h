#pragma once

#include "rows/ConfigurationEdits.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// A dialog that edits one list of records of the running configuration: the list at the left with
// "Lägg till" and "Ta bort", the chosen record's form at the right with "Spara", "Avbryt" and
// "Stäng". Each change saved is applied at once, as a whole draft of the configuration.
class TRecordsDialog : public QDialog {
public:
    // A fresh copy of the running configuration; applying a draft answers whether it was saved.
    using TDraftSource = std::function<TConfigurationDraft()>;
    using TApply = std::function<bool(TConfigurationDraft)>;

protected:
    TRecordsDialog(const QString& title, const QString& recordTip, TDraftSource draftSource, TApply apply,
                   QWidget* parent);
    // Puts `form` at the right and shows the first record; the subclass's constructor calls it last.
    void Finish(QWidget* form);

    // The names of the records edited, in order.
    virtual std::vector<std::string> Names(const TConfigurationDraft& draft) const = 0;
    // Fills the form with the record named, or with a new record's values.
    virtual void ShowRecord(const std::optional<std::string>& name) = 0;
    virtual void SaveRecord() = 0;
    virtual void RemoveRecord(const std::string& name) = 0;

    // The configuration as last applied, to check what is typed against.
    const TConfigurationDraft& Draft() const { return FDraft; }
    TConfigurationDraft FreshDraft() const { return FDraftSource(); }
    // The name of the record in the form; nothing while a new one is filled in.
    const std::optional<std::string>& EditedName() const { return FEditedName; }
    // Where the record in the form is, or goes, among `names`.
    std::size_t PlaceOfForm(const std::vector<std::string>& names) const;
    // Applies `changed`; when it was saved, the list follows and the form shows `select`.
    bool ApplyDraft(TConfigurationDraft changed, const std::optional<std::string>& select);
    // "Spara" may be pressed only while nothing typed blocks it.
    void SetSaveEnabled(bool enabled);

private:
    void FillList(const std::optional<std::string>& select);
    void Select(const std::optional<std::string>& name);

    TDraftSource FDraftSource;
    TApply FApply;
    TConfigurationDraft FDraft;
    std::optional<std::string> FEditedName;
    QListWidget* FList;
    QPushButton* FRemove;
    QPushButton* FSave;
};

// Shows below a field what is wrong with it (red) or doubtful (amber); hidden when nothing is.
QLabel* NewProblemLabel(const char* name, QWidget* parent);
void ShowProblems(QLabel* label, const TEditProblems& problems, TEditField field);

// Gives `dialog` the size it was designed for, or less on a screen that has less room.
void FitInto(QWidget& dialog, QSize designed);
