#include <gtest/gtest.h>

#include <QtGlobal>
#include <qnamespace.h>

#include "dialogs/PreviewKeys.h"

using Cmd = PreviewKeyCommand;

TEST(PreviewKeys, AloneTheKeysWalkTheList)
{
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_PageDown, false, false).command, Cmd::SelectNext);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_PageDown, false, false).amount, 3);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_PageUp, false, false).amount, 3);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Up, false, false).command, Cmd::SelectPrev);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Right, false, false).amount, 1);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Home, false, false).command, Cmd::SelectFirst);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_End, false, false).command, Cmd::SelectLast);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Insert, false, false).command, Cmd::TakeColor);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Tab, false, false).command, Cmd::ShowMainWindow);
}

TEST(PreviewKeys, CtrlNamesTheLeftViewShiftTheRight)
{
    const PreviewKeyAction both = GetPreviewKeyAction(Qt::Key_PageUp, true, true);
    EXPECT_EQ(both.command, Cmd::ZoomIn);
    EXPECT_TRUE(both.left && both.right);
    const PreviewKeyAction right = GetPreviewKeyAction(Qt::Key_Left, false, true);
    EXPECT_EQ(right.command, Cmd::ScrollHorz);
    EXPECT_EQ(right.amount, -20);
    EXPECT_FALSE(right.left);
    EXPECT_TRUE(right.right);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Down, true, false).amount, 20);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_PageDown, true, false).command, Cmd::ZoomOut);
}

TEST(PreviewKeys, OtherKeysAndModifiedSingleActionsPassOn)
{
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Tab, false, true).command, Cmd::Pass);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Backtab, false, true).command, Cmd::Pass);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Home, true, false).command, Cmd::Pass);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Insert, false, true).command, Cmd::Pass);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Space, false, false).command, Cmd::Pass);
    EXPECT_EQ(GetPreviewKeyAction(Qt::Key_Return, false, false).command, Cmd::Pass);
}

TEST(PreviewKeys, WalkStopsAtTheEnds)
{
    // Ten rows: Page Down on the second-to-last goes to the last; on the last nothing.
    EXPECT_EQ(GetNextRow(8, 10, 3), 9);
    EXPECT_EQ(GetNextRow(9, 10, 3), -1);
    EXPECT_EQ(GetNextRow(2, 10, 3), 5);
    EXPECT_EQ(GetPrevRow(1, 3), 0);
    EXPECT_EQ(GetPrevRow(0, 3), -1);
    EXPECT_EQ(GetPrevRow(5, 1), 4);
    // No focused row: nothing.
    EXPECT_EQ(GetNextRow(-1, 10, 1), -1);
    EXPECT_EQ(GetPrevRow(-1, 1), -1);
}
