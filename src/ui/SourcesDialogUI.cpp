#include "ui/SourcesDialogUI.h"

#include "config/VDataSource.h"
#include "datasources/DisplayDataSourceBase.h"
#include "datasources/DisplayDataSourceJSON.h"
#include "datasources/DisplayDataSourceType.h"
#include "model/DatasourceTexts.h"
#include "model/OneLineText.h"
#include "model/SourceTrial.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/DateTimeText.h"
#include "ui/ErrorBox.h"
#include "ui/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int TestPollMsec = 50;
constexpr std::array SourceKinds = {DisplayDataSourceType_Static, DisplayDataSourceType_File,
                                    DisplayDataSourceType_REST, DisplayDataSourceType_JSON,
                                    DisplayDataSourceType_Expression};
constexpr std::array ValueTypes = {
    TDisplayDataSourceBase::ValueType_Text, TDisplayDataSourceBase::ValueType_Numeric,
    TDisplayDataSourceBase::ValueType_Date, TDisplayDataSourceBase::ValueType_Time};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// The lines, each on a line of its own.
QString Bulleted(const std::vector<std::string>& lines) {
    QStringList bulleted;
    for (const std::string& line : lines) {
        bulleted << QStringLiteral("• ") + Text(OneLineText(line));
    }
    return bulleted.join(QLatin1Char('\n'));
}

void SelectData(QComboBox* box, int code) {
    const int index = box->findData(code);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

// The result of a trial, shown beside its field.
void ShowResult(QLabel* label, const TSourceTrial::TResult& result) {
    const QString text = Text(OneLineText(result.Text));
    label->setText(result.Failed ? QStringLiteral("Fel: %1").arg(text)
                                 : QStringLiteral("Värde: %1").arg(text));
    label->setToolTip(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, result.Failed ? QColor(176, 0, 32) : QColor(0, 110, 40));
    label->setPalette(palette);
}

} // namespace

TSourcesDialog::TSourcesDialog(TLocalViewModel& model, TDraftSource draftSource, TApply apply,
                               QWidget* parent)
    : TRecordsDialog(QStringLiteral("Ändra källor"),
                     QStringLiteral("Datakällorna; välj en för att ändra den"), std::move(draftSource),
                     std::move(apply), parent),
      FModel(model) {
    setObjectName(QStringLiteral("SourcesDialog"));
    FTestPoll = new QTimer(this);
    FTestPoll->setInterval(TestPollMsec);
    connect(FTestPoll, &QTimer::timeout, this, [this] { PollTest(); });
    Finish(BuildForm());
    FitInto(*this, QSize(820, 440));
}

TSourcesDialog::~TSourcesDialog() = default;

QWidget* TSourcesDialog::BuildForm() {
    auto* form = new QWidget(this);
    auto* layout = new QFormLayout(form);
    EdName = Named(new QLineEdit(form), "EdName",
                   QStringLiteral("Namnet som rader och uttryck använder inom [ ]"));
    LblNameProblem = NewProblemLabel("LblNameProblem", form);
    EdDescription =
        Named(new QLineEdit(form), "EdDescription", QStringLiteral("Fri text som visas på sidan Datakällor"));
    CbKind = Named(new QComboBox(form), "CbKind", QStringLiteral("Varifrån värdet kommer"));
    for (const int kind : SourceKinds) {
        CbKind->addItem(Text(DatasourceTypeLabel(kind)), kind);
    }
    LblKindProblem = NewProblemLabel("LblKindProblem", form);
    CbValueType = Named(new QComboBox(form), "CbValueType", QStringLiteral("Hur uttryck läser värdet"));
    for (const int type : ValueTypes) {
        CbValueType->addItem(Text(ValueTypeLabel(type)), type);
    }
    EdInterval = Named(new QLineEdit(form), "EdInterval",
                       QStringLiteral("Hur ofta värdet hämtas, i millisekunder (0 till 65535; 0 = aldrig)"));
    LblIntervalProblem = NewProblemLabel("LblIntervalProblem", form);
    CbChangeable =
        Named(new QCheckBox(QStringLiteral("Visas på sidan Datakällor"), form), "CbChangeable",
              QStringLiteral("Ikryssad listas källan på sidan Datakällor, där ett datum kan ändras"));
    layout->addRow(QStringLiteral("Namn"), EdName);
    layout->addRow(QString(), LblNameProblem);
    layout->addRow(QStringLiteral("Beskrivning"), EdDescription);
    layout->addRow(QStringLiteral("Källatyp"), CbKind);
    layout->addRow(QString(), LblKindProblem);
    layout->addRow(QStringLiteral("Datatyp"), CbValueType);
    layout->addRow(QStringLiteral("Intervall (ms)"), EdInterval);
    layout->addRow(QString(), LblIntervalProblem);
    layout->addRow(QString(), CbChangeable);
    layout->addRow(BuildKindPages());
    LblConfigurationProblem = NewProblemLabel("LblConfigurationProblem", form);
    layout->addRow(QString(), LblConfigurationProblem);

    for (QLineEdit* edit :
         {EdName, EdDescription, EdInterval, EdStaticValue, EdFilePath, EdUrl, EdMember, EdExpression}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { Recheck(); });
    }
    connect(CbKind, &QComboBox::currentIndexChanged, this, [this] {
        FKindPages->setCurrentIndex(CbKind->currentIndex());
        // A new source is fetched as often as its kind usually is, unless the operator chose.
        if (!EditedName() && IntervalFromText(Text(EdInterval)) == SuggestedInterval(FSuggestedFor)) {
            EdInterval->setText(QString::number(SuggestedInterval(CbKind->currentData().toInt())));
        }
        FSuggestedFor = CbKind->currentData().toInt();
        Recheck();
    });
    connect(CbValueType, &QComboBox::currentIndexChanged, this, [this] { Recheck(); });
    return form;
}

