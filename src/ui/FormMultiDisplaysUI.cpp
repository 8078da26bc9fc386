#include "ui/FormMultiDisplaysUI.h"

#include "rows/DisplaySession.h"
#include "rows/LogLine.h"
#include "rows/RowsFile.h"
#include "ui/ErrorBox.h"
#include "ui/FrameDatasourceUI.h"
#include "ui/FrameDisplayUI.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace {

constexpr int TickMsec = 100;

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

TFormMultiDisplays::TFormMultiDisplays(const std::string& directory, QWidget* parent) : QWidget(parent) {
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
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    resize(1008, 609);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTopBar());

    PanMain = new QWidget(this);
    PanMain->setObjectName(QStringLiteral("PanMain"));
    auto* pages = new QGridLayout(PanMain);
    pages->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PanMain, 1);

    LogWnd = new QListWidget(this);
    LogWnd->setObjectName(QStringLiteral("LogWnd"));
    LogWnd->setFixedHeight(97);
    connect(LogWnd, &QListWidget::itemDoubleClicked, this, [this] { LogWndDblClick(); });
    layout->addWidget(LogWnd);
}

QWidget* TFormMultiDisplays::BuildTopBar() {
    PanDisplayButtons = new QWidget(this);
    PanDisplayButtons->setObjectName(QStringLiteral("PanDisplayButtons"));
    PanDisplayButtons->setFixedHeight(41);
    auto* layout = new QHBoxLayout(PanDisplayButtons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FDisplayButtons = new QHBoxLayout;
    FDisplayButtons->setSpacing(0);
    layout->addLayout(FDisplayButtons);
    layout->addStretch();

    BtnDatasources = new QPushButton(QStringLiteral("Datakällor"), PanDisplayButtons);
    BtnDatasources->setObjectName(QStringLiteral("BtnDatasources"));
    BtnDatasources->setFixedSize(80, 41);
    connect(BtnDatasources, &QPushButton::clicked, this,
            [this] { ShowPage(FDatasourceFrame, BtnDatasources); });
    layout->addWidget(BtnDatasources);

    auto* connected = new QWidget(PanDisplayButtons);
    connected->setObjectName(QStringLiteral("PanConnected"));
    connected->setFixedWidth(128);
    auto* boxes = new QVBoxLayout(connected);
    boxes->setContentsMargins(5, 0, 5, 2);
    boxes->setSpacing(0);
    boxes->addStretch();
    cbPause = new QCheckBox(QStringLiteral("Pausa Utskick"), connected);
    CbConnected = new QCheckBox(QStringLiteral("Uppkopplad"), connected);
    cbPause->setObjectName(QStringLiteral("cbPause"));
    CbConnected->setObjectName(QStringLiteral("CbConnected"));
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

// Without a readable configuration the window stays empty: no pages, no collecting.
void TFormMultiDisplays::FormCreate() {
    const bool started = StartSession();
    FDatasourceFrame = new TFrameDatasource(FSession->Model(), PanMain);
    FDatasourceFrame->hide();
    FDatasourceFrame->SetOnSaveChanges([this] { SaveAllChanges(); });
    PanMain->layout()->addWidget(FDatasourceFrame);
    if (!started) {
        return;
    }
    for (const auto& cycle : FSession->Cycles()) {
        AddDisplayPage(*cycle);
    }
    dsCollectData->start();
    TimSenddata->start();
    if (auto* first = FDisplayButtons->count() > 0 ? FDisplayButtons->itemAt(0)->widget() : nullptr) {
        static_cast<QPushButton*>(first)->click();
    }
}

bool TFormMultiDisplays::StartSession() {
    try {
        FSession->Start();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(this, QString::fromStdString(error.what()));
        return false;
    }
}

void TFormMultiDisplays::AddDisplayPage(TRowSendCycle& cycle) {
    auto* page = new TFrameDisplay(cycle, FSession->Model(), PanMain);
    page->hide();
    page->SetOnSaveChanges([this] { SaveAllChanges(); });
    PanMain->layout()->addWidget(page);
    FVorlixFrames[cycle.Name()] = page;

    QString caption = QString::fromStdString(cycle.Name());
    auto* button =
        new QPushButton(caption.replace(QLatin1Char('&'), QStringLiteral("&&")), PanDisplayButtons);
    button->setObjectName(ButtonName(cycle.Name()));
    button->setFixedHeight(41);
    button->setMinimumWidth(75);
    connect(button, &QPushButton::clicked, this, [this, page, button] { ShowPage(page, button); });
    FDisplayButtons->addWidget(button);
}

// The button of the page shown is disabled; all others are enabled.
void TFormMultiDisplays::ShowPage(QWidget* page, QPushButton* button) {
    for (QPushButton* other : PanDisplayButtons->findChildren<QPushButton*>()) {
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
    }
    TimSenddata->start();
}

void TFormMultiDisplays::CbConnectedClick(bool checked) {
    FSession->SetConnected(checked);
    for (const auto& [name, page] : FVorlixFrames) {
        page->Refresh();
    }
}

void TFormMultiDisplays::cbPauseClick(bool checked) {
    FSession->SetPaused(checked);
    for (const auto& [name, page] : FVorlixFrames) {
        page->RefreshSettingsEnabled();
    }
}

void TFormMultiDisplays::HandleLogMessage(const std::string& source, const std::string& msg) {
    LogWnd->insertItem(0, QString::fromStdString(LogLineText(source, msg)));
    while (static_cast<std::size_t>(LogWnd->count()) > MaxLogLines) {
        delete LogWnd->takeItem(LogWnd->count() - 1);
    }
}

void TFormMultiDisplays::LogWndDblClick() {
    const QList<QListWidgetItem*> selected = LogWnd->selectedItems();
    if (!selected.isEmpty()) {
        const std::string copied = LogLineCopyText(selected.front()->text().toStdString());
        QGuiApplication::clipboard()->setText(QString::fromStdString(copied));
    }
}

void TFormMultiDisplays::SaveAllChanges() {
    FSession->SaveAll();
}
