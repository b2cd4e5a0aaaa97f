#pragma once

#include <QString>

#include <functional>

class CDialogLayout;
class CSpinButtonCtrl;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls of a dialog template, each placed at its rectangle in dialog
// units; a control id becomes the widget's object name.
QLabel* AddStatic(QWidget& parent, const CDialogLayout& layout, const QString& text, int x, int y, int cx, int cy);
QLineEdit* AddEdit(QWidget& parent, const CDialogLayout& layout, int id, int x, int y, int cx, int cy);
// The up-down control that attaches itself to the edit at its right edge.
CSpinButtonCtrl* AddSpin(QWidget& parent, int id, QLineEdit* buddy);
// A push button; the OK (1) and Cancel (2) ids are tied to the dialog's own
// OK handling and to its rejection.
QPushButton* AddButton(QDialog& dialog, const CDialogLayout& layout, int id, const QString& text, int x, int y, int cx,
                       int cy);
// A dialog of the template's fixed client size and caption.
void SetUpDialog(QDialog& dialog, const CDialogLayout& layout, const QString& caption, int cx, int cy);
// F1 anywhere in the dialog asks for its help, as a Help button would.
void AddHelpKey(QWidget& dialog, std::function<void()> help);
