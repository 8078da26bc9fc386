#include "ui/FormMultiDisplaysUI.h"

#include "rows/DisplaySession.h"
#include "rows/RowsFile.h"
#include "ui/DisplaysDialogUI.h"
#include "ui/ErrorBanner.h"
#include "ui/ErrorBox.h"
#include "ui/FrameDatasourceUI.h"
#include "ui/FrameDisplayUI.h"
#include "ui/LogView.h"
#include "ui/SourcesDialogUI.h"
#include "ui/StatusMark.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include <exception>

namespace {

constexpr int TickMsec = 100;
constexpr QSize DesignedSize(1008, 609);
constexpr int LogHeight = 97;

QTimer* NewTick(const char* name, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    // Restarted after each tick, so ticks never overlap and the next comes 100 ms after the end.
    timer->setSingleShot(true);
    timer->setInterval(TickMsec);
    return timer;
}

// "Btn_" and the display's name with every blank as an underscore.
QString ButtonName(const std::string& displayName) {
    const std::string frameName = FrameName(displayName);
    return QStringLiteral("Btn_") + QString::fromStdString(frameName.substr(frameName.find('_') + 1));
}

} // namespace

TFormMultiDisplays::TFormMultiDisplays(const std::string& directory, QWidget* parent)
    : QWidget(parent), FDirectory(directory) {
    // Worker threads log too: every line is queued to this thread, so lines keep their order.
    FSession = std::make_unique<TDisplaySession>(
        directory, [this](const std::string& source, const std::string& msg) {
            QMetaObject::invokeMethod(
                this, [this, source, msg] { HandleLogMessage(source, msg); }, Qt::QueuedConnection);
        });
    // What other threads post runs here, between the ticks, as soon as the event loop gets to it.
    FSession->Work().SetOnPosted([this] {
        QMetaObject::invokeMethod(
            this, [this] { FSession->Work().RunPending(); }, Qt::QueuedConnection);
    });
    dsCollectData = NewTick("dsCollectData", this);
    TimSenddata = NewTick("TimSenddata", this);
    connect(dsCollectData, &QTimer::timeout, this, [this] { dsCollectDataTimer(); });
    connect(TimSenddata, &QTimer::timeout, this, [this] { TimSenddataTimer(); });
    BuildLayout();
    FormCreate();
}

// The pages use the session's rows and cycles: they go first. The session then stops every client.
TFormMultiDisplays::~TFormMultiDisplays() {
    dsCollectData->stop();
    TimSenddata->stop();
    delete PanMain;
    FSession.reset();
}

