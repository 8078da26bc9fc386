#include "ui/DisplaysDialogUI.h"

#include "clients/DisplayClientVorlixTCPIP.h"
#include "config/VDisplay.h"
#include "datasources/DisplayType.h"
#include "platform/SerialPortNames.h"
#include "rows/RowsFile.h"
#include "ui/ErrorBox.h"
#include "ui/Named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>

#include <algorithm>
#include <array>

namespace {

struct TKind {
    int Code;
    const char* Label;
};
// In the order of the settings pages.
constexpr std::array<TKind, 3> DisplayKinds = {{{DisplayType_Vorlix3Ip, "Vorlix3 via TCP/IP"},
                                                {DisplayType_Vorlix3Com, "Vorlix3 via serieport"},
                                                {DisplayType_Debug, "Test (bara loggen)"}}};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TDisplaysDialog::TDisplaysDialog(TDraftSource draftSource, TApply apply, QWidget* parent)
    : TRecordsDialog(QStringLiteral("Skärmar"), QStringLiteral("Skärmarna; välj en för att ändra den"),
                     std::move(draftSource), std::move(apply), parent) {
    setObjectName(QStringLiteral("DisplaysDialog"));
    Finish(BuildForm());
    FitInto(*this, QSize(700, 360));
}

TDisplaysDialog::~TDisplaysDialog() = default;

QWidget* TDisplaysDialog::BuildForm() {
    auto* form = new QWidget(this);
    auto* layout = new QFormLayout(form);
    EdDisplayName = Named(new QLineEdit(form), "EdDisplayName",
                          QStringLiteral("Skärmens namn: på knappen, och i radfilens namn"));
    LblNameProblem = NewProblemLabel("LblNameProblem", form);
    CbDisplayKind =
        Named(new QComboBox(form), "CbDisplayKind", QStringLiteral("Sorts skärm och hur den är ansluten"));
    for (const TKind& kind : DisplayKinds) {
        CbDisplayKind->addItem(QString::fromUtf8(kind.Label), kind.Code);
    }
    LblKindProblem = NewProblemLabel("LblKindProblem", form);
    CbWidth = Named(new QComboBox(form), "CbWidth", QStringLiteral("Skärmens bredd i lysdioder"));
    CbWidth->addItem(QStringLiteral("64"), 64);
    CbWidth->addItem(QStringLiteral("128"), 128);
    LblWidthProblem = NewProblemLabel("LblWidthProblem", form);
    SpBrightness =
        Named(new QSpinBox(form), "SpBrightness", QStringLiteral("Skärmens ljusstyrka, 0 till 100"));
    SpBrightness->setRange(0, 100);
    layout->addRow(QStringLiteral("Namn"), EdDisplayName);
    layout->addRow(QString(), LblNameProblem);
    layout->addRow(QStringLiteral("Typ"), CbDisplayKind);
    layout->addRow(QString(), LblKindProblem);
    layout->addRow(QStringLiteral("Bredd"), CbWidth);
    layout->addRow(QString(), LblWidthProblem);
    layout->addRow(QStringLiteral("Ljusstyrka"), SpBrightness);
    layout->addRow(BuildSettingsPages());
    LblSettingsProblem = NewProblemLabel("LblSettingsProblem", form);
    layout->addRow(QString(), LblSettingsProblem);

    connect(EdDisplayName, &QLineEdit::textChanged, this, [this] { Recheck(); });
    connect(CbDisplayKind, &QComboBox::currentIndexChanged, this, [this] {
        FSettingsPages->setCurrentIndex(CbDisplayKind->currentIndex());
        Recheck();
    });
    connect(CbWidth, &QComboBox::currentIndexChanged, this, [this] { Recheck(); });
    connect(CbSerialPort, &QComboBox::currentTextChanged, this, [this] { Recheck(); });
    connect(EdAddress, &QLineEdit::textChanged, this, [this] { Recheck(); });
    connect(SpPort, &QSpinBox::valueChanged, this, [this] { Recheck(); });
    return form;
}

QWidget* TDisplaysDialog::BuildSettingsPages() {
    FSettingsPages = new QStackedWidget(this);

    auto* tcpPage = new QWidget(FSettingsPages);
    auto* tcpLayout = new QFormLayout(tcpPage);
    EdAddress =
        Named(new QLineEdit(tcpPage), "EdAddress", QStringLiteral("Skärmens IP-adress eller värdnamn"));
    SpPort = Named(new QSpinBox(tcpPage), "SpPort", QStringLiteral("Skärmens portnummer (vanligen 3027)"));
    SpPort->setRange(1, 65535);
    tcpLayout->addRow(QStringLiteral("Adress"), EdAddress);
    tcpLayout->addRow(QStringLiteral("Port"), SpPort);

    auto* serialPage = new QWidget(FSettingsPages);
    auto* serialLayout = new QFormLayout(serialPage);
    CbSerialPort =
        Named(new QComboBox(serialPage), "CbSerialPort",
              QStringLiteral("Serieporten: välj en av datorns eller skriv en enhet eller ett portnummer"));
    CbSerialPort->setEditable(true);
    for (const std::string& port : SerialPortNames()) {
        CbSerialPort->addItem(Text(port));
    }
    serialLayout->addRow(QStringLiteral("Port"), CbSerialPort);

    auto* debugPage = new QLabel(QStringLiteral("Det som skulle skickas skrivs i loggen."), FSettingsPages);
    for (QWidget* page : {tcpPage, serialPage, static_cast<QWidget*>(debugPage)}) {
        FSettingsPages->addWidget(page);
    }
    return FSettingsPages;
}

std::vector<std::string> TDisplaysDialog::Names(const TConfigurationDraft& draft) const {
    return RecordNames(draft.Displays);
}

void TDisplaysDialog::ShowRecord(const std::optional<std::string>& name) {
    FOriginal = std::make_unique<TVDisplay>();
    if (const auto place = name ? RecordPlace(Draft().Displays, *name) : std::nullopt) {
        FOriginal->Assign(Draft().Displays[*place]);
    } else {
        FOriginal->SetDisplayType(DisplayType_Vorlix3Ip);
        FOriginal->SetWidth(128);
        FOriginal->SetBrightness(100);
    }
    const TVDisplay& shown = *FOriginal;
    EdDisplayName->setText(Text(shown.Name()));
    const int kind = CbDisplayKind->findData(shown.DisplayType());
    CbDisplayKind->setCurrentIndex(kind >= 0 ? kind : 0);
    const int width = CbWidth->findData(shown.Width());
    CbWidth->setCurrentIndex(width >= 0 ? width : 1);
    SpBrightness->setValue(shown.Brightness());
    const std::string& settings = shown.DisplaySettings();
    const bool tcp = shown.DisplayType() == DisplayType_Vorlix3Ip;
    const std::size_t colon = settings.find(':');
    EdAddress->setText(tcp ? Text(settings.substr(0, colon)) : QString());
    SpPort->setValue(tcp && colon != std::string::npos
                         ? QString::fromStdString(settings.substr(colon + 1)).toInt()
                         : TDisplayClientVorlixTCPIP::DefaultPort);
    if (!tcp || colon == std::string::npos || SpPort->value() == 0) {
        SpPort->setValue(TDisplayClientVorlixTCPIP::DefaultPort);
    }
    CbSerialPort->setCurrentText(shown.DisplayType() == DisplayType_Vorlix3Com ? Text(settings) : QString());
    Recheck();
}

std::string TDisplaysDialog::FormSettings() const {
    switch (CbDisplayKind->currentData().toInt()) {
    case DisplayType_Vorlix3Ip:
        return EdAddress->text().trimmed().toStdString() + ":" + std::to_string(SpPort->value());
    case DisplayType_Vorlix3Com:
        return CbSerialPort->currentText().trimmed().toStdString();
    default:
        return FOriginal->DisplayType() == DisplayType_Debug ? FOriginal->DisplaySettings() : std::string();
    }
}

std::unique_ptr<TVDisplay> TDisplaysDialog::FormRecord() const {
    auto record = std::make_unique<TVDisplay>();
    record->Assign(*FOriginal);
    record->SetName(EdDisplayName->text().toStdString());
    record->SetDisplayType(static_cast<std::uint16_t>(CbDisplayKind->currentData().toInt()));
    record->SetWidth(static_cast<std::uint16_t>(CbWidth->currentData().toInt()));
    record->SetBrightness(static_cast<std::uint8_t>(SpBrightness->value()));
    record->SetDisplaySettings(FormSettings());
    return record;
}

void TDisplaysDialog::Recheck() {
    if (!FOriginal) {
        return;
    }
    const auto record = FormRecord();
    const TEditProblems problems = CheckDisplay(Draft(), PlaceOfForm(Names(Draft())), *record);
    ShowProblems(LblNameProblem, problems, TEditField::Name);
    ShowProblems(LblKindProblem, problems, TEditField::Kind);
    ShowProblems(LblWidthProblem, problems, TEditField::Width);
    ShowProblems(LblSettingsProblem, problems, TEditField::Settings);
    SetSaveEnabled(!AnyBlocking(problems));
}

void TDisplaysDialog::SaveRecord() {
    const auto edited = FormRecord();
    if (AnyBlocking(CheckDisplay(Draft(), PlaceOfForm(Names(Draft())), *edited))) {
        return;
    }
    TConfigurationDraft draft = FreshDraft();
    const std::optional<std::string> old = EditedName();
    if (const auto place = old ? RecordPlace(draft.Displays, *old) : std::nullopt) {
        RenameDisplay(draft, *place, edited->Name());
        draft.Displays[*place].Assign(*edited);
    } else {
        draft.Displays.Add(CopyRecord(*edited));
    }
    ApplyDraft(std::move(draft), edited->Name());
}

void TDisplaysDialog::RemoveRecord(const std::string& name) {
    AskQuestion(this,
                QStringLiteral("Ta bort skärmen %1? Den kopplas ner, och dess rader sparas undan i %2.")
                    .arg(Text(name), Text(FrameName(name) + "-definedrows.json.removed")),
                false, [this, name](bool yes) {
                    if (!yes) {
                        return;
                    }
                    TConfigurationDraft draft = FreshDraft();
                    if (const auto place = RecordPlace(draft.Displays, name)) {
                        draft.Displays.Extract(*place);
                        draft.Rows.erase(name);
                    }
                    ApplyDraft(std::move(draft), std::nullopt);
                });
}
