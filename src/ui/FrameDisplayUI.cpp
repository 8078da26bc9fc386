#include "ui/FrameDisplayUI.h"

#include "clients/DisplayClient.h"
#include "config/VDisplay.h"
#include "model/DatasourceTexts.h"
#include "model/DisplaySettingsChange.h"
#include "model/LocalViewModel.h"
#include "model/OneLineText.h"
#include "platform/SprintF.h"
#include "rows/ConfigurationTexts.h"
#include "rows/RowSendCycle.h"
#include "rows/RowsFile.h"
#include "ui/DialGauge.h"
#include "ui/ErrorBox.h"
#include "ui/LedDisplayView.h"
#include "ui/Named.h"
#include "ui/RowTable.h"
#include "ui/RowTableModel.h"
#include "ui/StatusMark.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int DisplayWidths[] = {64, 128};
constexpr int DefaultDisplayWidth = 64;
// Entries a drop-down list shows at a time; the rest scroll.
constexpr int VisibleChoices = 12;
// Values of sources and marks of rows are shown anew this often.
constexpr int LiveValuesMsec = 500;

QComboBox* NewChoice(const char* name, const QString& tip, QWidget* parent) {
    auto* choice = Named(new QComboBox(parent), name, tip);
    choice->setMaxVisibleItems(VisibleChoices);
    // A list that scrolls, also in styles whose pop-up would otherwise show every entry.
    choice->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return choice;
}

void FillFromTable(QComboBox* choice, const TConfigurationTexts::TSettingList& table) {
    for (const auto& [code, label] : table) {
        choice->addItem(QString::fromStdString(label));
    }
}

std::optional<int> Selected(const QComboBox* choice) {
    return choice->currentIndex() >= 0 ? std::optional(choice->currentIndex()) : std::nullopt;
}

QString TimeOfDay(TDateTime moment) {
    const TDateTimeParts parts = DecodeDateTime(moment);
    return QString::fromStdString(SprintF("%02d:%02d:%02d", parts.Hour, parts.Minute, parts.Second));
}

} // namespace

TFrameDisplay::TFrameDisplay(TRowSendCycle& cycle, TLocalViewModel& model, QWidget* parent)
    : QWidget(parent), FCycle(cycle), FModel(model), FStatus(model.GetDisplayClientFromCache(cycle.Name())) {
    setObjectName(QString::fromStdString(FrameName(cycle.Name())));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildSettings());
    layout->addWidget(BuildEditor());
    layout->addWidget(BuildRowTable(), 1);
    FillChoices();
    CloseEditor();
    if (const TDisplayClientBase* client = FModel.GetDisplayClientFromCache(FCycle.Name())) {
        FMirroredConnection = client->ConnectionCount();
    }
    FCycle.SetOnSent(
        [this](const std::string& configString, const TConfigurationRow* row) { OnSent(configString, row); });
    auto* live = new QTimer(this);
    live->setObjectName(QStringLiteral("TimLiveValues"));
    live->setInterval(LiveValuesMsec);
    connect(live, &QTimer::timeout, this, [this] {
        if (isVisible()) {
            FTableModel->RefreshAll();
            UpdatePreview();
        }
    });
    live->start();
    Refresh();
    RefreshStatus();
}

// The cycle outlives the page: it must not call into it any more.
TFrameDisplay::~TFrameDisplay() {
    FCycle.SetOnSent({});
}

