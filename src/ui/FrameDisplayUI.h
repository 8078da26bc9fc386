#pragma once

#include "rows/RowEditorFields.h"

#include <QWidget>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TConfigurationRow;
class TDialGauge;
class TFrameRow;
class TLocalViewModel;
class TRowSendCycle;

// The page of one display: its software version and connection settings, width and brightness;
// the row list with one row view per row; the row editor; and the gauge of the send cycle, whose
// display time left it shows. The rows and the cycle belong to the session; the page edits them,
// and must go before them.
class TFrameDisplay : public QWidget {
public:
    TFrameDisplay(TRowSendCycle& cycle, TLocalViewModel& model, QWidget* parent);
    TFrameDisplay(const TFrameDisplay&) = delete;
    TFrameDisplay& operator=(const TFrameDisplay&) = delete;

    // Raised when the configuration is to be saved: after "Spara", and after deleting or moving.
    void SetOnSaveChanges(std::function<void()> handler) { FSaveChanges = std::move(handler); }

    // Shows the display's settings and sets the gauge's scale from the rows' display times.
    void Refresh();
    // The settings may be edited only while sending is paused and the client is idle.
    void RefreshSettingsEnabled();
    // Shows the display time left of the row on the display.
    void RefreshGauge();

private:
    QWidget* BuildSettings();
    QWidget* BuildColumnHeader();
    QWidget* BuildEditor();
    QWidget* BuildRowList();
    void FillChoices();

    void CmdAddRowClick();
    void OnHandleChangeRow(TConfigurationRow& row);
    void BtnSaveClick();
    void CloseEditor();
    void RefreshCurrentRow();
    TRowEditorFields EditorFields() const;

    TFrameRow* AddRowFrame(TConfigurationRow& row);
    void OnHandleDeleteRow(TConfigurationRow& row, TFrameRow* sender);
    void OnHandleMoveRow(TConfigurationRow& row, TFrameRow* sender, int direction);
    std::optional<std::size_t> IndexOf(const TConfigurationRow& row) const;

    void btnSaveDisplayConfigurationClick();
    void RaiseSaveChanges();

    TRowSendCycle& FCycle;
    TLocalViewModel& FModel;
    // The row open in the editor: a row of the cycle, or FNewRow before its first "Spara".
    TConfigurationRow* FCurrentRow = nullptr;
    std::unique_ptr<TConfigurationRow> FNewRow;
    int FRowFrameCount = 0;
    std::function<void()> FSaveChanges;

    QLineEdit* txtSoftwareVersion;
    QLineEdit* txtDisplaySettings;
    QPushButton* btnSaveDisplayConfiguration;
    QComboBox* CmbDisplaySize;
    QComboBox* CmbBrightness;
    TDialGauge* AdvShowingUntil;

    QWidget* PanEditRow;
    QCheckBox* CbUsingParameter;
    QComboBox* CmbText;
    QComboBox* CmbFont;
    QComboBox* CmbAlign;
    QComboBox* CmbFgColor;
    QComboBox* CmbBgColor;
    QComboBox* CmbScrollspeed;
    QLineEdit* TxtTimeout;
    QPushButton* BtnSave;
    QPushButton* BtnReset;

    QVBoxLayout* FRowViews;
};
