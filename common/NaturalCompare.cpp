#include "common/NaturalCompare.h"

#include <QCollator>
#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>

namespace {

bool IsRunChar(QChar c)
{
    return c == u' ' || (c >= u'0' && c <= u'9');
}

// Length of the run at text[i]: its blanks and the digits after them, or 0
// when no digit follows the blanks.
qsizetype RunLength(const QString& text, qsizetype i)
{
    qsizetype end = i;
    while (end < text.size() && text[end] == u' ') {
        ++end;
    }
    const qsizetype digitsStart = end;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') {
        ++end;
    }
    return end > digitsStart ? end - i : 0;
}

// Sorting compares every pair of runs: padding stays on the stack for
// ordinary lengths.
using PadBuffer = QVarLengthArray<QChar, 20>;

void PadWithZeros(const QChar* text, qsizetype length, qsizetype width, PadBuffer& padded)
{
    padded.resize(width);
    std::fill_n(padded.data(), width - length, QChar(u'0'));
    std::copy_n(text, length, padded.data() + (width - length));
}

}  // namespace

int CompareLocale(QStringView a, QStringView b)
{
    // One collator per thread: building one is costly, and sharing one
    // between threads is not safe.
    thread_local const QCollator collator = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return collator.compare(a, b);
}

int CompareDigitRuns(const QChar* text1, qsizetype length1, const QChar* text2, qsizetype length2)
{
    while (length1 > 0 && *text1 == u' ') {
        ++text1;
        --length1;
    }
    while (length2 > 0 && *text2 == u' ') {
        ++text2;
        --length2;
    }
    const qsizetype width = std::max(length1, length2);
    PadBuffer padded1, padded2;
    PadWithZeros(text1, length1, width, padded1);
    PadWithZeros(text2, length2, width, padded2);
    return CompareLocale(QStringView(padded1.data(), width), QStringView(padded2.data(), width));
}

int NaturalCompare(const QString& a, const QString& b)
{
    if (a.isEmpty()) {
        return CompareLocale(a, b);
    }
    qsizetype i = 0, j = 0;    // positions in a and b
    qsizetype pa = 0, pb = 0;  // starts of the pending texts
    while (j < b.size()) {
        const bool runA = IsRunChar(a[i]);
        const bool runB = IsRunChar(b[j]);
        if (runA != runB) {
            break;
        }
        qsizetype stepA = 1, stepB = 1;
        if (runA) {
            const qsizetype ra = RunLength(a, i);
            const qsizetype rb = RunLength(b, j);
            if (ra >= 1 && rb >= 1) {
                if (i > pa) {
                    if (const int result = CompareDigitRuns(a.constData() + pa, i - pa, b.constData() + pb, j - pb)) {
                        return result;
                    }
                }
                if (const int result = CompareDigitRuns(a.constData() + i, ra, b.constData() + j, rb)) {
                    return result;
                }
                stepA = ra;
                stepB = rb;
                pa = i + ra;
                pb = j + rb;
            } else if (ra != rb) {
                break;  // a number on one side, only blanks on the other
            }
        }
        i += stepA;
        j += stepB;
        if (i >= a.size()) {
            break;
        }
    }
    return CompareLocale(QStringView(a).mid(pa), QStringView(b).mid(pb));
}