QWidget* TFrameDisplay::BuildSettings() {
    auto* header = new QWidget(this);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(8, 4, 8, 4);

    auto* left = new QVBoxLayout;
    auto* grid = new QGridLayout;
    txtSoftwareVersion = Named(new QLineEdit(header), "txtSoftwareVersion",
                               QStringLiteral("Den version som skärmen svarade med"));
    txtSoftwareVersion->setReadOnly(true);
    txtDisplaySettings = Named(new QLineEdit(header), "txtDisplaySettings",
                               QStringLiteral("Anslutning: portnummer eller enhet för seriell skärm, "
                                              "adress:port för TCP/IP-skärm"));
    btnSaveDisplayConfiguration =
        Named(new QPushButton(QStringLiteral("Spara"), header), "btnSaveDisplayConfiguration",
              QStringLiteral("Spara inställningar, skärmstorlek och ljusstyrka (när utskicket är pausat och "
                             "skärmen inte är uppkopplad)"));
    CmbDisplaySize = NewChoice("CmbDisplaySize", QStringLiteral("Skärmens bredd i lysdioder"), header);
    CmbBrightness = NewChoice("CmbBrightness", QStringLiteral("Skärmens ljusstyrka, 0 till 100"), header);
    for (int width : DisplayWidths) {
        CmbDisplaySize->addItem(QString::number(width));
    }
    for (int brightness = 0; brightness <= TVDisplay::MaxBrightness; ++brightness) {
        CmbBrightness->addItem(QString::number(brightness));
    }
    auto* settingsRow = new QHBoxLayout;
    settingsRow->addWidget(txtDisplaySettings, 1);
    settingsRow->addWidget(btnSaveDisplayConfiguration);
    grid->addWidget(new QLabel(QStringLiteral("Mjukvaruversion"), header), 0, 0);
    grid->addWidget(txtSoftwareVersion, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Inställningar"), header), 0, 1);
    grid->addLayout(settingsRow, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Skärmstorlek"), header), 2, 0);
    grid->addWidget(CmbDisplaySize, 3, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Ljusstyrka"), header), 2, 1);
    grid->addWidget(CmbBrightness, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    left->addLayout(grid);

    LblStatus = Named(new QLabel(header), "LblStatus",
                      QStringLiteral("Anslutning, senast skickade rad och senaste fel"));
    LblStatus->setTextFormat(Qt::PlainText);
    LblStatus->setMinimumWidth(1);
    left->addWidget(LblStatus);
    FMirror = Named(new TLedDisplayView(header), "Mirror", QStringLiteral("Det skärmen visar just nu"));
    left->addWidget(FMirror);
    left->addStretch();
    layout->addLayout(left, 1);

    AdvShowingUntil = Named(new TDialGauge(header), "AdvShowingUntil",
                            QStringLiteral("Sekunder kvar av radens visningstid"));
    AdvShowingUntil->setFixedSize(145, 145);
    layout->addWidget(AdvShowingUntil, 0, Qt::AlignTop);
    connect(btnSaveDisplayConfiguration, &QPushButton::clicked, this,
            [this] { RunGuarded(this, [this] { btnSaveDisplayConfigurationClick(); }); });
    return header;
}

QWidget* TFrameDisplay::BuildEditor() {
    PanEditRow = Named(new QWidget(this), "PanEditRow", QString());
    auto* outer = new QVBoxLayout(PanEditRow);
    outer->setContentsMargins(4, 2, 4, 2);
    outer->setSpacing(2);
    auto* layout = new QHBoxLayout;
    layout->setSpacing(2);
    outer->addLayout(layout);

    CbUsingParameter =
        Named(new QCheckBox(QStringLiteral("Datakälla"), PanEditRow), "CbUsingParameter",
              QStringLiteral("Ikryssad när en datakälla är vald i listan: raden visar källans värde"));
    CbUsingParameter->setLayoutDirection(Qt::RightToLeft);
    // Only picking a listed source ticks it.
    CbUsingParameter->setAttribute(Qt::WA_TransparentForMouseEvents);
    CbUsingParameter->setFocusPolicy(Qt::NoFocus);
    CmbText = NewChoice("CmbText", QStringLiteral("Välj en datakälla eller skriv en fast text"), PanEditRow);
    CmbText->setEditable(true);
    CmbText->setInsertPolicy(QComboBox::NoInsert);
    CmbText->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CmbText->setMinimumContentsLength(12);
    CmbFont = NewChoice("CmbFont", QStringLiteral("Fält och font på skärmen"), PanEditRow);
    CmbAlign = NewChoice("CmbAlign", QStringLiteral("Justering i fältet"), PanEditRow);
    CmbFgColor = NewChoice("CmbFgColor", QStringLiteral("Textens färg"), PanEditRow);
    CmbBgColor = NewChoice("CmbBgColor", QStringLiteral("Bakgrundens färg"), PanEditRow);
    CmbScrollspeed = NewChoice("CmbScrollspeed",
                               QStringLiteral("Scrollhastighet för en text som inte får plats"), PanEditRow);
    TxtTimeout = Named(new QLineEdit(QStringLiteral("1000"), PanEditRow), "TxtTimeout",
                       QStringLiteral("Visningstid i millisekunder, högst 60000"));
    TxtTimeout->setMaximumWidth(TxtTimeout->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    TxtTimeout->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), TxtTimeout));
    BtnSave = Named(new QPushButton(QStringLiteral("Spara"), PanEditRow), "BtnSave",
                    QStringLiteral("Spara raden och alla filer (Enter)"));
    BtnReset = Named(new QPushButton(QStringLiteral("Återställ"), PanEditRow), "BtnReset",
                     QStringLiteral("Stäng redigeraren utan att spara (Esc)"));
    layout->addWidget(CbUsingParameter);
    layout->addWidget(CmbText, 1);
    for (QWidget* widget : std::initializer_list<QWidget*>{CmbFont, CmbAlign, CmbFgColor, CmbBgColor,
                                                           CmbScrollspeed, TxtTimeout, BtnSave, BtnReset}) {
        layout->addWidget(widget);
    }

    FPreview = Named(new TLedDisplayView(PanEditRow), "Preview",
                     QStringLiteral("Så här visar skärmen raden, med källans aktuella värde"));
    outer->addWidget(FPreview);

    connect(CmbText, &QComboBox::activated, this, [this] { CbUsingParameter->setChecked(true); });
    connect(CmbText->lineEdit(), &QLineEdit::textEdited, this,
            [this] { CbUsingParameter->setChecked(false); });
    connect(CmbText, &QComboBox::currentTextChanged, this, [this] { UpdatePreview(); });
    connect(CbUsingParameter, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
    for (QComboBox* choice : {CmbFont, CmbAlign, CmbFgColor, CmbBgColor, CmbScrollspeed}) {
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    }
    connect(BtnSave, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { BtnSaveClick(); }); });
    connect(BtnReset, &QPushButton::clicked, this, [this] { CloseEditor(); });
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* save = new QShortcut(QKeySequence(key), PanEditRow);
        save->setContext(Qt::WidgetWithChildrenShortcut);
        connect(save, &QShortcut::activated, BtnSave, &QPushButton::click);
    }
    auto* reset = new QShortcut(QKeySequence(Qt::Key_Escape), PanEditRow);
    reset->setContext(Qt::WidgetWithChildrenShortcut);
    connect(reset, &QShortcut::activated, BtnReset, &QPushButton::click);
    return PanEditRow;
}

