#pragma once

#include <QString>

// Natural name order: runs of digits (with the blanks before them) compare by
// value, so that page2 sorts before page10; everything else compares with the
// user's locale, case-sensitively. Results are negative, 0 or positive.
int NaturalCompare(const QString& a, const QString& b);

// Compares two stretches after skipping their leading blanks and filling the
// shorter up with leading zeros.
int CompareDigitRuns(const QChar* text1, qsizetype length1, const QChar* text2, qsizetype length2);

// The locale comparison both use: the user's locale, case-sensitive.
int CompareLocale(QStringView a, QStringView b);
