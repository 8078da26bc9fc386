#pragma once

#include <QTableView>

#include <functional>

class QPushButton;
class TRowTableModel;

// The row list of a display page: one table whose header is the red caption bar, with the
// columns sized to their content and the text column taking the rest, so that header and rows
// line up and scroll together at any size. Each row has its buttons "Ändra", "Ta bort", "Upp" and
// "Ner" in its last cell; "+" sits at the right end of the header. The buttons hand the row's
// position to the page.
class TRowTable : public QTableView {
public:
    using TRowAction = std::function<void(int row)>;
    using TRowMove = std::function<void(int row, int direction)>;

    TRowTable(TRowTableModel& model, QWidget* parent);

    void SetOnAddRow(std::function<void()> handler) { FAddRow = std::move(handler); }
    void SetOnChangeRow(TRowAction handler) { FChangeRow = std::move(handler); }
    void SetOnRemoveRow(TRowAction handler) { FRemoveRow = std::move(handler); }
    void SetOnMoveRow(TRowMove handler) { FMoveRow = std::move(handler); }

    // The buttons of a row, in the last cell; nullptr for a row that has none.
    QWidget* ButtonCell(int row) const;

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddMissingButtonCells();
    QWidget* NewButtonCell();
    QPushButton* AddButton(QWidget* cell, const QString& caption, const char* name, const QString& tip);
    int RowOf(const QWidget* cell) const;
    void PlaceAddButton();
    void FitTextColumn();

    TRowTableModel& FModel;
    QPushButton* FAddButton;
    std::function<void()> FAddRow;
    TRowAction FChangeRow;
    TRowAction FRemoveRow;
    TRowMove FMoveRow;
};
