#include "dialogs/DialogControls.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "dialogs/DialogLayout.h"
#include "dialogs/SpinButtonCtrl.h"

QLabel* AddStatic(QWidget& parent, const CDialogLayout& layout, const QString& text, int x, int y, int cx, int cy)
{
    auto* label = new QLabel(text, &parent);
    label->setTextFormat(Qt::PlainText);
    layout.Place(*label, x, y, cx, cy);
    return label;
}

QLineEdit* AddEdit(QWidget& parent, const CDialogLayout& layout, int id, int x, int y, int cx, int cy)
{
    auto* edit = new QLineEdit(&parent);
    edit->setObjectName(QString::number(id));
    layout.Place(*edit, x, y, cx, cy);
    return edit;
}

CSpinButtonCtrl* AddSpin(QWidget& parent, int id, QLineEdit* buddy)
{
    auto* spin = new CSpinButtonCtrl(&parent);
    spin->setObjectName(QString::number(id));
    spin->SetBuddy(buddy);
    return spin;
}

QPushButton* AddButton(QDialog& dialog, const CDialogLayout& layout, int id, const QString& text, int x, int y, int cx,
                       int cy)
{
    auto* button = new QPushButton(text, &dialog);
    button->setObjectName(QString::number(id));
    layout.Place(*button, x, y, cx, cy);
    if (id == 1) {
        button->setDefault(true);
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    } else if (id == 2) {
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    return button;
}

void SetUpDialog(QDialog& dialog, const CDialogLayout& layout, const QString& caption, int cx, int cy)
{
    dialog.setWindowTitle(caption);
    dialog.setFixedSize(layout.Size(cx, cy));
}

void AddHelpKey(QWidget& dialog, std::function<void()> help)
{
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F1), &dialog), &QShortcut::activated, &dialog, std::move(help));
}
