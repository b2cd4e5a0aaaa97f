#include <gtest/gtest.h>

#include "ListTestSupport.h"
#include "common/TempRoot.h"
#include "imagelist/OverrideMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

namespace {

// The list with its menu read instead of shown.
class CMenuList : public CTestListCtrl {
public:
    using CTestListCtrl::CTestListCtrl;
    std::vector<int> checked;
    QPoint shownAt{-5, -5};
    int menus = 0;
    int choose = 0;

protected:
    int TrackPopupMenu(QMenu& menu, const QPoint& point) override
    {
        ++menus;
        shownAt = point;
        checked.clear();
        for (const QAction* action : menu.actions()) {
            if (action->isChecked()) {
                checked.push_back(action->data().toInt());
            }
        }
        return choose;
    }
};

class ListMenuRemovalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        list.adjust = QuickAdjust;
    }

    void AddPages(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString path = dir.filePath(QStringLiteral("p%1.png").arg(i));
            WritePage(path);
            AddEntry(list, path);
        }
        list.UpdateFileCount();
    }

    void Select(std::initializer_list<int> rows)
    {
        list.clearSelection();
        for (const int row : rows) {
            list.selectionModel()->select(list.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    QTemporaryDir dir;
    CAdjustOption option;
    CMenuList list{option};
};

}  // namespace

TEST_F(ListMenuRemovalTest, MenuChecksTheCommonValuesOnly)
{
    AddPages(3);
    list.GetImageInfo(0)->m_nPageKindOverride = 1;
    list.GetImageInfo(0)->m_dRotateOverride = 0.0;
    list.GetImageInfo(0)->m_rcMarginOverride = RECT{0, 0, 0, 0};
    list.GetImageInfo(1)->m_nPageKindOverride = 2;
    list.GetImageInfo(1)->m_dRotateOverride = 0.0;
    list.GetImageInfo(1)->m_rcMarginOverride = RECT{0, 0, 0, 0};
    list.GetImageInfo(2)->m_dRotateOverride = 1.5;

    EXPECT_EQ(list.OnContextMenu(QPoint(40, 50)), 0);
    EXPECT_EQ(list.menus, 0);  // no selection, no menu

    Select({0});
    list.OnContextMenu(QPoint(40, 50));
    EXPECT_EQ(list.checked, (std::vector<int>{32792, 32795, 32798}));
    EXPECT_EQ(list.shownAt, QPoint(40, 50));
    Select({0, 1});
    list.OnContextMenu(QPoint(40, 50));
    EXPECT_EQ(list.checked, (std::vector<int>{32795, 32798}));
    Select({2});
    list.OnContextMenu(QPoint(40, 50));
    EXPECT_EQ(list.checked, (std::vector<int>{32791, 32796, 32797}));
    Select({0, 1, 2});
    list.OnContextMenu(QPoint(40, 50));
    EXPECT_TRUE(list.checked.empty());
}

TEST_F(ListMenuRemovalTest, MenuKeyAndShiftF10OpenAtTheTopLeftAndTheChoiceIsPassedOn)
{
    AddPages(1);
    Select({0});
    list.choose = 32796;
    std::vector<int> commands;
    QObject::connect(&list, &CImageListCtrl::MenuCommand, [&](int id) { commands.push_back(id); });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(3, 3), QPoint(300, 300));
    QCoreApplication::sendEvent(&list, &key);
    EXPECT_EQ(list.shownAt, list.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(commands, std::vector<int>{32796});

    // The window system sends no menu event for Shift+F10; F10 alone opens nothing.
    list.shownAt = QPoint(-5, -5);
    QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(&list, Qt::Key_F10);
    EXPECT_EQ(list.menus, 2);
    EXPECT_EQ(list.shownAt, list.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(commands, (std::vector<int>{32796, 32796}));
}

TEST_F(ListMenuRemovalTest, RemovingSomeRowsTakesExactlyTheirEntriesAndCacheFiles)
{
    // Claimed as the program claims it at start: files are removed only from a held root.
    ASSERT_FALSE(ClaimTempRoot().isEmpty());
    AddPages(8);
    QStringList caches;
    for (int row = 0; row < 8; ++row) {
        caches.append(list.GetImageInfo(row)->GetCacheFileName());
        QDir().mkpath(QFileInfo(caches.back()).path());
        QFile cache(caches.back());
        ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    }
    list.preview.source = QStringLiteral("shown");
    Select({1, 4});
    list.RemoveSelected();
    ASSERT_EQ(list.GetItemCount(), 6U);
    for (int row = 0, page = 0; row < 6; ++row, ++page) {
        page += page == 1 || page == 4 ? 1 : 0;
        EXPECT_EQ(list.GetImageInfo(row)->m_strPath, dir.filePath(QStringLiteral("p%1.png").arg(page)));
    }
    for (int page = 0; page < 8; ++page) {
        EXPECT_EQ(QFileInfo::exists(caches[page]), page != 1 && page != 4) << page;
    }
    EXPECT_EQ(list.status.allFiles, 6);
    EXPECT_EQ(list.model()->rowCount(), 6);
    EXPECT_EQ(list.preview.source, QStringLiteral("shown"));
    EXPECT_TRUE(list.status.started.empty());  // no job ran, none starts

    list.selectAll();
    list.RemoveSelected();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(list.preview.source.isEmpty());
    EXPECT_EQ(list.status.allFiles, 0);
    EXPECT_EQ(list.status.selectedFiles, 0);
    EXPECT_TRUE(list.status.started.empty());
}

TEST_F(ListMenuRemovalTest, RemovingDuringAJobRestartsIt)
{
    AddPages(4);
    list.StartNextJob();
    ASSERT_TRUE(WaitIdle(list));
    std::atomic<bool> entered{false};
    list.adjust = [&](const QImage&, CPageRecord&, QString&) {
        entered = true;
        while (!list.IsStopRequested()) {
            std::this_thread::yield();
        }
        return QImage();
    };
    list.ClearCounts();
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
    Select({0});
    list.RemoveSelected();
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.status.started.size(), 2U);
    EXPECT_EQ(list.status.started[1].caption, QStringLiteral("読み込み中止"));
    EXPECT_EQ(list.GetItemCount(), 3U);
}
