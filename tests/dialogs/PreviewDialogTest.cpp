#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewListNavigation.h"
#include "dialogs/PreviewProfile.h"
#include "dialogs/PreviewWindow.h"
#include "dialogs/WindowPlacement.h"

namespace {

class FakeList : public IPreviewListNavigation {
public:
    int GetRowCount() const override { return count; }
    int GetFocusedRow() const override { return focused; }
    void SelectOnlyAndShow(int row) override { focused = row, ++selections; }

    int count = 10;
    int focused = -1;
    int selections = 0;
};

class TestPreviewDialog : public CPreviewDialog {
public:
    using CPreviewDialog::CPreviewDialog;
    int mainWindowCalls = 0;

protected:
    void BringMainWindowToTop() override { ++mainWindowCalls; }
    void ShowHelp() override {}
};

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

class PreviewDialogTest : public ::testing::Test {
protected:
    void SetUp() override { QSettings(QSettings::IniFormat, QSettings::UserScope, "Quenrick", "Folivane").clear(); }
    void TearDown() override { DestroyPreviewDialog(); }

    static QString Text(const QWidget& dialog, const char* id)
    {
        return dialog.findChild<QLabel*>(QLatin1String(id))->text();
    }
    static void Wheel(QWidget* target, QPoint local, int delta, Qt::KeyboardModifiers mods)
    {
        QWheelEvent event(local, target->mapToGlobal(local), {}, {0, delta}, Qt::NoButton, mods, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(target, &event);
    }

    FakeList list;
};

}  // namespace

TEST_F(PreviewDialogTest, StartsWithItsTextsAndTheStoredGrid)
{
    WriteProfileInt(QString(), kGridOnKey, 0);
    TestPreviewDialog dialog(&list);
    EXPECT_EQ(dialog.windowTitle(), "プレビュー");
    EXPECT_EQ(Text(dialog, "1134"), "Zoom [Fit Fit]");
    EXPECT_EQ(Text(dialog, "1135"), "RGB [0 0 0 #000000]");
    EXPECT_EQ(Text(dialog, "1136"), "Ins [0 0 0 #000000]");
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("1137")->isChecked());
    EXPECT_FALSE(dialog.Source().GetGrid());
    dialog.findChild<QCheckBox*>("1137")->click();
    EXPECT_TRUE(dialog.Adjusted().GetGrid());
}

TEST_F(PreviewDialogTest, ColourTextChangesOnlyOnANewColourAndInsertTakesIt)
{
    TestPreviewDialog dialog(&list);
    auto* colour = dialog.findChild<QLabel*>("1135");
    dialog.UpdateColorText(RGB(1, 2, 250));
    EXPECT_EQ(colour->text(), "RGB [1 2 250 #0102FA]");
    colour->setText("unchanged");
    dialog.UpdateColorText(RGB(1, 2, 250));
    EXPECT_EQ(colour->text(), "unchanged");
    QTest::keyClick(&dialog, Qt::Key_Insert);
    EXPECT_EQ(Text(dialog, "1136"), "Ins [1 2 250 #0102FA]");
}

TEST_F(PreviewDialogTest, MouseReportsTheDisplayedPixel)
{
    TestPreviewDialog dialog(&list);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.Source().SetGrid(false);
    dialog.Source().SetBitmap(Filled({4000, 4000}, qRgb(10, 130, 250)));
    QTest::mouseMove(dialog.Source().viewport(), {40, 40});
    EXPECT_EQ(Text(dialog, "1135"), "RGB [10 130 250 #0A82FA]");
}

