#include "msgbox/CopyTextToClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

bool CopyTextToClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return clipboard->text() == text;
}
