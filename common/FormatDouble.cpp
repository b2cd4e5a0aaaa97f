#include "common/FormatDouble.h"

QString FormatDouble(double value)
{
    QString text = QString::asprintf("%.2f", value);
    if (text.endsWith(QLatin1String("00"))) {
        text.chop(3);  // the two zeros and the decimal point
    } else if (text.endsWith(u'0')) {
        text.chop(1);
    }
    return text;
}