TEST_F(PreviewDialogTest, KeysWalkTheListAndAreConsumed)
{
    TestPreviewDialog dialog(&list);
    auto* grid = dialog.findChild<QCheckBox*>("1137");
    // No focused row: nothing selected, the key still consumed.
    EXPECT_TRUE(dialog.HandleKey(Qt::Key_Down, false, false));
    EXPECT_EQ(list.selections, 0);
    list.focused = 8;
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(list.focused, 9);
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(list.selections, 1);
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(list.focused, 0);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(list.selections, 2);
    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(list.focused, 9);
    list.focused = 1;
    QTest::keyClick(grid, Qt::Key_PageUp);
    EXPECT_EQ(list.focused, 0);
    // Tab alone brings the main window; with Shift it moves the focus.
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(dialog.mainWindowCalls, 1);
    EXPECT_FALSE(dialog.HandleKey(Qt::Key_Tab, false, true));
    EXPECT_EQ(dialog.mainWindowCalls, 1);
}

TEST_F(PreviewDialogTest, TabRestoresAMinimisedMainWindow)
{
    QWidget main;
    main.setObjectName(QStringLiteral("QuenrickFolivaneMainFrmClass"));
    main.showMinimized();
    CPreviewDialog dialog(&list);
    QTest::keyClick(dialog.findChild<QCheckBox*>("1137"), Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isMinimized(); }, 5000));
}

TEST_F(PreviewDialogTest, ModifiedKeysZoomAndScrollTheNamedViews)
{
    TestPreviewDialog dialog(&list);
    dialog.Source().SetBitmap(Filled({2000, 2000}, qRgb(9, 9, 9)));
    dialog.Adjusted().SetBitmap(Filled({2000, 2000}, qRgb(9, 9, 9)));
    QTest::keyClick(&dialog, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_GT(dialog.Source().GetZoom(), 0);
    EXPECT_EQ(dialog.Adjusted().GetZoom(), 0);
    EXPECT_EQ(Text(dialog, "1134"), QString("Zoom [%1 Fit]").arg(dialog.Source().GetZoomText()));
    dialog.Source().SetZoom(100, {});
    dialog.Source().ScrollHorz(-100000);
    const QPoint before = dialog.Source().GetScroll();
    QTest::keyClick(&dialog, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(dialog.Source().GetScroll(), before + QPoint(20, 0));
    EXPECT_EQ(list.selections, 0);
}

TEST_F(PreviewDialogTest, CtrlWheelZoomsBothViewsAndTheBandNothing)
{
    TestPreviewDialog dialog(&list);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.Source().SetBitmap(Filled({2000, 2000}, qRgb(9, 9, 9)));
    dialog.Adjusted().SetBitmap(Filled({2000, 2000}, qRgb(9, 9, 9)));
    const QPoint band = dialog.mapToGlobal(QPoint(dialog.width() / 2, 2));
    dialog.ZoomByWheel(dialog.Source(), 120, band, true);
    EXPECT_EQ(dialog.Source().GetZoom(), 0);
    Wheel(dialog.Adjusted().viewport(), {30, 30}, 120, Qt::ControlModifier);
    EXPECT_GT(dialog.Adjusted().GetZoom(), 0);
    EXPECT_EQ(dialog.Source().GetZoom(), dialog.Adjusted().GetZoom());
    Wheel(dialog.Adjusted().viewport(), {30, 30}, -120, Qt::NoModifier);
    EXPECT_EQ(dialog.Adjusted().GetZoom(), 0);
    EXPECT_GT(dialog.Source().GetZoom(), 0);
}

TEST_F(PreviewDialogTest, WheelOverTheScrollBarsZooms)
{
    TestPreviewDialog dialog(&list);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CPreviewCtrl& view = dialog.Source();
    view.SetBitmap(Filled({3000, 3000}, qRgb(9, 9, 9)));
    view.SetZoom(100, {});
    ASSERT_TRUE(view.HasHorzBar() && view.HasVertBar());
    Wheel(view.verticalScrollBar(), {4, 40}, 120, Qt::NoModifier);
    EXPECT_EQ(view.GetZoom(), 200);
    Wheel(view.horizontalScrollBar(), {40, 4}, -120, Qt::NoModifier);
    EXPECT_EQ(view.GetZoom(), 100);
}

TEST_F(PreviewDialogTest, CtrlDragMovesBothViews)
{
    TestPreviewDialog dialog(&list);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (CPreviewCtrl* view : {&dialog.Source(), &dialog.Adjusted()}) {
        view->SetBitmap(Filled({3000, 3000}, qRgb(9, 9, 9)));
        view->SetZoom(100, {});
        view->ScrollHorz(-10000);
        view->ScrollVert(-10000);
    }
    QWidget* viewport = dialog.Source().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, {200, 200});
    QTest::mouseMove(viewport, {150, 190});
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 180), viewport->mapToGlobal(QPointF(100, 180)), Qt::NoButton,
                     Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, {100, 180});
    EXPECT_EQ(dialog.Source().GetScroll(), QPoint(100, 20));
    EXPECT_EQ(dialog.Adjusted().GetScroll(), QPoint(50, 10));
}

