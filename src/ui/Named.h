#pragma once

#include <QString>

// A widget with the name the tests and style sheets find it by, and its tooltip.
template <typename TWidget> TWidget* Named(TWidget* widget, const char* name, const QString& tip) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setToolTip(tip);
    return widget;
}
