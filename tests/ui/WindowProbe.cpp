#include "WindowProbe.h"

#include <QCoreApplication>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
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

std::vector<QWidget*> RowViews(const QWidget* page) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QLayout* layout = Find<QScrollArea>(page, QStringLiteral("PanFrames"))->widget()->layout();
    std::vector<QWidget*> views;
    for (int i = 0; i < layout->count(); ++i) {
        if (QWidget* view = layout->itemAt(i)->widget()) {
            views.push_back(view);
        }
    }
    return views;
}

std::vector<std::string> RowViewTexts(const QWidget* page) {
    std::vector<std::string> texts;
    for (const QWidget* view : RowViews(page)) {
        texts.push_back(Find<QLineEdit>(view, QStringLiteral("TxtText"))->text().toStdString());
    }
    return texts;
}

bool WaitForTicks(QTimer* timer, int ticks) {
    int fired = 0;
    const auto connection = QObject::connect(timer, &QTimer::timeout, [&fired] { ++fired; });
    const bool done = QTest::qWaitFor([&] { return fired >= ticks; }, 5000);
    QObject::disconnect(connection);
    return done;
}
