#include "ui/OneLineText.h"

#include <QRegularExpression>
#include <QStringList>

QString OneLineText(const std::string& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = QString::fromStdString(text).split(lineBreak);
    if (lines.size() > 1 && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines.join(QLatin1Char(' '));
}
