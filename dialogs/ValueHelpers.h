#pragma once

#include "platform/WinTypes.h"

class CSpinButtonCtrl;
class QComboBox;
class QLineEdit;
class QSlider;

// Numbers in edits tied to their up-down control (and slider). A null control
// counts as missing: the functions then do nothing and give 0, 0.0, FALSE or -1.
// Typing mode (validate 0) runs on every change of an edit's text;
// validating mode when a page or dialog is confirmed.

// The edit's integer: at most 19 characters read, leading digits; 0 for none.
int GetEditInt(const QLineEdit* edit);
void SetEditInt(QLineEdit* edit, int value);
// The edit's decimal number: its leading number; 0.0 for none.
double GetEditDouble(const QLineEdit* edit);
// Writes the number in the FormatDouble form.
void SetEditDouble(QLineEdit* edit, double value);

// Keeps an integer edit inside the spin's range, moves the slider along and
// rewrites the text in its plain decimal form. While typing, "", "-" and "-0"
// are left alone. TRUE when the edit's text was rewritten.
BOOL SyncEditIntWithSpin(BOOL validate, QLineEdit* edit, CSpinButtonCtrl* spin, QSlider* slider = nullptr);
// Keeps a decimal edit inside the spin's range: an out-of-range entry is
// replaced by the bound at once; an entry in range keeps its text and caret
// while typing and takes the FormatDouble form when validating. out (when
// given) receives the value as parsed and clamped. TRUE when the value was
// clamped or the text reformatted.
BOOL SyncEditDoubleWithSpin(BOOL validate, QLineEdit* edit, CSpinButtonCtrl* spin, double* out = nullptr);

// Index of the first item whose item data equals data, or -1.
int FindComboItemByData(const QComboBox* combo, int data);