QWidget* TSourcesDialog::BuildKindPages() {
    FKindPages = new QStackedWidget(this);

    auto* staticPage = new QWidget(FKindPages);
    auto* staticLayout = new QFormLayout(staticPage);
    EdStaticValue = Named(new QLineEdit(staticPage), "EdStaticValue",
                          QStringLiteral("Värdet; now() står för dagens datum eller tiden just nu"));
    DtStaticDate =
        Named(new QDateEdit(staticPage), "DtStaticDate", QStringLiteral("Välj ett datum som värde"));
    DtStaticDate->setCalendarPopup(true);
    auto* now = Named(new QPushButton(QStringLiteral("now()"), staticPage), "BtnNow",
                      QStringLiteral("Värdet blir alltid dagens datum (Datum) eller tiden just nu (Tid)"));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(DtStaticDate, 1);
    dateRow->addWidget(now);
    staticLayout->addRow(QStringLiteral("Värde"), EdStaticValue);
    staticLayout->addRow(QStringLiteral("Datum"), dateRow);
    connect(DtStaticDate, &QDateEdit::userDateChanged, this, [this](QDate date) {
        EdStaticValue->setText(Text(DateToText(EncodeDateTime({date.year(), date.month(), date.day()}))));
    });
    connect(now, &QPushButton::clicked, this, [this] { EdStaticValue->setText(QStringLiteral("now()")); });

    auto* filePage = new QWidget(FKindPages);
    auto* fileLayout = new QHBoxLayout(filePage);
    EdFilePath = Named(new QLineEdit(filePage), "EdFilePath", QStringLiteral("Filen som värdet läses från"));
    auto* browse = Named(new QPushButton(QStringLiteral("Bläddra…"), filePage), "BtnBrowse",
                         QStringLiteral("Välj filen"));
    fileLayout->addWidget(new QLabel(QStringLiteral("Fil"), filePage));
    fileLayout->addWidget(EdFilePath, 1);
    fileLayout->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getOpenFileName(this, QStringLiteral("Välj fil"), EdFilePath->text());
        if (!chosen.isEmpty()) {
            EdFilePath->setText(chosen);
        }
    });

    auto* restPage =
        new QLabel(QStringLiteral("Värdet sätts utifrån, genom programmets HTTP-gränssnitt."), FKindPages);
    restPage->setWordWrap(true);

    auto* jsonPage = new QWidget(FKindPages);
    auto* jsonLayout = new QFormLayout(jsonPage);
    EdUrl = Named(new QLineEdit(jsonPage), "EdUrl",
                  QStringLiteral("Adressen (http eller https) till ett JSON-objekt"));
    EdMember = Named(new QLineEdit(jsonPage), "EdMember",
                     QStringLiteral("Namnet på objektets medlem som är värdet"));
    auto* test = Named(new QPushButton(QStringLiteral("Testa"), jsonPage), "BtnTest",
                       QStringLiteral("Hämta värdet nu, i bakgrunden, och visa det eller felet"));
    LblTestResult = Named(new QLabel(jsonPage), "LblTestResult", QStringLiteral("Vad Testa fick"));
    LblTestResult->setWordWrap(true);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(test);
    testRow->addWidget(LblTestResult, 1);
    jsonLayout->addRow(QStringLiteral("Adress"), EdUrl);
    jsonLayout->addRow(QStringLiteral("Medlem"), EdMember);
    jsonLayout->addRow(testRow);
    connect(test, &QPushButton::clicked, this, [this] { StartTest(); });

    auto* expressionPage = new QWidget(FKindPages);
    auto* expressionLayout = new QFormLayout(expressionPage);
    EdExpression = Named(new QLineEdit(expressionPage), "EdExpression",
                         QStringLiteral("Ett uttryck med andra källor inom [ ], t.ex. [Antal]*2"));
    LblExpressionResult = Named(new QLabel(expressionPage), "LblExpressionResult",
                                QStringLiteral("Uttryckets värde just nu, med källornas nuvarande värden"));
    LblExpressionResult->setWordWrap(true);
    expressionLayout->addRow(QStringLiteral("Uttryck"), EdExpression);
    expressionLayout->addRow(QStringLiteral("Resultat"), LblExpressionResult);

    for (QWidget* page : {staticPage, filePage, static_cast<QWidget*>(restPage), jsonPage, expressionPage}) {
        FKindPages->addWidget(page);
    }
    return FKindPages;
}

