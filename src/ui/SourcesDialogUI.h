#pragma once

#include "ui/RecordsDialog.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTimer;
class TLocalViewModel;
class TSourceTrial;
class TVDataSource;

// "Ändra källor": adds, changes and removes data sources of every kind, with a form per kind
// instead of the raw configuration text. An expression shows its result as it is typed, a JSON
// source can be tried ("Testa") without waiting for it; renaming a source offers to rename its
// references, removing one that is used lists where first.
class TSourcesDialog : public TRecordsDialog {
public:
    TSourcesDialog(TLocalViewModel& model, TDraftSource draftSource, TApply apply, QWidget* parent);
    ~TSourcesDialog() override;

private:
    std::vector<std::string> Names(const TConfigurationDraft& draft) const override;
    void ShowRecord(const std::optional<std::string>& name) override;
    void SaveRecord() override;
    void RemoveRecord(const std::string& name) override;

    QWidget* BuildForm();
    QWidget* BuildKindPages();
    // The record as the form describes it, starting from the one edited.
    std::unique_ptr<TVDataSource> FormRecord() const;
    std::string FormConfiguration() const;
    void ShowConfiguration(int kind, const std::string& configuration);
    // Checks the form anew and shows what it finds; the expression's result too.
    void Recheck();
    void StartTest();
    void PollTest();
    void Store(const TVDataSource& edited, bool renameReferences);

    TLocalViewModel& FModel;
    std::unique_ptr<TVDataSource> FOriginal;
    std::unique_ptr<TSourceTrial> FTest;
    // The kind whose usual interval the interval field was given last.
    int FSuggestedFor = 0;
    QTimer* FTestPoll;
    QLineEdit* EdName;
    QLabel* LblNameProblem;
    QLineEdit* EdDescription;
    QComboBox* CbKind;
    QLabel* LblKindProblem;
    QComboBox* CbValueType;
    QLineEdit* EdInterval;
    QLabel* LblIntervalProblem;
    QCheckBox* CbChangeable;
    QStackedWidget* FKindPages;
    QLineEdit* EdStaticValue;
    QDateEdit* DtStaticDate;
    QLineEdit* EdFilePath;
    QLineEdit* EdUrl;
    QLineEdit* EdMember;
    QLabel* LblTestResult;
    QLineEdit* EdExpression;
    QLabel* LblExpressionResult;
    QLabel* LblConfigurationProblem;
};
