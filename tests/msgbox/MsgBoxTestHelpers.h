#pragma once

#include "msgbox/ExtMsgBoxDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>

// The message box that is open now, or null.
inline CExtMsgBoxDialog* FindOpenBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<CExtMsgBoxDialog*>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

// Runs the action on the box as soon as the box's own loop runs.
inline void WhenBoxOpens(std::function<void(CExtMsgBoxDialog&)> action)
{
    QTimer::singleShot(0, [action] {
        if (CExtMsgBoxDialog* box = FindOpenBox())
            action(*box);
    });
}

inline QAbstractButton* ButtonOf(CExtMsgBoxDialog& box, int id)
{
    return qobject_cast<QAbstractButton*>(box.GetDlgItem(id));
}

inline void Press(CExtMsgBoxDialog& box, int id)
{
    ButtonOf(box, id)->click();
}

inline void PressFirst(CExtMsgBoxDialog& box)
{
    box.findChildren<QPushButton*>().first()->click();
}
