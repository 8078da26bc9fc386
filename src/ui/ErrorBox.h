#pragma once

#include <QString>

#include <functional>

class QWidget;

// Opens an error message box over `parent` without blocking the timers behind it.
void ShowErrorBox(QWidget* parent, const QString& text);

// Runs an operator's action; a failure is shown in an error message box instead of leaving the
// event handler.
void RunGuarded(QWidget* parent, const std::function<void()>& action);

// Asks `question` over `parent` without blocking the timers behind it; `answered` runs with true
// for "Ja", the default button when `yesByDefault`, and false for "Nej" or a closed box.
void AskQuestion(QWidget* parent, const QString& question, bool yesByDefault,
                 const std::function<void(bool yes)>& answered);
