#pragma once

#include <QString>
#include <QStringList>

#include "platform/WinTypes.h"

// The files and folders the user added lately, newest first, at most 9 and
// no two alike (paths that differ only in letter case are different files);
// kept in the profile section "RecentItems" as values "0" to "8".
class CRecentItems {
public:
    static constexpr int kMaxItems = 9;

    void AddRecentItem(const QString& path);
    void LoadRecentItems();
    // Rewrites the section only when the list changed; an empty list leaves none.
    void SaveRecentItems();

    QStringList m_arrRecentItems;
    BOOL m_bRecentChanged = 0;
};
