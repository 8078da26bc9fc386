#pragma once

#include <QListWidget>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <stdexcept>
#include <string>
#include <vector>

// Looks into the window the way an operator sees it: widgets by their names.

template <typename TWidget> TWidget* Find(const QObject* parent, const QString& name) {
    auto* found = parent->findChild<TWidget*>(name);
    if (found == nullptr) {
        throw std::runtime_error("no widget " + name.toStdString());
    }
    return found;
}

// The log lines, newest first, after the queued ones have arrived.
std::vector<std::string> LogLines(const QObject* window);
bool HasLogLine(const QObject* window, const std::string& line);

// The row views of a display page, in their order on the page.
std::vector<QWidget*> RowViews(const QWidget* page);
// The text column of every row view, in order.
std::vector<std::string> RowViewTexts(const QWidget* page);

// Waits until `timer` has fired `ticks` more times (the window's handlers ran before).
bool WaitForTicks(QTimer* timer, int ticks);
