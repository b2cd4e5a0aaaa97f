#pragma once

#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/ExtMsgBoxParams.h"

#include <QString>

#include <cstdint>

class QWidget;

// Both forms are exported from the executable for other modules to call.
#define EXTMSGBOX_API __attribute__((visibility("default")))

// Shows a message box with the buttons, icon, checkbox, countdown and colours
// of the style and the parameters (null: the defaults) on the calling (user
// interface) thread and returns the pressed button's id: plus 0x01000000,
// 0x02000000 or 0x04000000 when the checkbox is ticked, plus 0x80000000 when
// the countdown pressed the default button; -1 when the program quits while
// the box is open. owner null: the active window. caption null: the
// application's name.
EXTMSGBOX_API int ExtMessageBox(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style,
                                const EXTMSGBOXPARAMS* params);

// The same with the text loaded by id from the program's string table (empty
// when the id has none).
EXTMSGBOX_API int ExtMessageBox(QWidget* owner, unsigned textId, const QString& caption, std::uint32_t style,
                                const EXTMSGBOXPARAMS* params);
