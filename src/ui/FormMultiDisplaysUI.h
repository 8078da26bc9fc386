#pragma once

#include "rows/ConfigurationEdits.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QHBoxLayout;
class QPushButton;
class QTimer;
class TDisplaySession;
class TErrorBanner;
class TLogView;
class TFrameDatasource;
class TFrameDisplay;
class TRowSendCycle;

// The main window: one button and one page per display, the data-source page, the check boxes
// "Pausa Utskick" and "Uppkopplad", and the log. Creating it starts the configuration in
// `directory`; a faulty configuration is shown in an error box and leaves the window without
// display pages and without collecting. Nothing is saved on closing; the display clients stop
// when the window goes. Each display's button carries a mark of its state; a failed save shows a
// banner that stays until the operator closes it. Sources and displays are edited in dialogs
// ("Ändra källor", "Skärmar"); what they save runs at once.
class TFormMultiDisplays : public QWidget {
public:
    explicit TFormMultiDisplays(const std::string& directory, QWidget* parent = nullptr);
    ~TFormMultiDisplays() override;
    TFormMultiDisplays(const TFormMultiDisplays&) = delete;
    TFormMultiDisplays& operator=(const TFormMultiDisplays&) = delete;

    // The running configuration, for what the program offers beside the window.
    TDisplaySession& Session() { return *FSession; }

    // Adds a line to the top of the log; on the user-interface thread only.
    void HandleLogMessage(const std::string& source, const std::string& msg);

private:
    void BuildLayout();
    QWidget* BuildTopBar();
    void FormCreate();
    // Shows why the configuration cannot be loaded; in a directory without one, offers to start
    // a new, empty one.
    void StartSession();
    void CreateEmptyAndStart();
    // Pages, timers and editing, once the configuration runs.
    void RunSession();
    void AddDisplayPage(TRowSendCycle& cycle);
    void RemoveDisplayPages();
    void OpenSourcesDialog();
    void OpenDisplaysDialog();
    // Saves and runs an edited configuration, and follows it with the pages; false, after showing
    // why, when it could not be saved (everything then runs on as it was).
    bool ApplyDraft(TConfigurationDraft draft);
    void ShowPage(QWidget* page, QPushButton* button);
    void RefreshStates();

    void dsCollectDataTimer();
    void TimSenddataTimer();
    void CbConnectedClick(bool checked);
    void cbPauseClick(bool checked);
    // False, after showing why, when saving failed.
    bool SaveAllChanges();

    const std::string FDirectory;
    std::unique_ptr<TDisplaySession> FSession;
    std::map<std::string, TFrameDisplay*> FVorlixFrames;
    std::map<std::string, QPushButton*> FFrameButtons;
    TFrameDatasource* FDatasourceFrame = nullptr;

    QWidget* PanDisplayButtons;
    QHBoxLayout* FDisplayButtons;
    QPushButton* BtnDatasources;
    QPushButton* BtnDisplaysEdit;
    QCheckBox* cbPause;
    QCheckBox* CbConnected;
    TErrorBanner* FSaveError;
    QWidget* PanMain;
    TLogView* FLog;
    QTimer* dsCollectData;
    QTimer* TimSenddata;
};
