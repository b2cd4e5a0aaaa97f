#include "msgbox/ApplicationHelp.h"

#include <QCoreApplication>
#include <QMetaObject>

void AskApplicationHelp(quintptr data, unsigned command)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || app->metaObject()->indexOfMethod("WinHelp(quintptr,uint)") < 0)
        return;
    QMetaObject::invokeMethod(app, "WinHelp", Q_ARG(quintptr, data), Q_ARG(uint, command));
}
