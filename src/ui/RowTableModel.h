#pragma once

#include "rows/RowViewTexts.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>

class TConfigurationRow;
class TRowSendCycle;

// The rows of one send cycle as a table: a status column that marks the row on the display, one
// column per value as the row list has always shown them, and a last column for the row's buttons.
// Every change of the rows goes through this model, so the table follows it.
class TRowTableModel : public QAbstractTableModel {
public:
    enum TColumn {
        StatusColumn,
        TextColumn,
        FontColumn,
        AlignColumn,
        FgColorColumn,
        BgColorColumn,
        ScrollColumn,
        TimeoutColumn,
        ButtonsColumn,
        ColumnCount
    };
    // In the status column: whether the row is on the display.
    static constexpr int MarkedRole = Qt::UserRole;
    // In the text column: whether the text is cut off on the display.
    static constexpr int CutOffRole = Qt::UserRole + 1;

    // Whether a row's text is cut off at its area's edge on the display.
    using TCutOffCheck = std::function<bool(const TConfigurationRow& row)>;

    TRowTableModel(TRowSendCycle& cycle, QObject* parent);
    ~TRowTableModel() override;
    TRowTableModel(const TRowTableModel&) = delete;
    TRowTableModel& operator=(const TRowTableModel&) = delete;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetDatasourceQuery(TFrameDatasourceQuery query) { FDatasourceQuery = std::move(query); }
    void SetCutOffCheck(TCutOffCheck check) { FCutOffCheck = std::move(check); }

    TConfigurationRow& Row(int index) const;
    // -1 when the row is not in the table.
    int IndexOf(const TConfigurationRow& row) const;
    TConfigurationRow& Insert(int index, std::unique_ptr<TConfigurationRow> row);
    std::unique_ptr<TConfigurationRow> Remove(int index);
    // Swaps the row with its neighbour above (-1) or below (+1); false at the ends.
    bool Move(int index, int direction);
    // Shows every row anew: values of sources and cut-off marks change without the rows.
    void RefreshAll();

private:
    void Follow(TConfigurationRow& row);
    static void Unfollow(TConfigurationRow& row);
    void RefreshRow(const TConfigurationRow& row, int firstColumn, int lastColumn);

    TRowSendCycle& FCycle;
    const TConfigurationRow* FMarked = nullptr;
    TFrameDatasourceQuery FDatasourceQuery;
    TCutOffCheck FCutOffCheck;
};