void TFormMultiDisplays::BuildLayout() {
    setWindowTitle(QStringLiteral("Vorlix Förkonfigurerad klient"));
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    // As designed, or smaller on a screen that has less room (a high scale factor leaves fewer
    // device-independent pixels).
    resize(DesignedSize.boundedTo(screen()->availableGeometry().size()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTopBar());
    FSaveError = new TErrorBanner(this);
    layout->addWidget(FSaveError);

    // The operator may give the log more or less room than it starts with.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("SplitLog"));
    split->setChildrenCollapsible(false);
    PanMain = new QWidget(split);
    PanMain->setObjectName(QStringLiteral("PanMain"));
    auto* pages = new QGridLayout(PanMain);
    pages->setContentsMargins(0, 0, 0, 0);
    FLog = new TLogView(split);
    FLog->setObjectName(QStringLiteral("PanLog"));
    FLog->setMinimumHeight(LogHeight / 2);
    split->addWidget(PanMain);
    split->addWidget(FLog);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({height() - LogHeight, LogHeight});
    layout->addWidget(split, 1);
}

QWidget* TFormMultiDisplays::BuildTopBar() {
    PanDisplayButtons = new QWidget(this);
    PanDisplayButtons->setObjectName(QStringLiteral("PanDisplayButtons"));
    PanDisplayButtons->setMinimumHeight(41);
    auto* layout = new QHBoxLayout(PanDisplayButtons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FDisplayButtons = new QHBoxLayout;
    FDisplayButtons->setSpacing(0);
    layout->addLayout(FDisplayButtons);
    layout->addStretch();

    BtnDatasources = new QPushButton(QStringLiteral("Datakällor"), PanDisplayButtons);
    BtnDatasources->setObjectName(QStringLiteral("BtnDatasources"));
    BtnDatasources->setToolTip(QStringLiteral("Visa de datakällor som kan ändras"));
    BtnDatasources->setMinimumSize(80, 41);
    connect(BtnDatasources, &QPushButton::clicked, this,
            [this] { ShowPage(FDatasourceFrame, BtnDatasources); });
    layout->addWidget(BtnDatasources);

    BtnDisplaysEdit = new QPushButton(QStringLiteral("Skärmar"), PanDisplayButtons);
    BtnDisplaysEdit->setObjectName(QStringLiteral("BtnDisplaysEdit"));
    BtnDisplaysEdit->setToolTip(QStringLiteral("Lägg till, ändra och ta bort skärmar"));
    BtnDisplaysEdit->setMinimumSize(80, 41);
    BtnDisplaysEdit->setEnabled(false);
    connect(BtnDisplaysEdit, &QPushButton::clicked, this, [this] { OpenDisplaysDialog(); });
    layout->addWidget(BtnDisplaysEdit);

    auto* connected = new QWidget(PanDisplayButtons);
    connected->setObjectName(QStringLiteral("PanConnected"));
    connected->setMinimumWidth(128);
    auto* boxes = new QVBoxLayout(connected);
    boxes->setContentsMargins(5, 0, 5, 2);
    boxes->setSpacing(0);
    boxes->addStretch();
    cbPause = new QCheckBox(QStringLiteral("Pausa Utskick"), connected);
    CbConnected = new QCheckBox(QStringLiteral("Uppkopplad"), connected);
    cbPause->setObjectName(QStringLiteral("cbPause"));
    CbConnected->setObjectName(QStringLiteral("CbConnected"));
    cbPause->setToolTip(QStringLiteral("Ikryssad skickas inga rader och skärmarna behåller det de visar"));
    CbConnected->setToolTip(
        QStringLiteral("Ikryssad är alla skärmar uppkopplade (och kopplas upp igen efter ett avbrott)"));
    for (QCheckBox* box : {cbPause, CbConnected}) {
        box->setLayoutDirection(Qt::RightToLeft);
        boxes->addWidget(box);
    }
    cbPause->setChecked(true);
    connect(cbPause, &QCheckBox::clicked, this, [this](bool checked) { cbPauseClick(checked); });
    connect(CbConnected, &QCheckBox::clicked, this,
            [this](bool checked) { RunGuarded(this, [&] { CbConnectedClick(checked); }); });
    layout->addWidget(connected);
    return PanDisplayButtons;
}

// Without a readable configuration the window stays empty: no pages, no collecting, no editing.
void TFormMultiDisplays::FormCreate() {
    FDatasourceFrame = new TFrameDatasource(FSession->Model(), PanMain);
    FDatasourceFrame->hide();
    FDatasourceFrame->SetOnSaveChanges([this] { return SaveAllChanges(); });
    FDatasourceFrame->SetOnEditSources([this] { OpenSourcesDialog(); });
    PanMain->layout()->addWidget(FDatasourceFrame);
    StartSession();
}

void TFormMultiDisplays::StartSession() {
    try {
        FSession->Start();
    } catch (const std::exception& error) {
        const QString text = QString::fromStdString(error.what());
        if (!IsEmptyInstallation(FDirectory)) {
            ShowErrorBox(this, text);
            return;
        }
        AskQuestion(this,
                    QStringLiteral("%1\n\nHär finns ingen konfiguration. Skapa en tom konfiguration i %2 och "
                                   "börja med den?")
                        .arg(text, QString::fromStdString(FDirectory)),
                    true, [this](bool yes) {
                        if (yes) {
                            CreateEmptyAndStart();
                        }
                    });
        return;
    }
    RunSession();
}

void TFormMultiDisplays::CreateEmptyAndStart() {
    try {
        CreateEmptyConfiguration(FDirectory);
        FSession->Start();
    } catch (const std::exception& error) {
        ShowErrorBox(this, QString::fromStdString(error.what()));
        return;
    }
    HandleLogMessage("Main", "Created an empty configuration in \"" + FDirectory + "\"");
    RunSession();
    ShowPage(FDatasourceFrame, BtnDatasources);
}

void TFormMultiDisplays::RunSession() {
    for (const auto& cycle : FSession->Cycles()) {
        AddDisplayPage(*cycle);
    }
    FDatasourceFrame->Rebuild();
    FDatasourceFrame->SetEditable(true);
    BtnDisplaysEdit->setEnabled(true);
    dsCollectData->start();
    TimSenddata->start();
    if (auto* first = FDisplayButtons->count() > 0 ? FDisplayButtons->itemAt(0)->widget() : nullptr) {
        static_cast<QPushButton*>(first)->click();
    }
}

void TFormMultiDisplays::OpenSourcesDialog() {
    auto* dialog = new TSourcesDialog(
        FSession->Model(), [this] { return FSession->Draft(); },
        [this](TConfigurationDraft draft) { return ApplyDraft(std::move(draft)); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void TFormMultiDisplays::OpenDisplaysDialog() {
    auto* dialog =
        new TDisplaysDialog([this] { return FSession->Draft(); },
                            [this](TConfigurationDraft draft) { return ApplyDraft(std::move(draft)); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// The pages use the cycles that the new configuration may end: they go first, and come back for
// the cycles that run afterwards. The page that was shown stays shown when it still exists, under
// its new name when it was renamed.
bool TFormMultiDisplays::ApplyDraft(TConfigurationDraft draft) {
    std::string shown;
    for (const auto& [name, page] : FVorlixFrames) {
        if (page->isVisible()) {
            shown = name;
        }
    }
    if (const auto renamed = draft.RenamedDisplays.find(shown); renamed != draft.RenamedDisplays.end()) {
        shown = renamed->second;
    }
    const bool showSources = FDatasourceFrame->isVisible();
    RemoveDisplayPages();
    const bool saved = FSession->Apply(std::move(draft));
    for (const auto& cycle : FSession->Cycles()) {
        AddDisplayPage(*cycle);
    }
    FDatasourceFrame->Rebuild();
    if (const auto button = FFrameButtons.find(shown); button != FFrameButtons.end()) {
        button->second->click();
    } else if (showSources || FFrameButtons.empty()) {
        ShowPage(FDatasourceFrame, BtnDatasources);
    } else {
        FFrameButtons.begin()->second->click();
    }
    RefreshStates();
    if (!saved) {
        FSaveError->Show(QStringLiteral("Ändringen kunde inte sparas och används inte: %1")
                             .arg(QString::fromStdString(FSession->LastSaveError())));
    }
    return saved;
}

void TFormMultiDisplays::RemoveDisplayPages() {
    for (auto& [name, page] : FVorlixFrames) {
        delete page;
    }
    for (auto& [name, button] : FFrameButtons) {
        delete button;
    }
    FVorlixFrames.clear();
    FFrameButtons.clear();
}

void TFormMultiDisplays::AddDisplayPage(TRowSendCycle& cycle) {
    auto* page = new TFrameDisplay(cycle, FSession->Model(), PanMain);
    page->hide();
    page->SetOnSaveChanges([this] { return SaveAllChanges(); });
    PanMain->layout()->addWidget(page);
    FVorlixFrames[cycle.Name()] = page;

    QString caption = QString::fromStdString(cycle.Name());
    auto* button =
        new QPushButton(caption.replace(QLatin1Char('&'), QStringLiteral("&&")), PanDisplayButtons);
    button->setObjectName(ButtonName(cycle.Name()));
    button->setMinimumSize(75, 41);
    connect(button, &QPushButton::clicked, this, [this, page, button] { ShowPage(page, button); });
    FDisplayButtons->addWidget(button);
    FFrameButtons[cycle.Name()] = button;
}

// The button of the page shown is disabled; all others are enabled.
void TFormMultiDisplays::ShowPage(QWidget* page, QPushButton* button) {
    BtnDatasources->setEnabled(true);
    for (const auto& [name, other] : FFrameButtons) {
        other->setEnabled(true);
    }
    for (QWidget* other : PanMain->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        other->hide();
    }
    button->setEnabled(false);
    page->show();
}

void TFormMultiDisplays::dsCollectDataTimer() {
    FSession->CollectTick();
    dsCollectData->start();
}

void TFormMultiDisplays::TimSenddataTimer() {
    FSession->SendTick();
    for (const auto& [name, page] : FVorlixFrames) {
        page->RefreshGauge();
        page->RefreshStatus();
    }
    RefreshStates();
    TimSenddata->start();
}

// The mark of each display's button: its state, the last error as tooltip.
void TFormMultiDisplays::RefreshStates() {
    for (const auto& [name, page] : FVorlixFrames) {
        QPushButton* button = FFrameButtons.at(name);
        const TDisplayState state = page->State();
        const QString error = QString::fromStdString(page->LastError());
        const QString tip =
            error.isEmpty() ? StateText(state) : StateText(state) + QStringLiteral(": ") + error;
        if (button->property("state").toInt() != static_cast<int>(state) || button->toolTip() != tip) {
            button->setProperty("state", static_cast<int>(state));
            button->setIcon(StateIcon(state));
            button->setToolTip(tip);
        }
    }
}

void TFormMultiDisplays::CbConnectedClick(bool checked) {
    FSession->SetConnected(checked);
    for (const auto& [name, page] : FVorlixFrames) {
        page->Refresh();
    }
    RefreshStates();
}

void TFormMultiDisplays::cbPauseClick(bool checked) {
    FSession->SetPaused(checked);
    for (const auto& [name, page] : FVorlixFrames) {
        page->RefreshSettingsEnabled();
    }
    RefreshStates();
}

void TFormMultiDisplays::HandleLogMessage(const std::string& source, const std::string& msg) {
    FLog->Add(source, msg);
}

bool TFormMultiDisplays::SaveAllChanges() {
    if (FSession->SaveAll()) {
        return true;
    }
    FSaveError->Show(QStringLiteral("Ändringarna kunde inte sparas: %1")
                         .arg(QString::fromStdString(FSession->LastSaveError())));
    return false;
}
