#include "ui/FrameDatasourceUI.h"

#include "datasources/DisplayDataSourceBase.h"
#include "model/DatasourceTexts.h"
#include "model/LocalViewModel.h"
#include "model/OneLineText.h"
#include "model/StaticDateChange.h"
#include "ui/ErrorBox.h"
#include "ui/HeaderBar.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int NameColumn = 0;
constexpr int ValueColumn = 4;
// The values are shown anew this often.
constexpr int LiveValuesMsec = 300;
const QColor ErrorColor(176, 0, 32);

void SetTextIfChanged(QTableWidgetItem& item, const QString& text) {
    if (item.text() != text) {
        item.setText(text);
    }
}

QDate ToQDate(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    return {parts.Year, parts.Month, parts.Day};
}

TDateTime FromQDate(QDate date) {
    return EncodeDateTime({date.year(), date.month(), date.day()});
}

} // namespace

TFrameDatasource::TFrameDatasource(TLocalViewModel& model, QWidget* parent) : QWidget(parent), FModel(model) {
    setObjectName(QStringLiteral("Frame_Datasources"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* header = NewHeaderBar(this);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(6, 0, 0, 0);
    headerLayout->addWidget(
        NewHeaderLabel(QStringLiteral("Förkonfigurerade ändringsbara datakällor"), header));
    headerLayout->addStretch();
    BtnEditSources = new QPushButton(QStringLiteral("Ändra källor"), header);
    BtnEditSources->setObjectName(QStringLiteral("BtnEditSources"));
    BtnEditSources->setToolTip(QStringLiteral("Lägg till, ändra och ta bort datakällor av alla slag"));
    BtnEditSources->setEnabled(false);
    connect(BtnEditSources, &QPushButton::clicked, this, [this] {
        if (FEditSources) {
            FEditSources();
        }
    });
    headerLayout->addWidget(BtnEditSources);
    layout->addWidget(header);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(body, 1);
    LvDatasources = new QTableWidget(0, 5, this);
    LvDatasources->setObjectName(QStringLiteral("LvDatasources"));
    LvDatasources->setToolTip(QStringLiteral("Välj en statisk källa för att ge den ett nytt datum"));
    LvDatasources->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Beskrivning"),
                                              QStringLiteral("Källatyp"), QStringLiteral("Datatyp"),
                                              QStringLiteral("Värde")});
    LvDatasources->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    LvDatasources->horizontalHeader()->setSectionResizeMode(ValueColumn, QHeaderView::Stretch);
    LvDatasources->setWordWrap(false);
    LvDatasources->verticalHeader()->hide();
    // One line per source, like a report list.
    LvDatasources->verticalHeader()->setDefaultSectionSize(LvDatasources->fontMetrics().height() + 6);
    LvDatasources->setShowGrid(true);
    LvDatasources->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvDatasources->setSelectionMode(QAbstractItemView::SingleSelection);
    LvDatasources->setEditTriggers(QAbstractItemView::NoEditTriggers);
    body->addWidget(LvDatasources, 1);

    panStaticDate = new QGroupBox(this);
    panStaticDate->setObjectName(QStringLiteral("panStaticDate"));
    panStaticDate->setMinimumWidth(200);
    auto* dateLayout = new QVBoxLayout(panStaticDate);
    dateLayout->addWidget(new QLabel(QStringLiteral("Statiskt datumvärde"), panStaticDate));
    DtStaticDatetime = new QDateEdit(panStaticDate);
    DtStaticDatetime->setObjectName(QStringLiteral("DtStaticDatetime"));
    DtStaticDatetime->setCalendarPopup(true);
    DtStaticDatetime->setToolTip(QStringLiteral("Det nya datumet"));
    dateLayout->addWidget(DtStaticDatetime);
    auto* save = new QPushButton(QStringLiteral("Spara ändringar"), panStaticDate);
    save->setObjectName(QStringLiteral("BtnSaveStatic"));
    save->setToolTip(QStringLiteral("Spara datumet: skärmarna får det genast"));
    dateLayout->addWidget(save);
    panStaticDate->hide();
    body->addWidget(panStaticDate, 0, Qt::AlignTop);

    connect(LvDatasources, &QTableWidget::itemSelectionChanged, this,
            [this] { RunGuarded(this, [this] { LvDatasourcesClick(); }); });
    connect(save, &QPushButton::clicked, this, [this] { BtnSaveStaticClick(); });
    Refresh();
    auto* live = new QTimer(this);
    live->setObjectName(QStringLiteral("TimLiveValues"));
    live->setInterval(LiveValuesMsec);
    connect(live, &QTimer::timeout, this, [this] { RefreshValues(); });
    live->start();
}

