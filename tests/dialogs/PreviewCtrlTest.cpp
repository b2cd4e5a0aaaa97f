#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <functional>

#include "dialogs/PreviewCtrl.h"

namespace {

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

class PreviewCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(404, 304);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint Global(QPoint client) const { return view.viewport()->mapToGlobal(client); }

    CPreviewCtrl view;
};

}  // namespace

TEST_F(PreviewCtrlTest, SmallImageAtFullSizeIsCentredWithoutBars)
{
    view.SetBitmap(Filled({100, 50}, qRgb(9, 9, 9)));
    view.SetZoom(100, Global({0, 0}));
    const QSize client = view.viewport()->size();
    EXPECT_FALSE(view.HasHorzBar() || view.HasVertBar());
    EXPECT_EQ(view.GetScroll(), QPoint(-(client.width() - 100) / 2, -(client.height() - 50) / 2));
    // Dragging does nothing and the cursor stays the arrow.
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, {50, 50});
    QTest::mouseMove(view.viewport(), {10, 10});
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(view.GetScroll().x(), -(client.width() - 100) / 2);
}

TEST_F(PreviewCtrlTest, BarsLeaveTheViewportThePage)
{
    view.SetBitmap(Filled({1000, 800}, qRgb(200, 200, 200)));
    view.SetZoom(100, Global({0, 0}));
    ASSERT_TRUE(view.HasHorzBar() && view.HasVertBar());
    const QSize client = view.viewport()->size();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 1000 - client.width());
    EXPECT_EQ(view.verticalScrollBar()->pageStep(), client.height());
}

TEST_F(PreviewCtrlTest, ScrollingIsClampedAndDragMovesTheImage)
{
    view.SetBitmap(Filled({1000, 800}, qRgb(200, 200, 200)));
    view.SetZoom(100, Global({0, 0}));
    const int maxX = view.horizontalScrollBar()->maximum();
    view.ScrollHorz(5000);
    EXPECT_EQ(view.GetScroll().x(), maxX);
    EXPECT_EQ(view.horizontalScrollBar()->value(), maxX);
    view.ScrollHorz(-40);
    EXPECT_EQ(view.GetScroll().x(), maxX - 40);
    // Dragging left by 30 pixels shows what lies 30 pixels further right.
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(view.viewport(), {130, 110});
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, {130, 110});
    EXPECT_EQ(view.GetScroll(), QPoint(maxX - 70, 0));
    // The bar's own line step goes through the same path.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view.GetScroll().y(), 20);
}

TEST_F(PreviewCtrlTest, ZoomKeepsThePointUnderTheCursor)
{
    view.SetBitmap(Filled({1000, 1000}, qRgb(200, 200, 200)));
    view.SetZoom(100, Global({0, 0}));
    view.ScrollHorz(200);
    view.ScrollVert(300);
    const QPoint cursor(100, 120);
    view.ZoomIn(Global(cursor));
    EXPECT_EQ(view.GetZoom(), 200);
    EXPECT_EQ(view.GetScroll() + cursor, QPoint(600, 840));
    view.ZoomOut(Global(cursor));
    view.ZoomOut(Global(cursor));
    EXPECT_EQ(view.GetZoom(), 75);
    EXPECT_EQ(view.GetScroll() + cursor, QPoint(225, 315));
}

TEST_F(PreviewCtrlTest, ReplacingTheImageKeepsZoomAndClampsOffsets)
{
    view.SetBitmap(Filled({3000, 3000}, qRgb(1, 2, 3)));
    view.SetZoom(200, Global({0, 0}));
    view.ScrollHorz(4000);
    view.SetBitmap(Filled({300, 300}, qRgb(1, 2, 3)));
    EXPECT_EQ(view.GetZoom(), 200);
    EXPECT_EQ(view.GetScroll().x(), view.horizontalScrollBar()->maximum());
    view.SetBitmap(QImage());
    EXPECT_EQ(view.GetDisplaySize(), QSize(0, 0));
    EXPECT_FALSE(view.HasHorzBar());
}

TEST_F(PreviewCtrlTest, ADragWhoseMouseUpIsLostEnds)
{
    view.SetBitmap(Filled({1000, 800}, qRgb(200, 200, 200)));
    view.SetZoom(100, Global({0, 0}));
    const auto send = [this](QEvent::Type type, QPoint point, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, point, Global(point), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &event);
    };
    const auto dragAfter = [&](const std::function<void()>& loseMouseUp, Qt::MouseButtons held) {
        send(QEvent::MouseButtonPress, {130, 110}, Qt::LeftButton);
        loseMouseUp();
        send(QEvent::MouseMove, {100, 100}, held);
        send(QEvent::MouseButtonRelease, {100, 100}, Qt::NoButton);
        return view.GetScroll();
    };
    // The mouse-up went to another window: the next move holds no button.
    EXPECT_EQ(dragAfter([] {}, Qt::NoButton), QPoint(0, 0));
    // A box blocked the window, or the window was hidden, while the button was down.
    EXPECT_EQ(dragAfter(
                  [this] {
                      QEvent blocked(QEvent::WindowBlocked);
                      QCoreApplication::sendEvent(view.window(), &blocked);
                  },
                  Qt::LeftButton),
              QPoint(0, 0));
    EXPECT_EQ(dragAfter(
                  [this] {
                      view.hide();
                      view.show();
                  },
                  Qt::LeftButton),
              QPoint(0, 0));
    EXPECT_EQ(dragAfter([] {}, Qt::LeftButton), QPoint(30, 10));  // an ordinary drag still moves
}