TEST_F(PreviewDialogTest, UnreadableSourcesShowNoImageWithTheName)
{
    QTemporaryDir dir;
    const QString truncated = dir.filePath("half.png");
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Filled({64, 64}, qRgb(1, 1, 1)).save(&buffer, "PNG");
    }
    QFile file(truncated);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(png.left(png.size() / 2));
    file.close();
    ASSERT_TRUE(ShowPreviewDialog());
    for (const QString& path : {dir.filePath("missing.png"), truncated}) {
        SetPreviewSourceFile(path);
        EXPECT_TRUE(g_pPreviewDialog->Source().GetBitmap().isNull());
        EXPECT_EQ(g_pPreviewDialog->windowTitle(), "プレビュー - " + QFileInfo(path).fileName());
    }
    SetPreviewSourceFile(QString());
    EXPECT_EQ(g_pPreviewDialog->windowTitle(), "プレビュー");
}

TEST_F(PreviewDialogTest, ReopenedWindowKeepsImagesAndZooms)
{
    ASSERT_TRUE(ShowPreviewDialog());
    CPreviewDialog* first = g_pPreviewDialog;
    SetPreviewAdjustedImage(Filled({500, 400}, qRgb(5, 6, 7)));
    first->Adjusted().SetZoom(300, {});
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(IsPreviewDialogVisible());
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(IsPreviewDialogVisible());
    ASSERT_TRUE(ShowPreviewDialog());
    EXPECT_EQ(g_pPreviewDialog, first);
    EXPECT_TRUE(IsPreviewDialogVisible());
    EXPECT_EQ(first->Adjusted().GetBitmap().size(), QSize(500, 400));
    EXPECT_EQ(first->Adjusted().GetZoom(), 300);
}

TEST_F(PreviewDialogTest, StoredPlacementIsRestoredOnlyOnAScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect onScreen(screen.topLeft() + QPoint(20, 30), QSize(500, 300));
    WriteProfileBinary(QString(), kPrevWinRectKey, RectToBytes(ToRECT(onScreen)));
    {
        TestPreviewDialog dialog(&list);
        EXPECT_EQ(dialog.geometry(), onScreen);
        dialog.findChild<QCheckBox*>("1137")->click();
    }
    EXPECT_EQ(GetProfileInt(QString(), kGridOnKey, 1), 0);
    QByteArray stored;
    ASSERT_TRUE(GetProfileBinary(QString(), kPrevWinRectKey, stored));
    EXPECT_EQ(stored, RectToBytes(ToRECT(onScreen)));

    const QRect offScreen(screen.right() + 5000, 0, 500, 300);
    WriteProfileBinary(QString(), kPrevWinRectKey, RectToBytes(ToRECT(offScreen)));
    EXPECT_NE(TestPreviewDialog(&list).geometry(), offScreen);
    WriteProfileBinary(QString(), kPrevWinRectKey, RectToBytes(ToRECT(onScreen)).left(15));
    EXPECT_NE(TestPreviewDialog(&list).geometry(), onScreen);
}
