#include "ui/ErrorBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <exception>

void ShowErrorBox(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Vorlix Förkonfigurerad klient"), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void AskQuestion(QWidget* parent, const QString& question, bool yesByDefault,
                 const std::function<void(bool yes)>& answered) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Vorlix Förkonfigurerad klient"),
                                question, QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName(QStringLiteral("Question"));
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Nej"));
    box->setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered](int) {
        answered(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

void RunGuarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorBox(parent, QString::fromStdString(error.what()));
    }
}
