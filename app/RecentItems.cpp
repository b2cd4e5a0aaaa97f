#include "app/RecentItems.h"

#include "app/FolivaneApp.h"
#include "settings/Profile.h"

namespace {

const QString kSection = QStringLiteral("RecentItems");
// No path is longer; a longer value is not one the program wrote.
constexpr qsizetype kMaxPathLength = 4096;

}  // namespace

void CRecentItems::AddRecentItem(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    if (!m_arrRecentItems.isEmpty() && m_arrRecentItems.first() == path) {
        return;
    }
    m_arrRecentItems.removeAll(path);
    m_arrRecentItems.prepend(path);
    if (m_arrRecentItems.size() > kMaxItems) {
        m_arrRecentItems.resize(kMaxItems);
    }
    m_bRecentChanged = 1;
}

void CRecentItems::LoadRecentItems()
{
    m_arrRecentItems.clear();
    for (int i = 0; i < kMaxItems; ++i) {
        const QString path = GetProfileString(kSection, QString::number(i));
        if (path.isEmpty()) {
            break;
        }
        if (path.size() <= kMaxPathLength) {
            m_arrRecentItems.append(path);
        }
    }
    m_bRecentChanged = 0;
}

void CRecentItems::SaveRecentItems()
{
    if (!m_bRecentChanged) {
        return;
    }
    theApp.ClearRecentItems();
    for (int i = 0; i < m_arrRecentItems.size(); ++i) {
        WriteProfileString(kSection, QString::number(i), m_arrRecentItems[i]);
    }
    m_bRecentChanged = 0;
}
