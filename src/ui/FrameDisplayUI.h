#pragma once

#include "platform/DateTime.h"
#include "rows/DisplayStatusWatch.h"
#include "rows/RowEditorFields.h"
#include "simulator/SimRowPreview.h"

#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TConfigurationRow;
class TDialGauge;
class TLedDisplayView;
class TLocalViewModel;
class TRowSendCycle;
class TRowTable;
class TRowTableModel;

// The page of one display: its software version and connection settings, width and brightness;
// its state and a live LED mirror of what it shows, fed with the very strings its client sends;
// the row table; the row editor with a preview of the row; and the gauge of the send cycle, whose
// display time left it shows. The rows and the cycle belong to the session; the page edits them,
// and must go before them.
class TFrameDisplay : public QWidget {
public:
    // Saves the whole configuration; false when that failed (the window tells the operator why).
    using TSaveChanges = std::function<bool()>;

    TFrameDisplay(TRowSendCycle& cycle, TLocalViewModel& model, QWidget* parent);
    ~TFrameDisplay() override;
    TFrameDisplay(const TFrameDisplay&) = delete;
    TFrameDisplay& operator=(const TFrameDisplay&) = delete;

    // Raised when the configuration is to be saved: after "Spara", and after deleting or moving.
    // A change whose save failed is taken back, so the page shows what is saved.
    void SetOnSaveChanges(TSaveChanges handler) { FSaveChanges = std::move(handler); }

    // Shows the display's settings and sets the gauge's scale from the rows' display times.
    void Refresh();
    // The settings may be edited only while sending is paused and the client is idle.
    void RefreshSettingsEnabled();
    // Shows the display time left of the row on the display.
    void RefreshGauge();
    // Follows the display: the mirror, the status line and the software version.
    void RefreshStatus();

    TDisplayState State() const;
    std::string LastError() const;

private:
    QWidget* BuildSettings();
    QWidget* BuildEditor();
    QWidget* BuildRowTable();
    void FillChoices();

    void CmdAddRowClick();
    void OnHandleChangeRow(int index);
    void BtnSaveClick();
    void CloseEditor();
    void RefreshCurrentRow();
    TRowEditorFields EditorFields() const;
    void UpdatePreview();

    void OnHandleDeleteRow(int index);
    void UndoDelete();
    void OnHandleMoveRow(int index, int direction);

    void btnSaveDisplayConfigurationClick();
    bool RaiseSaveChanges();

    int DisplayWidth() const;
    TResolveReferences Resolver() const;
    void OnSent(const std::string& configString, const TConfigurationRow* row);
    // A display greeted anew has been cleared: so is its mirror.
    void FollowConnection();
    QString StatusText() const;

    TRowSendCycle& FCycle;
    TLocalViewModel& FModel;
    TDisplayStatusWatch FStatus;
    // The row open in the editor: a row of the cycle, or FNewRow before its first "Spara".
    TConfigurationRow* FCurrentRow = nullptr;
    std::unique_ptr<TConfigurationRow> FNewRow;
    // The row "Ta bort" took last and where it stood, until Ctrl+Z brings it back.
    std::unique_ptr<TConfigurationRow> FRemovedRow;
    int FRemovedIndex = 0;
    TSaveChanges FSaveChanges;

    std::string FLastSentText;
    TDateTime FLastSentAt = 0;
    std::uint64_t FMirroredConnection = 0;
    std::string FPreviewString;

    QLineEdit* txtSoftwareVersion;
    QLineEdit* txtDisplaySettings;
    QPushButton* btnSaveDisplayConfiguration;
    QComboBox* CmbDisplaySize;
    QComboBox* CmbBrightness;
    TDialGauge* AdvShowingUntil;
    QLabel* LblStatus;
    TLedDisplayView* FMirror;

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
    TLedDisplayView* FPreview;

    TRowTableModel* FTableModel;
    TRowTable* FTable;
};