std::vector<std::string> TSourcesDialog::Names(const TConfigurationDraft& draft) const {
    return RecordNames(draft.Sources);
}

void TSourcesDialog::ShowRecord(const std::optional<std::string>& name) {
    FOriginal = std::make_unique<TVDataSource>();
    if (const auto place = name ? RecordPlace(Draft().Sources, *name) : std::nullopt) {
        FOriginal->Assign(Draft().Sources[*place]);
    } else {
        FOriginal->SetDataSourceType(DisplayDataSourceType_Static);
    }
    FTest.reset();
    FTestPoll->stop();
    LblTestResult->clear();
    EdName->setText(Text(FOriginal->Name()));
    EdDescription->setText(Text(FOriginal->Description()));
    FSuggestedFor = FOriginal->DataSourceType();
    SelectData(CbKind, FOriginal->DataSourceType());
    SelectData(CbValueType, FOriginal->ValueType());
    EdInterval->setText(QString::number(FOriginal->Timeout()));
    CbChangeable->setChecked(FOriginal->PublicChangeable());
    ShowConfiguration(FOriginal->DataSourceType(), FOriginal->Configuration());
    Recheck();
}

void TSourcesDialog::ShowConfiguration(int kind, const std::string& configuration) {
    for (QLineEdit* edit : {EdStaticValue, EdFilePath, EdUrl, EdMember, EdExpression}) {
        edit->clear();
    }
    if (kind == DisplayDataSourceType_Static) {
        EdStaticValue->setText(Text(configuration));
        TDateTime date = 0;
        const bool isDate = TryTextToDateTime(configuration, date);
        const TDateTimeParts parts = DecodeDateTime(isDate ? date : Now());
        // Only a date the operator picks becomes the value.
        const QSignalBlocker quiet(DtStaticDate);
        DtStaticDate->setDate(QDate(parts.Year, parts.Month, parts.Day));
    } else if (kind == DisplayDataSourceType_File) {
        EdFilePath->setText(Text(configuration));
    } else if (kind == DisplayDataSourceType_JSON) {
        const TDisplayDataSourceJSON json({}, configuration);
        EdUrl->setText(Text(json.Source()));
        EdMember->setText(Text(json.Attribute()));
    } else if (kind == DisplayDataSourceType_Expression) {
        EdExpression->setText(Text(configuration));
    }
}

std::string TSourcesDialog::FormConfiguration() const {
    switch (CbKind->currentData().toInt()) {
    case DisplayDataSourceType_Static:
        return Text(EdStaticValue);
    case DisplayDataSourceType_File:
        return Text(EdFilePath);
    case DisplayDataSourceType_JSON: {
        TDisplayDataSourceJSON json({}, {});
        json.Reinitialize(Text(EdUrl), Text(EdMember));
        return json.GetConfiguration();
    }
    case DisplayDataSourceType_Expression:
        return Text(EdExpression);
    default:
        return {};
    }
}

