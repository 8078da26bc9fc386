#include "ui/FrameDisplayUI.h"

#include "clients/DisplayClient.h"
#include "config/VDisplay.h"
#include "model/DatasourceTexts.h"
#include "model/DisplaySettingsChange.h"
#include "model/LocalViewModel.h"
#include "model/OneLineText.h"
#include "rows/ConfigurationTexts.h"
#include "rows/RowSendCycle.h"
#include "rows/RowsFile.h"
#include "ui/DialGauge.h"
#include "ui/ErrorBox.h"
#include "ui/FrameRowUI.h"
#include "ui/HeaderBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int DisplayWidths[] = {64, 128};

template <typename TWidget> TWidget* Named(TWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* NewChoice(const char* name, int width, QWidget* parent) {
    auto* choice = Named(new QComboBox(parent), name);
    choice->setFixedWidth(width);
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

} // namespace

TFrameDisplay::TFrameDisplay(TRowSendCycle& cycle, TLocalViewModel& model, QWidget* parent)
    : QWidget(parent), FCycle(cycle), FModel(model) {
    setObjectName(QString::fromStdString(FrameName(cycle.Name())));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildSettings());
    layout->addWidget(BuildColumnHeader());
    layout->addWidget(BuildEditor());
    layout->addWidget(BuildRowList(), 1);
    FillChoices();
    for (const auto& row : FCycle.Rows()) {
        AddRowFrame(*row);
    }
    CloseEditor();
    Refresh();
}

