#pragma once

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QString>
#include <QStringList>

#include "platform/WinTypes.h"

// Small text helpers for the image list's rows and columns.

// The text when it fits into width pixels, else cut holds the longest head of
// it followed by "..." that fits (empty when none) and is returned.
const QString& FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width, QString& cut);
// The same, measured with the painter's current font.
const QString& FitTextWithEllipsis(const QPainter& painter, const QString& text, int width, QString& cut);

// Rewrites a number held as decimal digits (an optional leading minus sign)
// with the user's thousands separator and digit grouping; the buffer stays
// as it is when the grouping is neither "3;0" nor "3;2;0", when it holds no
// number, or when the result would not fit its 32 characters.
QString& FormatNumberGrouped(QString& buffer);
// The same with the locale data given: grouping as "3;0" or "3;2;0".
QString& FormatNumberGrouped(QString& buffer, const QString& grouping, const QString& separator);
// A locale's digit grouping in the form above ("3;0", "3;2;0", "0" for none).
QString GetDigitGrouping(const QLocale& locale);

// A file time (seconds since 1970, -1 none) as the user's short date, a blank
// and the user's time with seconds; " --" for none or a time that cannot be
// shown.
QString& FormatDateTime(qint64 time, QString& buffer);
// The same with the locale given.
QString& FormatDateTime(qint64 time, QString& buffer, const QLocale& locale);

// One step of a gradient: per channel from + (to - from) / n, truncated
// toward zero and limited to 0..255; the top byte is 0. n >= 1.
COLORREF StepColor(COLORREF from, COLORREF to, int n);

// Index of the first element equal to text ignoring letter case, or -1.
int FindStringNoCase(const QStringList& list, const QString& text);
// Removes every element equal to text ignoring letter case.
void RemoveStringNoCase(QStringList& list, const QString& text);
