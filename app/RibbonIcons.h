#pragma once

#include <QIcon>

// The ribbon's icons, drawn by the program at 16 and 32 pixels.
QIcon CreateRibbonIcon(unsigned command);
