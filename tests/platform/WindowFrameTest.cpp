#include <gtest/gtest.h>

#include "platform/Timers.h"
#include "platform/WindowFrame.h"

namespace velmora {
namespace {

TEST(WindowFrame, DialogHitTestCaptionAndBands) {
    const QRect client(100, 200, 300, 200);  // L 100, T 200, R 400, B 400
    auto hit = [&](int x, int y, bool resizable = true) {
        return DialogHitTest({x, y}, client, resizable, false);
    };
    EXPECT_EQ(hit(250, 215, false), HitArea::Caption);
    EXPECT_EQ(hit(250, 200, false), HitArea::Client);  // the edge row itself is not inside
    EXPECT_EQ(hit(250, 230, false), HitArea::Client);
    EXPECT_EQ(hit(103, 300, false), HitArea::Client);  // no bands unless resizable
    EXPECT_EQ(hit(103, 300), HitArea::Left);
    EXPECT_EQ(hit(396, 300), HitArea::Right);
    EXPECT_EQ(hit(103, 203), HitArea::TopLeft);
    EXPECT_EQ(hit(396, 397), HitArea::BottomRight);
    EXPECT_EQ(hit(250, 203), HitArea::Top);
    EXPECT_EQ(hit(250, 397), HitArea::Bottom);
    EXPECT_EQ(hit(250, 220), HitArea::Caption);
    EXPECT_EQ(DialogHitTest({103, 300}, client, true, true), HitArea::Client);  // maximised
    EXPECT_EQ(EdgesOf(HitArea::BottomLeft), Qt::BottomEdge | Qt::LeftEdge);
    EXPECT_FALSE(EdgesOf(HitArea::Caption));
}

TEST(WindowFrame, EdgeRegionCutsCorners) {
    const QRegion r = PolygonRegion(EdgeOutline(100, 50));
    EXPECT_FALSE(r.contains(QPoint(0, 0)));
    EXPECT_FALSE(r.contains(QPoint(1, 48)));
    EXPECT_TRUE(r.contains(QPoint(50, 1)));
    EXPECT_TRUE(r.contains(QPoint(1, 25)));
}

TEST(WindowFrame, RegionWithoutKeyColour) {
    Surface s(10, 10);
    s.Fill(0xFF00FF);
    s.Fill(QRect(2, 2, 3, 3), 0x123456);
    const QRegion r = RegionExcludingColor(s, 0xFF00FF);
    EXPECT_TRUE(r.contains(QPoint(3, 3)));
    EXPECT_FALSE(r.contains(QPoint(7, 7)));
    EXPECT_EQ(r.boundingRect(), QRect(2, 2, 3, 3));
}

TEST(WindowFrame, TimersByProgramId) {
    QObject owner;
    std::vector<int> fired;
    TimerSet timers(&owner, [&](int id) { fired.push_back(id); });
    timers.Start(1002, 33);
    EXPECT_TRUE(timers.IsRunning(1002));
    EXPECT_EQ(timers.Interval(1002), 33);
    timers.Start(1002, 50);  // restarts with the new period
    EXPECT_EQ(timers.Interval(1002), 50);
    timers.Stop(1002);
    timers.Stop(7);  // never started
    EXPECT_FALSE(timers.IsRunning(1002));
    EXPECT_EQ(timers.Interval(1002), 0);
    EXPECT_TRUE(fired.empty());
}

}  // namespace
}  // namespace velmora
