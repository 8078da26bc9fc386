#pragma once

#include <QString>

#include <functional>

class QWidget;

// Opens an error message box over `parent` without blocking the timers behind it.
void ShowErrorBox(QWidget* parent, const QString& text);

// Runs an operator's action; a failure is shown in an error message box instead of leaving the
// event handler.
void RunGuarded(QWidget* parent, const std::function<void()>& action);
