#include "ui/ErrorBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TErrorBanner::TErrorBanner(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ErrorBanner"));
    setStyleSheet(QStringLiteral(
        "#ErrorBanner { background: rgb(255, 226, 226); border-bottom: 1px solid rgb(217, 32, 50); }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    layout->addWidget(icon);
    FText = new QLabel(this);
    FText->setObjectName(QStringLiteral("ErrorBannerText"));
    FText->setTextFormat(Qt::PlainText);
    FText->setWordWrap(true);
    FText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(FText, 1);
    auto* close = new QPushButton(QStringLiteral("Stäng"), this);
    close->setObjectName(QStringLiteral("BtnCloseErrorBanner"));
    close->setToolTip(QStringLiteral("Dölj meddelandet"));
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

void TErrorBanner::Show(const QString& text) {
    FText->setText(text);
    show();
}

QString TErrorBanner::Text() const {
    return FText->text();
}
