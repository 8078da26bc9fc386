#pragma once

#include "ui/RecordsDialog.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class TVDisplay;

// "Skärmar": adds, changes and removes displays: name, kind, width, brightness and connection
// settings, with the machine's serial ports to choose from and separate address and port fields
// for TCP/IP. The settings get the messages the display's client gives for them. A renamed
// display keeps its rows; a removed one's rows file is set aside.
class TDisplaysDialog : public TRecordsDialog {
public:
    TDisplaysDialog(TDraftSource draftSource, TApply apply, QWidget* parent);
    ~TDisplaysDialog() override;

private:
    std::vector<std::string> Names(const TConfigurationDraft& draft) const override;
    void ShowRecord(const std::optional<std::string>& name) override;
    void SaveRecord() override;
    void RemoveRecord(const std::string& name) override;

    QWidget* BuildForm();
    QWidget* BuildSettingsPages();
    std::unique_ptr<TVDisplay> FormRecord() const;
    std::string FormSettings() const;
    void Recheck();

    std::unique_ptr<TVDisplay> FOriginal;
    QLineEdit* EdDisplayName;
    QLabel* LblNameProblem;
    QComboBox* CbDisplayKind;
    QLabel* LblKindProblem;
    QComboBox* CbWidth;
    QLabel* LblWidthProblem;
    QSpinBox* SpBrightness;
    QStackedWidget* FSettingsPages;
    QComboBox* CbSerialPort;
    QLineEdit* EdAddress;
    QSpinBox* SpPort;
    QLabel* LblSettingsProblem;
};
