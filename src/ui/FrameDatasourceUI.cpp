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
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int NameColumn = 0;

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
        NewHeaderLabel(QStringLiteral("Förkonfigurerade ändringsbara datakällor"), 13, 0, header));
    layout->addWidget(header);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(body, 1);
    LvDatasources = new QTableWidget(0, 5, this);
    LvDatasources->setObjectName(QStringLiteral("LvDatasources"));
    LvDatasources->setFixedWidth(617);
    LvDatasources->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Beskrivning"),
                                              QStringLiteral("Källatyp"), QStringLiteral("Datatyp"),
                                              QStringLiteral("Värde")});
    const int widths[] = {100, 200, 100, 100, 100};
    for (int column = 0; column < LvDatasources->columnCount(); ++column) {
        LvDatasources->setColumnWidth(column, widths[column]);
    }
    LvDatasources->verticalHeader()->hide();
    // One line per source, like a report list.
    LvDatasources->verticalHeader()->setDefaultSectionSize(LvDatasources->fontMetrics().height() + 6);
    LvDatasources->setShowGrid(true);
    LvDatasources->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvDatasources->setSelectionMode(QAbstractItemView::SingleSelection);
    LvDatasources->setEditTriggers(QAbstractItemView::NoEditTriggers);
    body->addWidget(LvDatasources);

    panStaticDate = new QGroupBox(this);
    panStaticDate->setObjectName(QStringLiteral("panStaticDate"));
    panStaticDate->setFixedSize(390, 113);
    auto* dateLayout = new QVBoxLayout(panStaticDate);
    dateLayout->addWidget(new QLabel(QStringLiteral("Statiskt datumvärde"), panStaticDate));
    DtStaticDatetime = new QDateEdit(panStaticDate);
    DtStaticDatetime->setObjectName(QStringLiteral("DtStaticDatetime"));
    DtStaticDatetime->setCalendarPopup(true);
    DtStaticDatetime->setFixedWidth(186);
    dateLayout->addWidget(DtStaticDatetime);
    auto* save = new QPushButton(QStringLiteral("Spara ändringar"), panStaticDate);
    save->setObjectName(QStringLiteral("BtnSaveStatic"));
    save->setFixedSize(97, 25);
    dateLayout->addWidget(save);
    panStaticDate->hide();
    body->addWidget(panStaticDate, 0, Qt::AlignTop);
    body->addStretch();

    connect(LvDatasources, &QTableWidget::itemSelectionChanged, this,
            [this] { RunGuarded(this, [this] { LvDatasourcesClick(); }); });
    connect(save, &QPushButton::clicked, this, [this] { BtnSaveStaticClick(); });
    Refresh();
}

void TFrameDatasource::Refresh() {
    for (const TDisplayDataSourceBase* source : ChangeableDatasources(FModel)) {
        const int row = LvDatasources->rowCount();
        LvDatasources->insertRow(row);
        const TDatasourceColumns columns = DatasourceColumns(*source);
        for (std::size_t column = 0; column < columns.size(); ++column) {
            LvDatasources->setItem(row, static_cast<int>(column),
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
        LvDatasources->item(row, static_cast<int>(column))->setText(QString::fromStdString(OneLineText(columns[column])));
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
