#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The output names given in one folder. Names that differ only in case are
// one file there, so they are kept case-folded. The next number to try per
// title keeps numbering linear: entries that share a title would otherwise
// test every number below theirs against every name again.
class COutputNames {
public:
    bool Contains(const QString& name) const { return m_setNames.contains(name.toCaseFolded()); }
    void Add(const QString& name) { m_setNames.insert(name.toCaseFolded()); }
    void Remove(const QString& name);
    // The first name "title(n)extension" with n from 2 that is free, taken;
    // the title is shortened where the name would not fit in a file name.
    QString TakeNumbered(const QString& title, const QString& extension);

private:
    QSet<QString> m_setNames;
    QHash<QString, int> m_mapNextNumber;  // case-folded title and extension -> every lower number is taken
};
