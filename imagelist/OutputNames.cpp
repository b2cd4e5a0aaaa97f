#include "imagelist/OutputNames.h"

#include "common/FileNameFit.h"

#include <algorithm>

void COutputNames::Remove(const QString& name)
{
    m_setNames.remove(name.toCaseFolded());
    // A number below a remembered one may be free again.
    m_mapNextNumber.clear();
}

QString COutputNames::TakeNumbered(const QString& title, const QString& extension)
{
    // A title holds no separator, so the pair maps to one key.
    int& next = m_mapNextNumber[(title + QLatin1Char('/') + extension).toCaseFolded()];
    int n = std::max(next, 2);
    QString name;
    do {
        name = FitFileName(title, QStringLiteral("(%1)").arg(n++) + extension);
    } while (Contains(name));
    next = n;
    Add(name);
    return name;
}
