#include "app/MainLayout.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Right and bottom edges as the layout means them: exclusive.
int Right(const QRect& r) { return r.left() + r.width(); }
int Bottom(const QRect& r) { return r.top() + r.height(); }

TEST(MainLayout, PanesForAClientSize) {
    const MainLayout m = MainLayout::Compute(QRect(0, 0, 1600, 1000), 236);
    EXPECT_EQ(m.editHistory, QRect(9, 80, 148, 1000 - 78 - 80));
    EXPECT_EQ(m.boardPanel.topLeft(), QPoint(173, 61));
    EXPECT_EQ(Right(m.boardPanel), 1600 - 310);
    EXPECT_EQ(Bottom(m.boardPanel), 1000 - 75);
    EXPECT_EQ(m.sidePane, QRect(1600 - 55 - 236, 56, 236, 1000 - 70 - 56));
}

TEST(MainLayout, FollowsTheClientOrigin) {
    const MainLayout a = MainLayout::Compute(QRect(0, 0, 900, 750), 200);
    const MainLayout b = MainLayout::Compute(QRect(10, 20, 900, 750), 200);
    EXPECT_EQ(b.editHistory, a.editHistory.translated(10, 20));
    EXPECT_EQ(b.boardPanel, a.boardPanel.translated(10, 20));
    EXPECT_EQ(b.sidePane, a.sidePane.translated(10, 20));
    // At the smallest window the board keeps a sensible area and the panes do not overlap it.
    EXPECT_EQ(a.boardPanel.size(), QSize(900 - 310 - 173, 750 - 75 - 61));
    EXPECT_LT(Right(a.boardPanel), a.sidePane.left());
}

TEST(MainLayout, VendorLinkHiddenWithin70PixelsOfTheBottom) {
    EXPECT_TRUE(VendorLinkShown(630, 700));
    EXPECT_FALSE(VendorLinkShown(631, 700));
    EXPECT_TRUE(VendorLinkShown(631, 701));  // shown again when the window grows
}

TEST(MainHitTest, CornersBordersAndCaption) {
    const QRect client(100, 50, 1000, 800);  // L 100, T 50, R 1100, B 850
    EXPECT_EQ(MainHitTest({105, 55}, client), HitArea::TopLeft);
    EXPECT_EQ(MainHitTest({120, 70}, client), HitArea::Caption);
    EXPECT_EQ(MainHitTest({600, 300}, client), HitArea::Client);
    EXPECT_EQ(MainHitTest({103, 400}, client), HitArea::Left);
    EXPECT_EQ(MainHitTest({103, 60}, client), HitArea::Left);  // the band wins over the caption
    EXPECT_EQ(MainHitTest({1095, 55}, client), HitArea::TopRight);
    EXPECT_EQ(MainHitTest({1095, 845}, client), HitArea::BottomRight);
    EXPECT_EQ(MainHitTest({105, 845}, client), HitArea::BottomLeft);
    EXPECT_EQ(MainHitTest({600, 53}, client), HitArea::Top);
    EXPECT_EQ(MainHitTest({600, 846}, client), HitArea::Bottom);
    // Comparisons are strict: the very edge pixel is not a border.
    EXPECT_EQ(MainHitTest({100, 400}, client), HitArea::Client);
    EXPECT_EQ(MainHitTest({600, 80}, client), HitArea::Client);
}

TEST(MainWindowOutline, CornersCutAndShiftedByTheFrame) {
    const std::vector<QPoint> pts = MainWindowOutline(QRect(0, 0, 200, 100), 3, 3);
    const std::vector<QPoint> expected = {{7, 3},     {199, 3},   {203, 7},  {203, 98}, {198, 103},
                                          {8, 103},   {3, 98},    {3, 7},    {7, 3}};
    EXPECT_EQ(pts, expected);
}

}  // namespace
}  // namespace velmora
