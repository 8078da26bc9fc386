#include "WindowProbe.h"

#include "ui/RowTable.h"
#include "ui/RowTableModel.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <algorithm>

std::vector<std::string> LogLines(const QObject* window) {
    QCoreApplication::processEvents();
    const auto* log = Find<QListWidget>(window, QStringLiteral("LogWnd"));
    std::vector<std::string> lines;
    for (int i = 0; i < log->count(); ++i) {
        lines.push_back(log->item(i)->text().toStdString());
    }
    return lines;
}

bool HasLogLine(const QObject* window, const std::string& line) {
    const auto lines = LogLines(window);
    return std::ranges::find(lines, line) != lines.end();
}

QTableView* RowTable(const QWidget* page) {
    return Find<QTableView>(page, QStringLiteral("PanFrames"));
}

std::vector<std::string> RowViewTexts(const QWidget* page) {
    const QAbstractItemModel* model = RowTable(page)->model();
    std::vector<std::string> texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts.push_back(model->index(row, TRowTableModel::TextColumn).data().toString().toStdString());
    }
    return texts;
}

QPushButton* RowButton(const QWidget* page, int row, const char* name) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto* table = static_cast<const TRowTable*>(RowTable(page));
    const QWidget* cell = table->ButtonCell(row);
    if (cell == nullptr) {
        throw std::runtime_error("no buttons on row " + std::to_string(row));
    }
    return Find<QPushButton>(cell, QString::fromLatin1(name));
}

bool WaitForTicks(QTimer* timer, int ticks) {
    int fired = 0;
    const auto connection = QObject::connect(timer, &QTimer::timeout, [&fired] { ++fired; });
    const bool done = QTest::qWaitFor([&] { return fired >= ticks; }, 5000);
    QObject::disconnect(connection);
    return done;
}
