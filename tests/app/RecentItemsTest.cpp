#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/RecentItems.h"

namespace {

class RecentItems : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUserSettings();
        theApp.m_pszRegistryKey = QStringLiteral("Quenrick");
        theApp.m_pszProfileName = QStringLiteral("Folivane");
    }
    void TearDown() override { ClearUserSettings(); }

    CRecentItems m_items;
};

}  // namespace

TEST_F(RecentItems, APathMovesToTheFrontAndAnotherCaseIsAnotherPath)
{
    m_items.m_arrRecentItems = {QStringLiteral("/Books/A"), QStringLiteral("/books/b"), QStringLiteral("/books/a")};
    m_items.AddRecentItem(QStringLiteral("/books/a"));
    EXPECT_EQ(m_items.m_arrRecentItems, (QStringList{"/books/a", "/Books/A", "/books/b"}));
    EXPECT_TRUE(m_items.m_bRecentChanged);

    m_items.m_bRecentChanged = 0;
    m_items.AddRecentItem(QStringLiteral("/books/a"));
    m_items.AddRecentItem(QString());
    EXPECT_FALSE(m_items.m_bRecentChanged);
    EXPECT_EQ(m_items.m_arrRecentItems.size(), 3);
}

TEST_F(RecentItems, ATenthPathDropsTheOldest)
{
    for (int i = 0; i < 10; ++i) {
        m_items.AddRecentItem(QStringLiteral("/p%1").arg(i));
    }
    ASSERT_EQ(m_items.m_arrRecentItems.size(), 9);
    EXPECT_EQ(m_items.m_arrRecentItems.first(), QStringLiteral("/p9"));
    EXPECT_EQ(m_items.m_arrRecentItems.last(), QStringLiteral("/p1"));
}

TEST_F(RecentItems, SavedOnlyWhenChangedAndAnEmptyListLeavesNoGroup)
{
    m_items.AddRecentItem(QStringLiteral("/a"));
    m_items.AddRecentItem(QStringLiteral("/b"));
    m_items.SaveRecentItems();
    EXPECT_FALSE(m_items.m_bRecentChanged);
    CRecentItems loaded;
    loaded.LoadRecentItems();
    EXPECT_EQ(loaded.m_arrRecentItems, (QStringList{"/b", "/a"}));

    WriteProfileString("RecentItems", "5", "/stray");
    m_items.SaveRecentItems();  // unchanged: the group is not rewritten
    EXPECT_EQ(GetProfileString("RecentItems", "5"), QStringLiteral("/stray"));

    m_items.m_arrRecentItems.clear();
    m_items.m_bRecentChanged = 1;
    m_items.SaveRecentItems();
    EXPECT_FALSE(UserSettings().childGroups().contains(QStringLiteral("RecentItems")));
}

TEST_F(RecentItems, LoadingStopsAtAGapAndSkipsOverLongValues)
{
    WriteProfileString("RecentItems", "0", "/first");
    WriteProfileString("RecentItems", "1", QString(100000, QLatin1Char('x')));
    WriteProfileString("RecentItems", "2", "/third");
    WriteProfileString("RecentItems", "4", "/after-gap");
    WriteProfileString("RecentItems", "9", "/tenth");
    m_items.m_bRecentChanged = 1;
    m_items.LoadRecentItems();
    EXPECT_EQ(m_items.m_arrRecentItems, (QStringList{"/first", "/third"}));
    EXPECT_FALSE(m_items.m_bRecentChanged);
}
