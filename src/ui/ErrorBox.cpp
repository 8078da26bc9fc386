#include "ui/ErrorBox.h"

#include <QMessageBox>

#include <exception>

void ShowErrorBox(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Vorlix Förkonfigurerad klient"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void RunGuarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorBox(parent, QString::fromStdString(error.what()));
    }
}
