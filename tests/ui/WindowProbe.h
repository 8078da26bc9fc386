#pragma once

#include <QListWidget>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <stdexcept>
#include <string>
#include <vector>

class QPushButton;
class QTableView;

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

// The row table of a display page.
QTableView* RowTable(const QWidget* page);
// The text column of every row of a display page, in order.
std::vector<std::string> RowViewTexts(const QWidget* page);
// A button ("BtnChange", "BtnRemove", "BtnMoveUp", "BtnMoveDown") of a row of a display page.
QPushButton* RowButton(const QWidget* page, int row, const char* name);

// Waits until `timer` has fired `ticks` more times (the window's handlers ran before).
bool WaitForTicks(QTimer* timer, int ticks);
