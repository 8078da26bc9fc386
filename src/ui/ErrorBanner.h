#pragma once

#include <QFrame>

class QLabel;

// A bar that tells the operator of a failure and stays until it is closed, however much else
// happens meanwhile. Hidden until Show().
class TErrorBanner : public QFrame {
public:
    explicit TErrorBanner(QWidget* parent);

    void Show(const QString& text);
    QString Text() const;

private:
    QLabel* FText;
};
