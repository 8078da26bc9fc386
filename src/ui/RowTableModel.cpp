#include "ui/RowTableModel.h"

#include "rows/ConfigurationRow.h"
#include "rows/RowSendCycle.h"

#include <QApplication>
#include <QStyle>

#include <array>

namespace {

const std::array<QString, TRowTableModel::ColumnCount> Captions = {
    QStringLiteral("Status"),
    QStringLiteral("Text/Parameterval"),
    QStringLiteral("Font"),
    QStringLiteral("Justering"),
    QStringLiteral("Färg"),
    QStringLiteral("Bakgrund"),
    QStringLiteral("Scroll"),
    QStringLiteral("Visningstid(msec)"),
    QString(),
};

const QString CutOffTip = QStringLiteral(
    "Texten får inte plats i sitt fält på skärmen och rullar inte: välj ett större fält, en mindre "
    "font eller en scrollhastighet.");

std::string ColumnText(const TRowViewTexts& texts, int column) {
    switch (column) {
    case TRowTableModel::TextColumn:
        return texts.Text;
    case TRowTableModel::FontColumn:
        return texts.Font;
    case TRowTableModel::AlignColumn:
        return texts.Align;
    case TRowTableModel::FgColorColumn:
        return texts.FgColor;
    case TRowTableModel::BgColorColumn:
        return texts.BgColor;
    case TRowTableModel::ScrollColumn:
        return texts.Scroll;
    case TRowTableModel::TimeoutColumn:
        return texts.Timeout;
    default:
        return {};
    }
}

} // namespace

TRowTableModel::TRowTableModel(TRowSendCycle& cycle, QObject* parent)
    : QAbstractTableModel(parent), FCycle(cycle) {
    for (const auto& row : FCycle.Rows()) {
        Follow(*row);
    }
}

TRowTableModel::~TRowTableModel() {
    for (const auto& row : FCycle.Rows()) {
        Unfollow(*row);
    }
}

int TRowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FCycle.Rows().size());
}

int TRowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const TConfigurationRow& row = Row(index.row());
    const int column = index.column();
    if (column == StatusColumn) {
        return role == MarkedRole ? QVariant(&row == FMarked) : QVariant();
    }
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && column != TextColumn)) {
        return QString::fromStdString(ColumnText(TRowViewTexts::Of(row, FDatasourceQuery), column));
    }
    if (column != TextColumn) {
        return {};
    }
    const bool cutOff = FCutOffCheck && FCutOffCheck(row);
    switch (role) {
    case CutOffRole:
        return cutOff;
    case Qt::DecorationRole:
        return cutOff ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning) : QVariant();
    case Qt::ToolTipRole: {
        const QString text = QString::fromStdString(TRowViewTexts::Of(row, FDatasourceQuery).Text);
        return cutOff ? text + QStringLiteral("\n") + CutOffTip : text;
    }
    default:
        return {};
    }
}

QVariant TRowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount || role != Qt::DisplayRole) {
        return {};
    }
    return Captions[static_cast<std::size_t>(section)];
}

TConfigurationRow& TRowTableModel::Row(int index) const {
    return *FCycle.Rows().at(static_cast<std::size_t>(index));
}

int TRowTableModel::IndexOf(const TConfigurationRow& row) const {
    const auto& rows = FCycle.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].get() == &row) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TConfigurationRow& TRowTableModel::Insert(int index, std::unique_ptr<TConfigurationRow> row) {
    const int position = std::clamp(index, 0, rowCount());
    beginInsertRows({}, position, position);
    TConfigurationRow& inserted = FCycle.InsertRow(static_cast<std::size_t>(position), std::move(row));
    Follow(inserted);
    endInsertRows();
    return inserted;
}

std::unique_ptr<TConfigurationRow> TRowTableModel::Remove(int index) {
    if (index < 0 || index >= rowCount()) {
        return nullptr;
    }
    beginRemoveRows({}, index, index);
    std::unique_ptr<TConfigurationRow> row = FCycle.DeleteRow(static_cast<std::size_t>(index));
    Unfollow(*row);
    if (FMarked == row.get()) {
        FMarked = nullptr;
    }
    endRemoveRows();
    return row;
}

bool TRowTableModel::Move(int index, int direction) {
    const int target = index + direction;
    if (index < 0 || target < 0 || index >= rowCount() || target >= rowCount()) {
        return false;
    }
    // Qt counts the destination before the move: moving down lands in front of the row after next.
    beginMoveRows({}, index, index, {}, direction > 0 ? target + 1 : target);
    FCycle.MoveRow(static_cast<std::size_t>(index), direction);
    endMoveRows();
    return true;
}

void TRowTableModel::RefreshAll() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

void TRowTableModel::Follow(TConfigurationRow& row) {
    row.SetOnMarkedChanged([this, &row](bool marked) {
        if (marked) {
            FMarked = &row;
        } else if (FMarked == &row) {
            FMarked = nullptr;
        }
        RefreshRow(row, StatusColumn, StatusColumn);
    });
    row.SetOnChanged([this, &row] { RefreshRow(row, StatusColumn, ColumnCount - 1); });
}

void TRowTableModel::Unfollow(TConfigurationRow& row) {
    row.SetOnMarkedChanged({});
    row.SetOnChanged({});
}

void TRowTableModel::RefreshRow(const TConfigurationRow& row, int firstColumn, int lastColumn) {
    const int position = IndexOf(row);
    if (position >= 0) {
        emit dataChanged(index(position, firstColumn), index(position, lastColumn));
    }
}
