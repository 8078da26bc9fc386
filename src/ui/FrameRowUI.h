#pragma once

#include "rows/RowViewTexts.h"

#include <QWidget>

#include <functional>

class QFrame;
class QLineEdit;
class TConfigurationRow;

// The view of one row in a display page's row list: the row's values as read-only texts, a
// status shape that is green while the row is on the display, and four buttons that hand the
// row to the page ("Ändra", "Ta bort", "Upp", "Ner"). It never changes the row itself.
class TFrameRow : public QWidget {
public:
    // (row, sender): the row and the view whose button was pressed.
    using TRowUpdated = std::function<void(TConfigurationRow& row, TFrameRow* sender)>;

    // Follows the row's change and marking events until the view goes or is detached.
    TFrameRow(TConfigurationRow& row, QWidget* parent);
    ~TFrameRow() override;
    TFrameRow(const TFrameRow&) = delete;
    TFrameRow& operator=(const TFrameRow&) = delete;

    // Stops following the row, which is about to go; the view shows nothing new afterwards.
    void Detach();

    void MarkChanged(bool setmark);
    void RefreshData();

    void SetOnStartRowChange(TRowUpdated handler) { FStartRowChange = std::move(handler); }
    void SetOnStartRowRemoved(TRowUpdated handler) { FStartRowRemoved = std::move(handler); }
    void SetOnStartRowMoveUp(TRowUpdated handler) { FStartRowMoveUp = std::move(handler); }
    void SetOnStartRowMoveDown(TRowUpdated handler) { FStartRowMoveDown = std::move(handler); }
    void SetOnDatasourceQuery(TFrameDatasourceQuery handler) { FDatasourceQuery = std::move(handler); }

private:
    QLineEdit* AddText(int width);
    void AddButton(QWidget* cell, const QString& caption, const char* name, int width,
                   const TRowUpdated& event);
    void Raise(const TRowUpdated& event);

    TConfigurationRow* FRow;
    QFrame* Shape1;
    QLineEdit* TxtText;
    QLineEdit* TxtFont;
    QLineEdit* TxtAlign;
    QLineEdit* TxtFgColor;
    QLineEdit* TxtBgColor;
    QLineEdit* TxtScroll;
    QLineEdit* TxtTimeout;
    TRowUpdated FStartRowChange;
    TRowUpdated FStartRowRemoved;
    TRowUpdated FStartRowMoveUp;
    TRowUpdated FStartRowMoveDown;
    TFrameDatasourceQuery FDatasourceQuery;
};