// The sources outlive the page: they must not call into it any more.
TFrameDatasource::~TFrameDatasource() {
    for (TDisplayDataSourceBase* source : ChangeableDatasources(FModel)) {
        source->SetOnRelogMessage({});
    }
}

void TFrameDatasource::FollowErrors(TDisplayDataSourceBase& source) {
    source.SetOnRelogMessage(
        [this, name = source.Name()](TDLogType level, const std::string&, const std::string& msg) {
            if (level == LogType_Error) {
                QMetaObject::invokeMethod(
                    this, [this, name, msg] { NoteError(name, msg); }, Qt::QueuedConnection);
            }
        });
}

void TFrameDatasource::NoteError(const std::string& sourceName, const std::string& error) {
    const TDisplayDataSourceBase* source = FModel.GetDatasourceFromCache(sourceName);
    FErrors[sourceName] = {error, source != nullptr ? DatasourceValueText(*source) : std::string()};
    RefreshValues();
}

// A source's error mark stays until its value changes.
void TFrameDatasource::RefreshValues() {
    for (int row = 0; row < LvDatasources->rowCount(); ++row) {
        const TDisplayDataSourceBase* source = SourceAt(row);
        QTableWidgetItem* item = LvDatasources->item(row, ValueColumn);
        if (source == nullptr || item == nullptr) {
            continue;
        }
        const std::string value = DatasourceValueText(*source);
        const auto error = FErrors.find(source->Name());
        if (error != FErrors.end() && error->second.ValueThen != value) {
            FErrors.erase(error);
        }
        const bool failing = FErrors.contains(source->Name());
        const QString text = QString::fromStdString(OneLineText(value));
        SetTextIfChanged(*item, text);
        item->setToolTip(failing ? QStringLiteral("Fel: %1").arg(
                                       QString::fromStdString(FErrors.at(source->Name()).Message))
                                 : text);
        item->setForeground(failing ? QBrush(ErrorColor) : QBrush());
        item->setIcon(failing ? style()->standardIcon(QStyle::SP_MessageBoxWarning) : QIcon());
    }
}

void TFrameDatasource::SetEditable(bool editable) {
    BtnEditSources->setEnabled(editable);
}

void TFrameDatasource::Rebuild() {
    LvDatasources->clearSelection();
    panStaticDate->hide();
    LvDatasources->setRowCount(0);
    FErrors.clear();
    Refresh();
}

void TFrameDatasource::Refresh() {
    for (TDisplayDataSourceBase* source : ChangeableDatasources(FModel)) {
        FollowErrors(*source);
        const int row = LvDatasources->rowCount();
        LvDatasources->insertRow(row);
        const TDatasourceColumns columns = DatasourceColumns(*source);
        for (std::size_t column = 0; column < columns.size(); ++column) {
            LvDatasources->setItem(
                row, static_cast<int>(column),
                new QTableWidgetItem(QString::fromStdString(OneLineText(columns[column]))));
        }
    }
}

void TFrameDatasource::RefreshItem(int row) {
    const TDisplayDataSourceBase* source = SourceAt(row);
    if (source == nullptr) {
        return;
    }
    const TDatasourceColumns columns = DatasourceColumns(*source);
    for (std::size_t column = NameColumn + 1; column < columns.size(); ++column) {
        SetTextIfChanged(*LvDatasources->item(row, static_cast<int>(column)),
                         QString::fromStdString(OneLineText(columns[column])));
    }
}

// Follows the selection: the date group shows only for a static source.
void TFrameDatasource::LvDatasourcesClick() {
    panStaticDate->hide();
    const TDisplayDataSourceBase* source = SourceAt(SelectedRow());
    if (IsStaticDatasource(source)) {
        DtStaticDatetime->setDate(ToQDate(StaticDateOf(*source)));
        panStaticDate->show();
    }
}

void TFrameDatasource::BtnSaveStaticClick() {
    const int row = SelectedRow();
    RunGuarded(this, [&] {
        const TDisplayDataSourceBase* source = SourceAt(row);
        if (source != nullptr &&
            SaveStaticDate(FModel, source->Name(), FromQDate(DtStaticDatetime->date()))) {
            RefreshItem(row);
            if (FSaveChanges) {
                FSaveChanges();
            }
        }
    });
    LvDatasources->clearSelection();
    panStaticDate->hide();
}

int TFrameDatasource::SelectedRow() const {
    const QList<QTableWidgetItem*> selected = LvDatasources->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

TDisplayDataSourceBase* TFrameDatasource::SourceAt(int row) const {
    const QTableWidgetItem* item = row >= 0 ? LvDatasources->item(row, NameColumn) : nullptr;
    return item != nullptr ? FModel.GetDatasourceFromCache(item->text().toStdString()) : nullptr;
}
