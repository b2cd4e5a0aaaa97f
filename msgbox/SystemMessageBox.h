#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// The toolkit's own message box, application-modal, for the system-modal boxes
// with a stop icon: buttons of the style's type (0 to 6), its icon and default
// button. Returns the pressed button's id, or 0 for a type it has no buttons for.
int SystemMessageBox(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style);
