#include "common/TextFormat.h"

#include <QDateTime>

#include <algorithm>

namespace {

// Buffers of the list's texts hold 32 characters with the terminator.
constexpr qsizetype kBufferChars = 31;

const QString kNoTime = QStringLiteral(" --");

// Digits of a number: an optional minus sign, then at least one digit.
bool IsDecimalNumber(const QString& text)
{
    const qsizetype start = text.startsWith(u'-') ? 1 : 0;
    return text.size() > start &&
           std::all_of(text.begin() + start, text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The format with its quoted texts blanked out, so that letters left are
// fields; the positions stay those of the format.
QString FieldsOnly(const QString& format)
{
    QString fields = format;
    bool quoted = false;
    for (QChar& c : fields) {
        if (c == u'\'') {
            quoted = !quoted;
            c = u' ';
        } else if (quoted) {
            c = u' ';
        }
    }
    return fields;
}

// The locale's short time with the seconds after the minutes, set off from
// them as the minutes are from the hours ("H:mm:ss", "h:mm:ss AP", "H.mm.ss"):
// the default time format the list's dates follow. The long format would
// bring a zone name and, for Japanese, units ("22時13分57秒").
QString TimeFormatWithSeconds(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    const QString fields = FieldsOnly(format);
    const qsizetype minute = fields.indexOf(u'm');
    if (minute < 0 || fields.contains(u's')) {
        return format;
    }
    qsizetype end = minute;
    while (end < fields.size() && fields[end] == u'm') {
        ++end;
    }
    const qsizetype hourEnd = std::max(fields.lastIndexOf(u'h', minute), fields.lastIndexOf(u'H', minute)) + 1;
    QString separator = format.mid(hourEnd, minute - hourEnd);
    // Hours and minutes set apart by words: the seconds follow a colon.
    if (hourEnd == 0 || separator.size() != 1 || separator[0].isLetterOrNumber()) {
        separator = QStringLiteral(":");
    }
    return format.left(end) + separator + QStringLiteral("ss") + format.mid(end);
}

int ChannelStep(int from, int to, int n)
{
    return std::clamp(from + (to - from) / n, 0, 255);
}

}  // namespace

const QString& FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width, QString& cut)
{
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const QString ellipsis = QStringLiteral("...");
    const int ellipsisWidth = metrics.horizontalAdvance(ellipsis);
    cut.clear();
    for (qsizetype k = text.size() - 1; k >= 1; --k) {
        // Never cut a character made of two UTF-16 units in half.
        if (text[k - 1].isHighSurrogate()) {
            continue;
        }
        if (metrics.horizontalAdvance(text, static_cast<int>(k)) + ellipsisWidth <= width) {
            cut = text.left(k) + ellipsis;
            break;
        }
    }
    return cut;
}

const QString& FitTextWithEllipsis(const QPainter& painter, const QString& text, int width, QString& cut)
{
    return FitTextWithEllipsis(painter.fontMetrics(), text, width, cut);
}

QString GetDigitGrouping(const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString separator = grouped.groupSeparator();
    const QStringList groups = grouped.toString(Q_INT64_C(1234567890123)).split(separator);
    if (separator.isEmpty() || groups.size() < 3) {
        return QStringLiteral("0");
    }
    // The first group from the right, then the repeating one before it.
    const qsizetype first = groups.last().size();
    const qsizetype repeat = groups[groups.size() - 2].size();
    return first == repeat ? QStringLiteral("%1;0").arg(first) : QStringLiteral("%1;%2;0").arg(first).arg(repeat);
}

QString& FormatNumberGrouped(QString& buffer)
{
    const QLocale locale = QLocale::system();
    return FormatNumberGrouped(buffer, GetDigitGrouping(locale), locale.groupSeparator());
}

QString& FormatNumberGrouped(QString& buffer, const QString& grouping, const QString& separator)
{
    qsizetype first = 0, repeat = 0;
    if (grouping == u"3;0") {
        first = repeat = 3;
    } else if (grouping == u"3;2;0") {
        first = 3;
        repeat = 2;
    }
    if (first == 0 || separator.size() > 3 || !IsDecimalNumber(buffer)) {
        return buffer;
    }
    const bool negative = buffer.startsWith(u'-');
    QStringView digits = QStringView(buffer).mid(negative ? 1 : 0);
    while (digits.size() > 1 && digits.front() == u'0') {
        digits = digits.mid(1);
    }
    // Groups from the right: the first of `first` digits, then of `repeat`.
    QList<QStringView> groups;
    qsizetype end = digits.size();
    qsizetype size = first;
    while (end > size) {
        groups.prepend(digits.mid(end - size, size));
        end -= size;
        size = repeat;
    }
    groups.prepend(digits.left(end));
    QString grouped = negative ? QStringLiteral("-") : QString();
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (i > 0) {
            grouped += separator;
        }
        grouped += groups[i];
    }
    if (grouped.size() <= kBufferChars) {
        buffer = grouped;
    }
    return buffer;
}

QString& FormatDateTime(qint64 time, QString& buffer)
{
    return FormatDateTime(time, buffer, QLocale::system());
}

QString& FormatDateTime(qint64 time, QString& buffer, const QLocale& locale)
{
    // Up to the end of year 9999, so that the conversion cannot overflow.
    constexpr qint64 kLastTime = Q_INT64_C(253402300799);
    if (time < 0 || time > kLastTime) {
        buffer = kNoTime;
        return buffer;
    }
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time);
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    const QString clock = locale.toString(local.time(), TimeFormatWithSeconds(locale));
    const QString text = date + u' ' + clock;
    buffer = !local.isValid() || date.isEmpty() || clock.isEmpty() || text.size() > kBufferChars ? kNoTime : text;
    return buffer;
}

COLORREF StepColor(COLORREF from, COLORREF to, int n)
{
    n = std::max(n, 1);  // a step count of 0 would divide by zero
    return RGB(ChannelStep(GetRValue(from), GetRValue(to), n), ChannelStep(GetGValue(from), GetGValue(to), n),
               ChannelStep(GetBValue(from), GetBValue(to), n));
}

int FindStringNoCase(const QStringList& list, const QString& text)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].compare(text, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void RemoveStringNoCase(QStringList& list, const QString& text)
{
    list.removeIf([&text](const QString& item) { return item.compare(text, Qt::CaseInsensitive) == 0; });
}
