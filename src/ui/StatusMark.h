#pragma once

#include "rows/DisplayStatusWatch.h"

#include <QColor>
#include <QIcon>
#include <QString>

// How a display's state looks: a small coloured dot and a few words.
QColor StateColor(TDisplayState state);
QIcon StateIcon(TDisplayState state);
QString StateText(TDisplayState state);
