#include "ui/RowTable.h"

#include "ui/RowTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {

const QColor HeaderRed(217, 32, 50);
const QColor MarkGreen(14, 197, 18);

// The status shape: a rounded rectangle with a grey outline, green while the row is on the display.
class TStatusDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const int height = std::max(option.rect.height() - 8, 6);
        const int width = std::min(option.rect.width() - 8, height * 2);
        QRect shape(0, 0, width, height);
        shape.moveCenter(option.rect.center());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::gray);
        painter->setBrush(index.data(TRowTableModel::MarkedRole).toBool() ? MarkGreen : QColor(Qt::white));
        painter->drawRoundedRect(shape, 4, 4);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo({40, 0});
    }
};

} // namespace

TRowTable::TRowTable(TRowTableModel& model, QWidget* parent) : QTableView(parent), FModel(model) {
    setModel(&FModel);
    setItemDelegateForColumn(TRowTableModel::StatusColumn, new TStatusDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setShowGrid(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; color: rgb(250, 250, 250);"
                       " font-weight: bold; border: none; padding: 3px 6px; }")
            .arg(HeaderRed.name()));
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TRowTableModel::TextColumn, QHeaderView::Stretch);
    header->setMinimumSectionSize(20);
    verticalHeader()->hide();

    FAddButton = new QPushButton(QStringLiteral("+"), header);
    FAddButton->setObjectName(QStringLiteral("CmdAddRow"));
    FAddButton->setToolTip(QStringLiteral("Lägg till en ny rad"));
    FAddButton->setFixedSize(22, 22);
    connect(FAddButton, &QPushButton::clicked, this, [this] {
        if (FAddRow) {
            FAddRow();
        }
    });
    connect(header, &QHeaderView::sectionResized, this, [this] { PlaceAddButton(); });
    connect(header, &QHeaderView::geometriesChanged, this, [this] { PlaceAddButton(); });
    connect(&FModel, &QAbstractItemModel::dataChanged, this, [this] { FitTextColumn(); });

    // Row heights follow the buttons, which follow the font.
    QWidget probe;
    verticalHeader()->setDefaultSectionSize(QPushButton(QStringLiteral("Ändra"), &probe).sizeHint().height() +
                                            4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    connect(&FModel, &QAbstractItemModel::rowsInserted, this, [this] { AddMissingButtonCells(); });
    connect(&FModel, &QAbstractItemModel::rowsMoved, this, [this] { AddMissingButtonCells(); });
    connect(&FModel, &QAbstractItemModel::modelReset, this, [this] { AddMissingButtonCells(); });
    AddMissingButtonCells();
}

QWidget* TRowTable::ButtonCell(int row) const {
    return indexWidget(FModel.index(row, TRowTableModel::ButtonsColumn));
}

void TRowTable::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    PlaceAddButton();
}

void TRowTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FitTextColumn();
    PlaceAddButton();
}

// The text column takes the room the others leave, but never less than its caption needs (a
// longer text is cut off there and shown whole as tooltip): below that the table scrolls
// sideways, header and rows together.
void TRowTable::FitTextColumn() {
    QHeaderView* header = horizontalHeader();
    const int text = TRowTableModel::TextColumn;
    int others = 0;
    for (int column = 0; column < TRowTableModel::ColumnCount; ++column) {
        others += column == text ? 0 : header->sectionSize(column);
    }
    const int needed = header->sectionSizeHint(text);
    if (viewport()->width() - others >= needed) {
        header->setSectionResizeMode(text, QHeaderView::Stretch);
    } else {
        header->setSectionResizeMode(text, QHeaderView::Fixed);
        header->resizeSection(text, needed);
    }
}

void TRowTable::AddMissingButtonCells() {
    for (int row = 0; row < FModel.rowCount(); ++row) {
        const QModelIndex cell = FModel.index(row, TRowTableModel::ButtonsColumn);
        if (indexWidget(cell) == nullptr) {
            setIndexWidget(cell, NewButtonCell());
        }
    }
    resizeColumnToContents(TRowTableModel::ButtonsColumn);
    FitTextColumn();
}

QWidget* TRowTable::NewButtonCell() {
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    // Each button asks where its cell is when pressed: rows move under their buttons.
    connect(
        AddButton(cell, QStringLiteral("Ändra"), "BtnChange", QStringLiteral("Öppna raden i radredigeraren")),
        &QPushButton::clicked, this, [this, cell] {
            if (FChangeRow) {
                FChangeRow(RowOf(cell));
            }
        });
    connect(AddButton(cell, QStringLiteral("Ta bort"), "BtnRemove",
                      QStringLiteral("Ta bort raden och spara (Ctrl+Z ångrar)")),
            &QPushButton::clicked, this, [this, cell] {
                if (FRemoveRow) {
                    FRemoveRow(RowOf(cell));
                }
            });
    connect(AddButton(cell, QStringLiteral("Upp"), "BtnMoveUp",
                      QStringLiteral("Flytta raden ett steg upp och spara")),
            &QPushButton::clicked, this, [this, cell] {
                if (FMoveRow) {
                    FMoveRow(RowOf(cell), -1);
                }
            });
    connect(AddButton(cell, QStringLiteral("Ner"), "BtnMoveDown",
                      QStringLiteral("Flytta raden ett steg ner och spara")),
            &QPushButton::clicked, this, [this, cell] {
                if (FMoveRow) {
                    FMoveRow(RowOf(cell), +1);
                }
            });
    layout->addStretch();
    return cell;
}

QPushButton* TRowTable::AddButton(QWidget* cell, const QString& caption, const char* name,
                                  const QString& tip) {
    auto* button = new QPushButton(caption, cell);
    button->setObjectName(QString::fromLatin1(name));
    // As wide as its caption needs, not as wide as the style's default: four fit beside a row.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) +
                          2 * button->fontMetrics().height());
    button->setToolTip(tip);
    cell->layout()->addWidget(button);
    return button;
}

int TRowTable::RowOf(const QWidget* cell) const {
    return indexAt(cell->geometry().center()).row();
}

// "+" keeps to the right end of the header's last section, wherever the table has scrolled.
void TRowTable::PlaceAddButton() {
    const QHeaderView* header = horizontalHeader();
    const int last = TRowTableModel::ButtonsColumn;
    const int right = header->sectionViewportPosition(last) + header->sectionSize(last);
    FAddButton->move(std::max(right - FAddButton->width() - 2, 0),
                     (header->height() - FAddButton->height()) / 2);
}
