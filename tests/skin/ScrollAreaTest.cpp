#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "skin/ScrollArea.h"

namespace velmora {
namespace {

// A 200 × 200 window whose one child sits at the content's top-left corner.
class ScrollAreaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(200, 200);
        window->show();  // resizes reach a shown window at once
        child = new QWidget(window.get());
        child->setGeometry(0, 0, 100, 500);
        area.Attach(window.get());
    }
    int ChildY() const { return child->y(); }

    std::unique_ptr<QWidget> window;
    QWidget* child = nullptr;
    ScrollArea area;
};

TEST_F(ScrollAreaTest, StepsStayWithinTheContentAndMoveTheChildren) {
    area.SetContentSize(100, 500);
    EXPECT_EQ(area.PageSize(), QSize(0, 200));
    EXPECT_FALSE(area.VerticalBar()->isHidden());
    EXPECT_TRUE(area.HorizontalBar()->isHidden());

    area.VerticalScroll(kScrollLineDown);
    EXPECT_EQ(area.Position().y(), 60);
    EXPECT_EQ(ChildY(), -60);
    area.VerticalScroll(kScrollThumbTrack, 290);
    EXPECT_EQ(area.Position().y(), 290);
    area.VerticalScroll(kScrollPageDown);  // only 10 more to the end
    EXPECT_EQ(area.Position().y(), 300);
    area.VerticalScroll(kScrollLineDown);
    EXPECT_EQ(area.Position().y(), 300);
    EXPECT_EQ(area.VerticalBar()->value(), 300);
    EXPECT_EQ(ChildY(), -300);
    area.VerticalScroll(kScrollPageUp);
    area.VerticalScroll(kScrollLineUp);
    EXPECT_EQ(area.Position().y(), 40);
    area.VerticalScroll(kScrollThumbPosition, -50);
    EXPECT_EQ(area.Position().y(), 0);
    EXPECT_EQ(ChildY(), 0);

    // The content fits across: a horizontal step goes nowhere.
    area.HorizontalScroll(kScrollLineDown);
    EXPECT_EQ(area.Position().x(), 0);
    EXPECT_EQ(child->x(), 0);
}

TEST_F(ScrollAreaTest, TheWheelStepsByTheDesktopsLinesPerNotch) {
    area.SetContentSize(100, 1000);
    area.Wheel(-120, 3);
    EXPECT_EQ(area.Position().y(), 60);
    area.Wheel(-240, 3);
    EXPECT_EQ(area.Position().y(), 180);
    // A touchpad's small parts add up to what the notch scrolls, no more.
    for (int i = 0; i < 12; ++i) area.Wheel(-10, 3);
    EXPECT_EQ(area.Position().y(), 240);
    area.Wheel(0, 3);  // a sideways turn is no turn down
    EXPECT_EQ(area.Position().y(), 240);
    area.Wheel(120, 6);
    EXPECT_EQ(area.Position().y(), 120);
    area.Wheel(-120, -1);  // a page per notch
    EXPECT_EQ(area.Position().y(), 320);

    // A turn over the window reaches the area by itself.
    QWheelEvent turn(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.get(), &turn);
    EXPECT_EQ(area.Position().y(), 320 - 60 * std::max(1, QApplication::wheelScrollLines() / 3));

    area.SetContentSize(100, 150);  // fits again: back to the top, and the wheel does nothing
    EXPECT_EQ(area.Position().y(), 0);
    EXPECT_EQ(ChildY(), 0);
    area.Wheel(-120, 3);
    EXPECT_EQ(area.Position().y(), 0);
    EXPECT_TRUE(area.VerticalBar()->isHidden());
}

TEST_F(ScrollAreaTest, AResizeKeepsTheShareInViewAndMakesRoomForTheBars) {
    area.SetContentSize(100, 500);
    area.VerticalScroll(kScrollThumbTrack, 100);
    window->resize(200, 100);  // the page halves, so does the position
    EXPECT_EQ(area.PageSize().height(), 100);
    EXPECT_EQ(area.Position().y(), 50);
    EXPECT_EQ(ChildY(), -50);
    window->resize(200, 600);
    EXPECT_EQ(area.PageSize().height(), 0);
    EXPECT_EQ(ChildY(), 0);

    // The vertical bar's width leaves a 195-wide content without room across.
    window->resize(200, 300);
    area.SetContentSize(195, 500);
    EXPECT_EQ(area.PageSize(),
              QSize(200 - ScrollArea::kBarThickness, 300 - ScrollArea::kBarThickness));
    EXPECT_FALSE(area.HorizontalBar()->isHidden());
}

}  // namespace
}  // namespace velmora
