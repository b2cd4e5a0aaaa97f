#include "dialogs/SizeCaption.h"

QString MakeSizeCaption(const QString& caption, bool keepRate, bool onlySmall)
{
    QString suffix;
    if (keepRate) {
        suffix += QStringLiteral(" （縦横比保持");
    }
    if (onlySmall) {
        suffix += suffix.isEmpty() ? QStringLiteral(" （") : QStringLiteral("、");
        suffix += QStringLiteral("縮小のみ");
    }
    if (!suffix.isEmpty()) {
        suffix += QStringLiteral("）");
    }
    return caption + suffix;
}
