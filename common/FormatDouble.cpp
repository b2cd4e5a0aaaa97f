#include "common/FormatDouble.h"

#include <cstdio>

QString FormatDouble(double value)
{
    char text[400];  // the largest double printed in full fits
    std::snprintf(text, sizeof text, "%.2f", value);
    QString result = QString::fromLatin1(text);
    if (result.endsWith(QLatin1String("00")))
        result.chop(3);
    else if (result.endsWith(u'0'))
        result.chop(1);
    return result;
}
