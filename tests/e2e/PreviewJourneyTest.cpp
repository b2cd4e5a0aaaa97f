#include "Journey.h"

#include <QTest>

#include <cmath>

#include "Pages.h"
#include "app/CommandIds.h"
#include "app/FileOverride.h"
#include "app/MainFrame.h"
#include "dialogs/PreviewCtrl.h"
#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewWindow.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"

namespace {

class PreviewJourney : public CJourney {
protected:
    void SetUp() override
    {
        CJourney::SetUp();
        WritePage(Work("in/a.png"), SlantedPage(2.0, 1));
        WritePage(Work("in/b.png"), SlantedPage(2.5, 2));
        WritePage(Work("in/c.png"), SlantedPage(-2.0, 3));
        QSettings settings = Settings();
        WriteStraightenAndCut(settings);
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&List(), static_cast<Qt::Key>(key), modifiers);
    }

    QString PreviewTitle() const { return g_pPreviewDialog != nullptr ? g_pPreviewDialog->windowTitle() : QString(); }
};

}  // namespace

TEST_F(PreviewJourney, TabOpensThePreviewArrowsWalkItAndAnUnturnedPageStaysSlanted)
{
    StartProgram();
    Drop({Work("in")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == 3; }, 20000));
    WaitForJobEnd();
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().visualRect(List().model()->index(0, 0)).center());
    ASSERT_EQ(List().GetFocusedRow(), 0);

    Key(Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor([] { return IsPreviewDialogVisible(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return PreviewTitle().endsWith(QStringLiteral("a.png")); }, 5000))
        << PreviewTitle().toStdString();
    Shot(QStringLiteral("3-preview-a"), g_pPreviewDialog);
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    Key(Qt::Key_Down);
    EXPECT_EQ(List().GetFocusedRow(), 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return PreviewTitle().endsWith(QStringLiteral("b.png")); }, 5000))
        << PreviewTitle().toStdString();

    // "傾き調整：しない" for b alone, then all three previewed.
    Post(ID_SLANT_NONE);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Row(1).m_dRotateOverride == 0.0; }, 5000));
    Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetSelectedRows().size() == 3; }, 5000));
    RunJob(ID_PREVIEW_SELECTED);
    Shot(QStringLiteral("3-previewed"));
    Shot(QStringLiteral("3-preview-b"), g_pPreviewDialog);
    EXPECT_NEAR(MeasureSlant(Row(0).GetCacheFileName()), 0.0, 0.5);
    EXPECT_NEAR(MeasureSlant(Row(1).GetCacheFileName()), 2.5, 0.5) << "unturned";
    EXPECT_NEAR(MeasureSlant(Row(2).GetCacheFileName()), 0.0, 0.5);
    ASSERT_NE(g_pPreviewDialog, nullptr);
    EXPECT_FALSE(g_pPreviewDialog->Adjusted().GetBitmap().isNull()) << "the focused page's result is shown";
}
