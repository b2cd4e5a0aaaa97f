#include "app/AboutText.h"

#include <QCoreApplication>

#include "archive/ArcLib.h"

QString FormatArcLibLine(const QString& dllName, int version, const QString& modulePath)
{
    return QStringLiteral("%1：Ver%2.%3 %4\n")
        .arg(dllName)
        .arg(version / 100)
        .arg(version % 100, 2, 10, QLatin1Char('0'))
        .arg(modulePath);
}

QString FormatMissingArcLibLine(const QString& dllName)
{
    return dllName + QStringLiteral("：なし\n");
}

QString GetArcLibLine(const QString& dllName, const QByteArray& commandName)
{
    CArcLib library(dllName, commandName);
    if (!library.Load() || library.GetProcs() != 0) {
        return FormatMissingArcLibLine(dllName);
    }
    return FormatArcLibLine(dllName, library.m_pfnGetVersion(), library.GetModulePath());
}

QString GetArcLibLines()
{
    return GetArcLibLine(QString::fromLatin1(kUnzipLibraryName), kUnzipCommandName) +
           GetArcLibLine(QString::fromLatin1(kUnrarLibraryName), kUnrarCommandName);
}

QString GetProgramFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