QWidget* TFrameDisplay::BuildRowTable() {
    FTableModel = new TRowTableModel(FCycle, this);
    FTableModel->SetDatasourceQuery(
        [this](const std::string& name) { return OneLineText(DatasourceQueryText(FModel, name)); });
    FTableModel->SetCutOffCheck(
        [this](const TConfigurationRow& row) { return RowTextCutOff(row, DisplayWidth(), Resolver()); });
    FTable = new TRowTable(*FTableModel, this);
    FTable->setObjectName(QStringLiteral("PanFrames"));
    FTable->SetOnAddRow([this] { CmdAddRowClick(); });
    FTable->SetOnChangeRow([this](int row) { OnHandleChangeRow(row); });
    FTable->SetOnRemoveRow([this](int row) { RunGuarded(this, [&] { OnHandleDeleteRow(row); }); });
    FTable->SetOnMoveRow(
        [this](int row, int direction) { RunGuarded(this, [&] { OnHandleMoveRow(row, direction); }); });
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QShortcut::activated, this, [this] { RunGuarded(this, [this] { UndoDelete(); }); });
    return FTable;
}

void TFrameDisplay::FillChoices() {
    for (const TDisplayDataSourceBase* source : FModel.GetDatasources()) {
        CmbText->addItem(QString::fromStdString(DatasourceEntryText(*source)));
    }
    const TConfigurationTexts& texts = ConfigurationTexts();
    FillFromTable(CmbAlign, texts.FontAlign);
    FillFromTable(CmbFont, texts.FontSize);
    FillFromTable(CmbBgColor, texts.Colors);
    FillFromTable(CmbFgColor, texts.Colors);
    FillFromTable(CmbScrollspeed, texts.ScrollSpeed);
}

void TFrameDisplay::Refresh() {
    const TVDisplay* display = FModel.GetDisplay(FCycle.Name());
    const TDisplayClientBase* client = FModel.GetDisplayClientFromCache(FCycle.Name());
    if (display != nullptr && client != nullptr) {
        txtDisplaySettings->setText(QString::fromStdString(client->BaseConfiguration()));
        const int sizeIndex = CmbDisplaySize->findText(QString::number(display->Width()));
        if (sizeIndex >= 0) {
            CmbDisplaySize->setCurrentIndex(sizeIndex);
        }
        CmbBrightness->setCurrentIndex(display->Brightness());
        RefreshSettingsEnabled();
    }
    FMirror->SetDisplayWidth(DisplayWidth());
    FPreview->SetDisplayWidth(DisplayWidth());
    FTableModel->RefreshAll();
    FCycle.RefreshGaugeScale();
    AdvShowingUntil->SetScale(FCycle.GaugeMaximum(), FCycle.GaugeDivisions());
}

