#include "common/FormatDouble.h"

#include <array>
#include <charconv>

QString FormatDouble(double value)
{
    // The C library's "%.2f" in the C locale, exact halves to the even digit;
    // the largest double takes 309 digits before the point.
    std::array<char, 320> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    if (text.endsWith(QLatin1String("00"))) {
        text.chop(3);  // the two zeros and the decimal point
    } else if (text.endsWith(u'0')) {
        text.chop(1);
    }
    return text;
}
