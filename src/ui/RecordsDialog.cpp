#include "ui/RecordsDialog.h"

#include "ui/Named.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor BlockingColor(176, 0, 32);
const QColor DoubtColor(150, 90, 0);

} // namespace

TRecordsDialog::TRecordsDialog(const QString& title, const QString& recordTip, TDraftSource draftSource,
                               TApply apply, QWidget* parent)
    : QDialog(parent), FDraftSource(std::move(draftSource)), FApply(std::move(apply)),
      FDraft(FDraftSource()) {
    setWindowTitle(title);
    FList = Named(new QListWidget(this), "LstRecords", recordTip);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FRemove = Named(new QPushButton(QStringLiteral("Ta bort"), this), "BtnRemove",
                    QStringLiteral("Ta bort den valda; du får frågan först"));
    FSave = Named(new QPushButton(QStringLiteral("Spara"), this), "BtnSave",
                  QStringLiteral("Spara och använd ändringen genast, utan omstart"));
    FSave->setDefault(true);
    connect(FList, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!name.isEmpty()) {
            Select(name.toStdString());
        }
    });
    connect(FRemove, &QPushButton::clicked, this, [this] {
        if (FEditedName) {
            RemoveRecord(*FEditedName);
        }
    });
    connect(FSave, &QPushButton::clicked, this, [this] { SaveRecord(); });
}

void TRecordsDialog::Finish(QWidget* form) {
    auto* add = Named(new QPushButton(QStringLiteral("Lägg till"), this), "BtnAdd",
                      QStringLiteral("Fyll i en ny och spara den"));
    auto* cancel = Named(new QPushButton(QStringLiteral("Avbryt"), this), "BtnCancel",
                         QStringLiteral("Glöm det som inte sparats"));
    auto* close = Named(new QPushButton(QStringLiteral("Stäng"), this), "BtnClose",
                        QStringLiteral("Stäng; det som inte sparats glöms"));
    connect(add, &QPushButton::clicked, this, [this] {
        FList->clearSelection();
        FList->setCurrentRow(-1);
        Select(std::nullopt);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { Select(FEditedName); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* left = new QVBoxLayout;
    left->addWidget(FList, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(FRemove);
    left->addLayout(listButtons);

    auto* right = new QVBoxLayout;
    right->addWidget(form, 1);
    auto* formButtons = new QHBoxLayout;
    formButtons->addStretch();
    formButtons->addWidget(FSave);
    formButtons->addWidget(cancel);
    formButtons->addWidget(close);
    right->addLayout(formButtons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 3);
    FillList(std::nullopt);
    const std::vector<std::string> names = Names(FDraft);
    Select(names.empty() ? std::nullopt : std::optional(names.front()));
}

std::size_t TRecordsDialog::PlaceOfForm(const std::vector<std::string>& names) const {
    const auto found = FEditedName ? std::ranges::find(names, *FEditedName) : names.end();
    return static_cast<std::size_t>(found - names.begin());
}

bool TRecordsDialog::ApplyDraft(TConfigurationDraft changed, const std::optional<std::string>& select) {
    if (!FApply(std::move(changed))) {
        return false;
    }
    FDraft = FDraftSource();
    FillList(select);
    const std::vector<std::string> names = Names(FDraft);
    Select(select && std::ranges::find(names, *select) != names.end() ? select
           : names.empty()                                            ? std::nullopt
                                                                      : std::optional(names.front()));
    return true;
}

void TRecordsDialog::SetSaveEnabled(bool enabled) {
    FSave->setEnabled(enabled);
}

void TRecordsDialog::FillList(const std::optional<std::string>& select) {
    const QSignalBlocker quiet(FList);
    FList->clear();
    for (const std::string& name : Names(FDraft)) {
        FList->addItem(QString::fromStdString(name));
        if (select == name) {
            FList->setCurrentRow(FList->count() - 1);
        }
    }
}

void TRecordsDialog::Select(const std::optional<std::string>& name) {
    FEditedName = name;
    if (name) {
        const QSignalBlocker quiet(FList);
        const auto items = FList->findItems(QString::fromStdString(*name), Qt::MatchExactly);
        FList->setCurrentItem(items.isEmpty() ? nullptr : items.front());
    }
    FRemove->setEnabled(name.has_value());
    ShowRecord(name);
}

QLabel* NewProblemLabel(const char* name, QWidget* parent) {
    auto* label =
        Named(new QLabel(parent), name, QStringLiteral("Vad som är fel eller tveksamt i fältet ovanför"));
    label->setWordWrap(true);
    label->hide();
    return label;
}

void ShowProblems(QLabel* label, const TEditProblems& problems, TEditField field) {
    QStringList lines;
    bool blocking = false;
    for (const TEditProblem& problem : problems) {
        if (problem.Field == field) {
            lines << QString::fromStdString(problem.Message);
            blocking = blocking || problem.Blocking;
        }
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, blocking ? BlockingColor : DoubtColor);
    label->setPalette(palette);
    label->setText(lines.join(QLatin1Char('\n')));
    label->setVisible(!lines.isEmpty());
}

void FitInto(QWidget& dialog, QSize designed) {
    dialog.resize(designed.boundedTo(dialog.screen()->availableGeometry().size() * 9 / 10));
}
