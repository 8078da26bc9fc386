#include "ui/LogView.h"

#include "rows/LogLine.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// The line as it was logged, without its count.
constexpr int LineRole = Qt::UserRole;
constexpr int CountRole = Qt::UserRole + 1;

// Lines as wide as the pane, however long their text: the view cuts them off with an ellipsis
// instead of scrolling sideways.
class TPaneWideDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {1, QStyledItemDelegate::sizeHint(option, index).height()};
    }
};

QString CountedText(const QString& line, int count) {
    return count > 1 ? QStringLiteral("%1 (×%2)").arg(line).arg(count) : line;
}

} // namespace

TLogView::TLogView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FFilter = new QLineEdit(this);
    FFilter->setObjectName(QStringLiteral("LogFilter"));
    FFilter->setPlaceholderText(QStringLiteral("Filtrera loggen"));
    FFilter->setToolTip(QStringLiteral("Visa bara de loggrader som innehåller texten"));
    FFilter->setClearButtonEnabled(true);
    layout->addWidget(FFilter);

    LogWnd = new QListWidget(this);
    LogWnd->setObjectName(QStringLiteral("LogWnd"));
    LogWnd->setToolTip(QStringLiteral("Dubbelklicka på en rad för att kopiera dess meddelande"));
    LogWnd->setUniformItemSizes(true);
    LogWnd->setItemDelegate(new TPaneWideDelegate(LogWnd));
    LogWnd->setTextElideMode(Qt::ElideRight);
    LogWnd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(LogWnd, 1);

    connect(FFilter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    connect(LogWnd, &QListWidget::itemDoubleClicked, this, [this] { CopySelected(); });
}

void TLogView::Add(const std::string& source, const std::string& msg) {
    const QString line = QString::fromStdString(LogLineText(source, msg));
    if (QListWidgetItem* newest = LogWnd->item(0);
        newest != nullptr && newest->data(LineRole).toString() == line) {
        const int count = newest->data(CountRole).toInt() + 1;
        newest->setData(CountRole, count);
        newest->setText(CountedText(line, count));
        return;
    }
    auto* item = new QListWidgetItem(line);
    item->setData(LineRole, line);
    item->setData(CountRole, 1);
    item->setToolTip(line);
    if (IsErrorLogMessage(msg)) {
        item->setForeground(QColor(176, 0, 32));
        item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxCritical));
    }
    LogWnd->insertItem(0, item);
    item->setHidden(!Matches(*item));
    while (static_cast<std::size_t>(LogWnd->count()) > MaxLogLines) {
        delete LogWnd->takeItem(LogWnd->count() - 1);
    }
}

void TLogView::ApplyFilter() {
    for (int i = 0; i < LogWnd->count(); ++i) {
        QListWidgetItem* item = LogWnd->item(i);
        item->setHidden(!Matches(*item));
    }
}

bool TLogView::Matches(const QListWidgetItem& item) const {
    return item.data(LineRole).toString().contains(FFilter->text(), Qt::CaseInsensitive);
}

void TLogView::CopySelected() {
    const QList<QListWidgetItem*> selected = LogWnd->selectedItems();
    if (!selected.isEmpty()) {
        const std::string copied = LogLineCopyText(selected.front()->data(LineRole).toString().toStdString());
        QApplication::clipboard()->setText(QString::fromStdString(copied));
    }
}
