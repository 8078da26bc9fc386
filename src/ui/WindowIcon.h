#pragma once

#include <QIcon>

// The program's icon: a small dark LED panel showing a "V" in red dots.
QIcon VorlixWindowIcon();