QWidget* TFrameDisplay::BuildSettings() {
    auto* header = new QWidget(this);
    header->setFixedHeight(145);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(8, 4, 8, 0);

    auto* group = new QWidget(header);
    auto* grid = new QGridLayout(group);
    txtSoftwareVersion = Named(new QLineEdit(group), "txtSoftwareVersion");
    txtSoftwareVersion->setReadOnly(true);
    txtSoftwareVersion->setFixedWidth(121);
    txtDisplaySettings = Named(new QLineEdit(group), "txtDisplaySettings");
    txtDisplaySettings->setFixedWidth(249);
    btnSaveDisplayConfiguration =
        Named(new QPushButton(QStringLiteral("Spara"), group), "btnSaveDisplayConfiguration");
    CmbDisplaySize = NewChoice("CmbDisplaySize", 121, group);
    CmbBrightness = NewChoice("CmbBrightness", 121, group);
    for (int width : DisplayWidths) {
        CmbDisplaySize->addItem(QString::number(width));
    }
    for (int brightness = 0; brightness <= TVDisplay::MaxBrightness; ++brightness) {
        CmbBrightness->addItem(QString::number(brightness));
    }
    auto* settingsRow = new QHBoxLayout;
    settingsRow->addWidget(txtDisplaySettings);
    settingsRow->addWidget(btnSaveDisplayConfiguration);
    settingsRow->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Mjukvaruversion"), group), 0, 0);
    grid->addWidget(txtSoftwareVersion, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Inställningar"), group), 0, 1);
    grid->addLayout(settingsRow, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Skärmstorlek"), group), 2, 0);
    grid->addWidget(CmbDisplaySize, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Ljusstyrka"), group), 2, 1);
    grid->addWidget(CmbBrightness, 3, 1, Qt::AlignLeft);
    grid->setRowStretch(4, 1);
    layout->addWidget(group, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addStretch();

    AdvShowingUntil = Named(new TDialGauge(header), "AdvShowingUntil");
    AdvShowingUntil->setFixedSize(145, 145);
    layout->addWidget(AdvShowingUntil);
    connect(btnSaveDisplayConfiguration, &QPushButton::clicked, this,
            [this] { RunGuarded(this, [this] { btnSaveDisplayConfigurationClick(); }); });
    return header;
}

QWidget* TFrameDisplay::BuildColumnHeader() {
    QWidget* bar = NewHeaderBar(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(3, 0, 1, 0);
    layout->setSpacing(0);
    const std::pair<const char*, int> columns[] = {
        {"Status", 100}, {"Text/Parameterval", 200}, {"Font", 200},  {"Justering", 50},
        {"Färg", 50},    {"Bakgrund", 60},           {"Scroll", 50}, {"Visningstid(msec)", 100},
    };
    for (const auto& [caption, width] : columns) {
        layout->addWidget(NewHeaderLabel(QString::fromUtf8(caption), 12, width, bar));
    }
    layout->addStretch();
    auto* add = Named(new QPushButton(QStringLiteral("+"), bar), "CmdAddRow");
    add->setFixedSize(22, 22);
    layout->addWidget(add);
    connect(add, &QPushButton::clicked, this, [this] { CmdAddRowClick(); });
    return bar;
}

QWidget* TFrameDisplay::BuildEditor() {
    PanEditRow = Named(new QWidget(this), "PanEditRow");
    PanEditRow->setFixedHeight(24);
    auto* layout = new QHBoxLayout(PanEditRow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    CbUsingParameter = Named(new QCheckBox(QStringLiteral("Datakälla"), PanEditRow), "CbUsingParameter");
    CbUsingParameter->setLayoutDirection(Qt::RightToLeft);
    CbUsingParameter->setFixedWidth(100);
    // Only picking a listed source ticks it.
    CbUsingParameter->setAttribute(Qt::WA_TransparentForMouseEvents);
    CbUsingParameter->setFocusPolicy(Qt::NoFocus);
    CmbText = NewChoice("CmbText", 200, PanEditRow);
    CmbText->setEditable(true);
    CmbText->setInsertPolicy(QComboBox::NoInsert);
    CmbFont = NewChoice("CmbFont", 200, PanEditRow);
    CmbAlign = NewChoice("CmbAlign", 50, PanEditRow);
    CmbFgColor = NewChoice("CmbFgColor", 50, PanEditRow);
    CmbBgColor = NewChoice("CmbBgColor", 60, PanEditRow);
    CmbScrollspeed = NewChoice("CmbScrollspeed", 50, PanEditRow);
    TxtTimeout = Named(new QLineEdit(QStringLiteral("1000"), PanEditRow), "TxtTimeout");
    TxtTimeout->setFixedWidth(60);
    TxtTimeout->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), TxtTimeout));
    BtnSave = Named(new QPushButton(QStringLiteral("Spara"), PanEditRow), "BtnSave");
    BtnReset = Named(new QPushButton(QStringLiteral("Återställ"), PanEditRow), "BtnReset");
    BtnSave->setFixedWidth(75);
    BtnReset->setFixedWidth(75);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{CbUsingParameter, CmbText, CmbFont, CmbAlign, CmbFgColor, CmbBgColor,
                                         CmbScrollspeed, TxtTimeout}) {
        layout->addWidget(widget);
    }
    layout->addStretch();
    layout->addWidget(BtnSave);
    layout->addWidget(BtnReset);

    connect(CmbText, &QComboBox::activated, this, [this] { CbUsingParameter->setChecked(true); });
    connect(CmbText->lineEdit(), &QLineEdit::textEdited, this,
            [this] { CbUsingParameter->setChecked(false); });
    connect(BtnSave, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { BtnSaveClick(); }); });
    connect(BtnReset, &QPushButton::clicked, this, [this] { CloseEditor(); });
    return PanEditRow;
}

QWidget* TFrameDisplay::BuildRowList() {
    auto* scroll = Named(new QScrollArea(this), "PanFrames");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* list = new QWidget(scroll);
    FRowViews = new QVBoxLayout(list);
    FRowViews->setContentsMargins(0, 0, 0, 0);
    FRowViews->setSpacing(0);
    FRowViews->addStretch();
    scroll->setWidget(list);
    return scroll;
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
        txtSoftwareVersion->setText(QString::fromStdString(client->SoftwareVersion()));
        const int sizeIndex = CmbDisplaySize->findText(QString::number(display->Width()));
        if (sizeIndex >= 0) {
            CmbDisplaySize->setCurrentIndex(sizeIndex);
        }
        CmbBrightness->setCurrentIndex(display->Brightness());
        RefreshSettingsEnabled();
    }
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

