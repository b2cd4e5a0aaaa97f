#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewLink.h"
#include "dialogs/PreviewWindow.h"
#include "imagelist/ImageListCtrl.h"

namespace {

class PreviewLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 5; ++i) {
            const QString path = dir.filePath(QString("page%1.png").arg(i));
            QImage page(40 + i, 30, QImage::Format_RGB32);
            page.fill(qRgb(10 * i, 20, 30));
            ASSERT_TRUE(page.save(path));
            auto info = std::make_unique<CImageInfo>();
            info->m_strPath = info->m_strOrigin = path;
            list.AppendEntry(std::move(info));
        }
        list.UpdateFileCount();
    }
    void TearDown() override { DestroyPreviewDialog(); }

    QTemporaryDir dir;
    CAdjustOption option;
    CImageListCtrl list{option};
    CPreviewLink link{list};
};

}  // namespace

TEST_F(PreviewLinkTest, TheListReachesTheWindowOnlyWhileItIsShown)
{
    EXPECT_FALSE(link.IsPreviewVisible());
    ASSERT_TRUE(ShowPreviewDialog());
    EXPECT_TRUE(link.IsPreviewVisible());
    list.ShowInPreview(2);
    EXPECT_EQ(g_pPreviewDialog->Source().GetBitmap().size(), QSize(42, 30));
    EXPECT_EQ(g_pPreviewDialog->windowTitle(), "プレビュー - page2.png");
    list.ShowInPreview(-1);
    EXPECT_TRUE(g_pPreviewDialog->Source().GetBitmap().isNull());
}

TEST_F(PreviewLinkTest, WindowKeysSelectOnlyTheNewRowWhichTheListThenShows)
{
    ASSERT_TRUE(link.ShowPreviewDialog());
    EXPECT_EQ(link.GetRowCount(), 5);
    EXPECT_EQ(link.GetFocusedRow(), -1);
    g_pPreviewDialog->SelectLastImage();
    EXPECT_EQ(list.GetFocusedRow(), 4);
    QTest::keyClick(g_pPreviewDialog, Qt::Key_PageUp);
    EXPECT_EQ(list.GetFocusedRow(), 1);
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(g_pPreviewDialog->Source().GetBitmap().size(), QSize(41, 30));
}
