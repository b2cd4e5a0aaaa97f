#pragma once

#include <QString>

// Gives the program its identity on the desktop: the name of its desktop
// entry, and on X11 the window class of each of its windows, by which
// desktops group the windows and find the entry. Needs the application object.
void SetAppID(const QString& id);