std::unique_ptr<TVDataSource> TSourcesDialog::FormRecord() const {
    auto record = std::make_unique<TVDataSource>();
    record->Assign(*FOriginal);
    record->SetName(Text(EdName));
    record->SetDescription(Text(EdDescription));
    record->SetPublicChangeable(CbChangeable->isChecked());
    record->SetDataSourceType(static_cast<std::uint16_t>(CbKind->currentData().toInt()));
    record->SetValueType(static_cast<std::uint16_t>(CbValueType->currentData().toInt()));
    record->SetTimeout(IntervalFromText(Text(EdInterval)).value_or(0));
    record->SetConfiguration(FormConfiguration());
    return record;
}

void TSourcesDialog::Recheck() {
    if (!FOriginal) {
        return;
    }
    const auto record = FormRecord();
    const TEditProblems problems =
        CheckSource(Draft(), PlaceOfForm(Names(Draft())), *record, Text(EdInterval));
    ShowProblems(LblNameProblem, problems, TEditField::Name);
    ShowProblems(LblKindProblem, problems, TEditField::Kind);
    ShowProblems(LblIntervalProblem, problems, TEditField::Interval);
    ShowProblems(LblConfigurationProblem, problems, TEditField::Configuration);
    SetSaveEnabled(!AnyBlocking(problems));
    DtStaticDate->setEnabled(record->ValueType() == TDisplayDataSourceBase::ValueType_Date);
    if (record->DataSourceType() == DisplayDataSourceType_Expression) {
        TSourceTrial trial(*record, FModel);
        if (const auto result = trial.Poll()) {
            ShowResult(LblExpressionResult, *result);
        }
    }
}

void TSourcesDialog::StartTest() {
    const auto record = FormRecord();
    FTest = std::make_unique<TSourceTrial>(*record, FModel);
    LblTestResult->setText(QStringLiteral("Hämtar …"));
    LblTestResult->setPalette(QPalette());
    FTestPoll->start();
    PollTest();
}

void TSourcesDialog::PollTest() {
    if (!FTest) {
        FTestPoll->stop();
        return;
    }
    if (const auto result = FTest->Poll()) {
        FTestPoll->stop();
        ShowResult(LblTestResult, *result);
        FTest.reset();
    }
}

void TSourcesDialog::SaveRecord() {
    const std::shared_ptr<TVDataSource> edited = FormRecord();
    if (AnyBlocking(CheckSource(Draft(), PlaceOfForm(Names(Draft())), *edited, Text(EdInterval)))) {
        return;
    }
    const std::optional<std::string> old = EditedName();
    const std::vector<std::string> uses =
        old && *old != edited->Name() ? SourceUses(Draft(), *old) : std::vector<std::string>();
    if (uses.empty()) {
        Store(*edited, false);
        return;
    }
    AskQuestion(this,
                QStringLiteral("Källan %1 används här:\n%2\n\nByta namn till %3 även där?")
                    .arg(Text(*old), Bulleted(uses), Text(edited->Name())),
                true, [this, edited](bool yes) { Store(*edited, yes); });
}

void TSourcesDialog::Store(const TVDataSource& edited, bool renameReferences) {
    TConfigurationDraft draft = FreshDraft();
    const std::optional<std::string> old = EditedName();
    if (const auto place = old ? RecordPlace(draft.Sources, *old) : std::nullopt) {
        draft.Sources[*place].Assign(edited);
    } else {
        draft.Sources.Add(CopyRecord(edited));
    }
    if (renameReferences) {
        RenameSourceReferences(draft, *old, edited.Name());
    }
    ApplyDraft(std::move(draft), edited.Name());
}

void TSourcesDialog::RemoveRecord(const std::string& name) {
    const std::vector<std::string> uses = SourceUses(Draft(), name);
    const QString question =
        uses.empty()
            ? QStringLiteral("Ta bort källan %1?").arg(Text(name))
            : QStringLiteral("Källan %1 används fortfarande:\n%2\n\nTa bort den ändå? Där visas då inget "
                             "värde.")
                  .arg(Text(name), Bulleted(uses));
    AskQuestion(this, question, uses.empty(), [this, name](bool yes) {
        if (!yes) {
            return;
        }
        TConfigurationDraft draft = FreshDraft();
        if (const auto place = RecordPlace(draft.Sources, name)) {
            draft.Sources.Extract(*place);
        }
        ApplyDraft(std::move(draft), std::nullopt);
    });
}