void TFrameDisplay::RefreshSettingsEnabled() {
    const bool editable =
        DisplaySettingsEditable(FCycle.Paused(), FModel.GetDisplayClientFromCache(FCycle.Name()));
    for (QWidget* control : std::initializer_list<QWidget*>{txtDisplaySettings, btnSaveDisplayConfiguration,
                                                            CmbDisplaySize, CmbBrightness}) {
        control->setEnabled(editable);
    }
}

void TFrameDisplay::RefreshGauge() {
    AdvShowingUntil->SetValue(FCycle.GaugeValue());
}

void TFrameDisplay::RefreshStatus() {
    FollowConnection();
    FMirror->Refresh();
    FPreview->Refresh();
    const QString status = StatusText();
    if (LblStatus->text() != status) {
        LblStatus->setText(status);
    }
    if (const TDisplayClientBase* client = FModel.GetDisplayClientFromCache(FCycle.Name())) {
        // The display's answer ends with its line end, which a single-line field cannot show.
        const QString version = QString::fromStdString(client->SoftwareVersion()).trimmed();
        if (txtSoftwareVersion->text() != version) {
            txtSoftwareVersion->setText(version);
        }
    }
}

TDisplayState TFrameDisplay::State() const {
    return FStatus.State(FCycle.Paused());
}

std::string TFrameDisplay::LastError() const {
    return FStatus.LastError();
}

QString TFrameDisplay::StatusText() const {
    QString text = StateText(State());
    if (!FLastSentText.empty()) {
        text += QStringLiteral(" · Senast skickat: %1 kl. %2")
                    .arg(QString::fromStdString(FLastSentText), TimeOfDay(FLastSentAt));
    }
    if (const std::string error = LastError(); !error.empty()) {
        text += QStringLiteral(" · Fel: %1").arg(QString::fromStdString(error));
    }
    return text;
}

// "+": a row already open in the editor is left unsaved.
void TFrameDisplay::CmdAddRowClick() {
    FNewRow = std::make_unique<TConfigurationRow>(TConfigurationRow::NewDefault());
    FCurrentRow = FNewRow.get();
    RefreshCurrentRow();
    CmbText->setFocus();
}

void TFrameDisplay::OnHandleChangeRow(int index) {
    if (index < 0 || index >= FTableModel->rowCount()) {
        return;
    }
    FNewRow.reset();
    FCurrentRow = &FTableModel->Row(index);
    RefreshCurrentRow();
    CmbText->setFocus();
}

// A failed save takes the change back and leaves the editor open on what was typed.
void TFrameDisplay::BtnSaveClick() {
    if (FCurrentRow == nullptr) {
        return;
    }
    TConfigurationRow saved;
    FCurrentRow->AssignTo(saved);
    EditorFields().ApplyTo(*FCurrentRow);
    TConfigurationRow* row = FCurrentRow;
    const bool added = FNewRow != nullptr;
    if (added) {
        row = &FTableModel->Insert(FTableModel->rowCount(), std::move(FNewRow));
    }
    row->Change();
    if (!RaiseSaveChanges()) {
        if (added) {
            FNewRow = FTableModel->Remove(FTableModel->IndexOf(*row));
            FCurrentRow = FNewRow.get();
        } else {
            saved.AssignTo(*row);
            row->Change();
        }
        return;
    }
    CloseEditor();
    Refresh();
}

void TFrameDisplay::CloseEditor() {
    FNewRow.reset();
    FCurrentRow = nullptr;
    RefreshCurrentRow();
}

void TFrameDisplay::RefreshCurrentRow() {
    if (FCurrentRow == nullptr) {
        CmbText->setCurrentIndex(-1);
        CmbText->clearEditText();
        PanEditRow->hide();
        return;
    }
    const TRowEditorFields fields = TRowEditorFields::Of(*FCurrentRow);
    CbUsingParameter->setChecked(fields.UsingParameter);
    CmbText->setCurrentIndex(-1);
    CmbText->setEditText(QString::fromStdString(fields.Text));
    CmbFont->setCurrentIndex(fields.Font);
    CmbAlign->setCurrentIndex(fields.Align);
    CmbFgColor->setCurrentIndex(fields.FgColor);
    CmbBgColor->setCurrentIndex(fields.BgColor);
    CmbScrollspeed->setCurrentIndex(fields.Scrollspeed);
    TxtTimeout->setText(QString::fromStdString(fields.Timeout));
    BtnSave->setEnabled(true);
    BtnReset->setEnabled(true);
    PanEditRow->show();
    UpdatePreview();
}

