#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "dialogs/DialogLayout.h"
#include "dialogs/WindowPlacement.h"

TEST(WindowPlacement, CaptionGripMustMeetAWorkArea)
{
    const QList<QRect> areas{QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
    EXPECT_TRUE(IsRectOnAnyWorkArea({100, 100, 500, 400}, areas));
    // Partly over the right edge of the second screen: accepted.
    EXPECT_TRUE(IsRectOnAnyWorkArea({2800, 50, 3400, 400}, areas));
    // The grip lies wholly outside every area.
    EXPECT_FALSE(IsRectOnAnyWorkArea({-900, 100, -100, 400}, areas));
    EXPECT_FALSE(IsRectOnAnyWorkArea({100, 1030, 500, 1400}, areas));
    // Only the rim beside the grip is on screen: rejected.
    EXPECT_FALSE(IsRectOnAnyWorkArea({-600, 100, 20, 400}, areas));
    // Too narrow to have a grip.
    EXPECT_FALSE(IsRectOnAnyWorkArea({100, 100, 150, 400}, areas));
    EXPECT_TRUE(IsRectOnAnyMonitor(ToRECT(QGuiApplication::primaryScreen()->availableGeometry())));
}

TEST(WindowPlacement, RestoredRectangleOnlyOfAWindow)
{
    QWidget window;
    window.setGeometry(40, 50, 300, 200);
    QWidget child(&window);
    RECT rect;
    EXPECT_FALSE(GetNormalRectOnScreen(child, rect));
    ASSERT_TRUE(GetNormalRectOnScreen(window, rect));
    EXPECT_EQ(rect, (RECT{40, 50, 340, 250}));
}

TEST(WindowPlacement, DialogUnitScaleOnlyForADialog)
{
    QWidget plain;
    EXPECT_EQ(GetDialogUnitScale(plain), QSize(2, 2));
    QDialog dialog;
    const QSize scale = GetDialogUnitScale(dialog);
    EXPECT_GT(scale.width(), 2);
    EXPECT_GT(scale.height(), 2);
}
