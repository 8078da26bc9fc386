#pragma once

#include <QWidget>

#include <string>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

// The log pane: the newest line first, at most MaxLogLines lines. A line equal to the newest one
// is not added again: the newest line counts it instead ("... (×37)"). Error lines are marked;
// long lines are cut at the pane's edge and shown whole as a tooltip; the filter field shows only
// the lines that contain its text. Double-clicking a line copies its message.
class TLogView : public QWidget {
public:
    explicit TLogView(QWidget* parent);

    // On the user-interface thread only.
    void Add(const std::string& source, const std::string& msg);

private:
    void ApplyFilter();
    bool Matches(const QListWidgetItem& item) const;
    void CopySelected();

    QLineEdit* FFilter;
    QListWidget* LogWnd;
};