TRowEditorFields TFrameDisplay::EditorFields() const {
    TRowEditorFields fields;
    fields.UsingParameter = CbUsingParameter->isChecked();
    fields.Text = CmbText->currentText().toStdString();
    fields.Font = CmbFont->currentIndex();
    fields.Align = CmbAlign->currentIndex();
    fields.FgColor = CmbFgColor->currentIndex();
    fields.BgColor = CmbBgColor->currentIndex();
    fields.Scrollspeed = CmbScrollspeed->currentIndex();
    fields.Timeout = TxtTimeout->text().toStdString();
    return fields;
}

// The row as the editor's fields would save it, shown anew only when what it sends changes, so
// that a scrolling text keeps moving.
void TFrameDisplay::UpdatePreview() {
    if (FCurrentRow == nullptr) {
        return;
    }
    TConfigurationRow row;
    FCurrentRow->AssignTo(row);
    EditorFields().ApplyTo(row);
    if (std::string configString = RowAloneString(row, DisplayWidth(), Resolver());
        configString != FPreviewString) {
        FPreviewString = std::move(configString);
        ShowRowAlone(FPreview->Display(), FPreviewString);
    }
    FPreview->Refresh();
}

// Brings the row back at once if the save fails, so the table shows what is saved.
void TFrameDisplay::OnHandleDeleteRow(int index) {
    if (index < 0 || index >= FTableModel->rowCount()) {
        return;
    }
    if (FCurrentRow == &FTableModel->Row(index)) {
        CloseEditor();
    }
    std::unique_ptr<TConfigurationRow> removed = FTableModel->Remove(index);
    if (!RaiseSaveChanges()) {
        FTableModel->Insert(index, std::move(removed));
        return;
    }
    FRemovedRow = std::move(removed);
    FRemovedIndex = index;
    Refresh();
}

void TFrameDisplay::UndoDelete() {
    if (!FRemovedRow) {
        return;
    }
    TConfigurationRow& restored = FTableModel->Insert(FRemovedIndex, std::move(FRemovedRow));
    if (!RaiseSaveChanges()) {
        FRemovedRow = FTableModel->Remove(FTableModel->IndexOf(restored));
        return;
    }
    FTable->selectRow(FTableModel->IndexOf(restored));
    Refresh();
}

void TFrameDisplay::OnHandleMoveRow(int index, int direction) {
    if (!FTableModel->Move(index, direction)) {
        return;
    }
    if (!RaiseSaveChanges()) {
        FTableModel->Move(index + direction, -direction);
        return;
    }
    FTable->selectRow(index + direction);
}

void TFrameDisplay::btnSaveDisplayConfigurationClick() {
    const auto size = Selected(CmbDisplaySize);
    const auto brightness = Selected(CmbBrightness);
    const bool applied =
        ApplyDisplaySettings(FModel, FCycle.Name(), txtDisplaySettings->text().toStdString(),
                             size ? std::optional<std::uint16_t>(DisplayWidths[*size]) : std::nullopt,
                             brightness ? std::optional<std::uint8_t>(*brightness) : std::nullopt);
    if (applied) {
        RaiseSaveChanges();
        Refresh();
    }
}

bool TFrameDisplay::RaiseSaveChanges() {
    return !FSaveChanges || FSaveChanges();
}

int TFrameDisplay::DisplayWidth() const {
    const TVDisplay* display = FModel.GetDisplay(FCycle.Name());
    return display != nullptr && display->Width() > 0 ? display->Width() : DefaultDisplayWidth;
}

TResolveReferences TFrameDisplay::Resolver() const {
    return [this](const std::string& configString) {
        TDisplayClientBase* client = FModel.GetDisplayClientFromCache(FCycle.Name());
        return client != nullptr ? client->ResolvedConfigString(configString) : configString;
    };
}

void TFrameDisplay::OnSent(const std::string& configString, const TConfigurationRow* row) {
    FollowConnection();
    FMirror->Display().ExecuteConfigString(configString);
    if (row != nullptr) {
        FLastSentText = TRowViewTexts::Of(*row, {}).Text;
        FLastSentAt = Clock().Now();
    }
}

void TFrameDisplay::FollowConnection() {
    const TDisplayClientBase* client = FModel.GetDisplayClientFromCache(FCycle.Name());
    if (client != nullptr && client->ConnectionCount() != FMirroredConnection) {
        FMirroredConnection = client->ConnectionCount();
        FMirror->Display().Execute("-dac");
    }
}
