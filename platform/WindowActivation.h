#pragma once

#include <QByteArray>

class QWindow;

// The token the desktop gave this start to bring a window forward with: the
// activation token of a Wayland desktop, else the startup id of an X11 one;
// empty when it gave none. Read before the application object is made, which
// takes the startup id out of the environment.
QByteArray GetStartToken();

// Brings a top-level window to the user: restored when minimised, onto the
// virtual desktop the user is on, raised and active. The token is the one a
// start was given (GetStartToken); without one the window system's rules
// alone decide whether the window may take the focus.
void BringWindowToUser(QWindow& window, const QByteArray& startToken = QByteArray());