// "+": a row already open in the editor is left unsaved.
void TFrameDisplay::CmdAddRowClick() {
    FNewRow = std::make_unique<TConfigurationRow>(TConfigurationRow::NewDefault());
    FCurrentRow = FNewRow.get();
    RefreshCurrentRow();
}

void TFrameDisplay::OnHandleChangeRow(TConfigurationRow& row) {
    FNewRow.reset();
    FCurrentRow = &row;
    RefreshCurrentRow();
    CmbText->setFocus();
}

void TFrameDisplay::BtnSaveClick() {
    if (FCurrentRow == nullptr) {
        return;
    }
    EditorFields().ApplyTo(*FCurrentRow);
    TConfigurationRow* row = FCurrentRow;
    if (FNewRow) {
        row = &FCycle.AddRow(std::move(FNewRow));
        AddRowFrame(*row);
    }
    row->Change();
    CloseEditor();
    RaiseSaveChanges();
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

// Views are named from a counter, so a page holds any number of them.
TFrameRow* TFrameDisplay::AddRowFrame(TConfigurationRow& row) {
    auto* view = new TFrameRow(row, FRowViews->parentWidget());
    view->setObjectName(QStringLiteral("Frame_%1").arg(++FRowFrameCount));
    FRowViews->insertWidget(FRowViews->count() - 1, view);
    view->SetOnStartRowChange([this](TConfigurationRow& changed, TFrameRow*) { OnHandleChangeRow(changed); });
    view->SetOnStartRowRemoved([this](TConfigurationRow& removed, TFrameRow* sender) {
        RunGuarded(this, [&] { OnHandleDeleteRow(removed, sender); });
    });
    view->SetOnDatasourceQuery([this](const std::string& name) {
        return OneLineText(DatasourceQueryText(FModel, name));
    });
    view->SetOnStartRowMoveUp([this](TConfigurationRow& moved, TFrameRow* sender) {
        RunGuarded(this, [&] { OnHandleMoveRow(moved, sender, -1); });
    });
    view->SetOnStartRowMoveDown([this](TConfigurationRow& moved, TFrameRow* sender) {
        RunGuarded(this, [&] { OnHandleMoveRow(moved, sender, +1); });
    });
    return view;
}

// Saves at once, so a deleted row does not come back after a restart. The row open in the editor
// closes with it.
void TFrameDisplay::OnHandleDeleteRow(TConfigurationRow& row, TFrameRow* sender) {
    const auto index = IndexOf(row);
    if (!index) {
        return;
    }
    if (FCurrentRow == &row) {
        CloseEditor();
    }
    // The view's button is still handling its click: the view goes once that is over.
    sender->Detach();
    sender->hide();
    FRowViews->removeWidget(sender);
    sender->deleteLater();
    FCycle.DeleteRow(*index);
    RaiseSaveChanges();
}

void TFrameDisplay::OnHandleMoveRow(TConfigurationRow& row, TFrameRow* sender, int direction) {
    const auto index = IndexOf(row);
    if (!index || !FCycle.MoveRow(*index, direction)) {
        return;
    }
    FRowViews->removeWidget(sender);
    FRowViews->insertWidget(static_cast<int>(*index) + direction, sender);
    RaiseSaveChanges();
}

std::optional<std::size_t> TFrameDisplay::IndexOf(const TConfigurationRow& row) const {
    const auto& rows = FCycle.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].get() == &row) {
            return i;
        }
    }
    return std::nullopt;
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
    }
}

void TFrameDisplay::RaiseSaveChanges() {
    if (FSaveChanges) {
        FSaveChanges();
    }
}
