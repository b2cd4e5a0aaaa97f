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

namespace {

// The longest head of a text too wide as a whole that fits the width; one
// character at least, and never half of one.
qsizetype FittingHead(const QString& text, int width, const std::function<int(const QString&)>& measure)
{
    qsizetype head = text.size() - 1;
    while (head > 1 && measure(text.left(head)) > width)
        --head;
    if (text.at(head).isLowSurrogate())
        head += head == 1 ? 1 : -1;
    return head;
}

}  // namespace

QStringList WrapAtSeparators(const QString& text, int width, const std::function<int(const QString&)>& measure)
{
    QStringList lines;
    QString line;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype separator = text.indexOf(QLatin1Char('/'), start);
        const qsizetype end = separator < 0 ? text.size() : separator + 1;
        const QString piece = text.mid(start, end - start);
        start = end;
        if (measure(line + piece) <= width) {
            line += piece;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line = piece;
        while (line.size() > 1 && measure(line) > width) {
            const qsizetype head = FittingHead(line, width, measure);
            lines.append(line.left(head));
            line.remove(0, head);
        }
    }
    lines.append(line);
    return lines;
}
