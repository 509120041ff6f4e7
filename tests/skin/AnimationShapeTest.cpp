#include <tinyxml2.h>

#include "SkinTestUtil.h"
#include "platform/BmpWriter.h"

namespace velmora::test {
namespace {

using AnimationTest = SkinDirTest;

AnimationShape Steps(std::vector<AnimationShape::Step> steps, int time) {
    AnimationShape a;
    a.steps = std::move(steps);
    a.total = time;
    a.loopForever = time == 0;
    a.Reset();
    return a;
}

TEST(AnimationShapeTick, StepsAdvanceOnlyPastTheirInterval) {
    AnimationShape a = Steps({{0, 100}, {1, 50}, {2, 100}}, 0);
    EXPECT_EQ(a.Tick(100), 0);  // exactly the interval: not yet
    EXPECT_EQ(a.Tick(1), 1);
    EXPECT_EQ(a.Tick(50), 2);
    EXPECT_EQ(a.Tick(99), 2);
    EXPECT_EQ(a.Tick(1), 0);  // wraps
    // A long pause skips whole cycles and lands where step-by-step ticking would.
    AnimationShape b = Steps({{0, 100}, {1, 50}, {2, 100}}, 0);
    AnimationShape c = b;
    int expected = 0;
    for (int i = 0; i < 1000; ++i) expected = c.Tick(33);
    EXPECT_EQ(b.Tick(33000), expected);
    EXPECT_EQ(b.accumulated, c.accumulated);
}

TEST(AnimationShapeTick, TimedAnimationRunsOutAndResets) {
    AnimationShape a = Steps({{0, 100}, {1, 100}}, 1000);
    int ticks = 0, result = 0;
    while ((result = a.Tick(33)) != -1) ++ticks;
    EXPECT_EQ(ticks, 30);  // 31 × 33 = 1023 ms is just over one second
    a.Reset();
    EXPECT_EQ(a.current, 0);
    EXPECT_EQ(a.accumulated, 0);
    EXPECT_EQ(a.remaining, 1000);
    // No steps, or steps of no length, change nothing and never hang.
    AnimationShape none = Steps({}, 0);
    EXPECT_EQ(none.Tick(500), 0);
    AnimationShape zero = Steps({{3, 0}, {4, 0}}, 0);
    EXPECT_EQ(zero.Tick(500), 0);
}

TEST_F(AnimationTest, AniBtnImageSetBuildsCompleteAnimations) {
    QImage strip(20, 30, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 0));
    for (int y = 10; y < 20; ++y)
        for (int x = 0; x < 20; ++x) strip.setPixel(x, y, qRgb(0, 255, 0));
    std::filesystem::create_directories("etc/image");
    ASSERT_TRUE(WriteBmp24(strip, "etc/image/spin.bmp"));
    WriteFile("Skin/AniBtnImageSet.xml", R"(<AniBtnImageSet>
  <AnimationShape name="spin" file="image\spin.bmp" framewidth="10">
    <Position x="2" y="3"/><Size w="20" h="10"/>
    <Frames index="7" time="500"><Frame index="1" interval="40"/><Other/><Frame index="0" interval="60"/></Frames>
  </AnimationShape>
  <AnimationShape name="still"/>
</AniBtnImageSet>)");
    SkinResources& res = SkinResources::Instance();
    ASSERT_TRUE(res.LoadAniBtnImageSet());
    const AniImageSet* spin = res.FindAniImageSet("spin");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->rect, QRect(2, 3, 20, 10));
    EXPECT_EQ(spin->frameWidth, 10);
    EXPECT_EQ(spin->startIndex, 7);
    EXPECT_FALSE(spin->loopForever);
    EXPECT_EQ(spin->remaining, 500);
    ASSERT_EQ(spin->steps.size(), 2u);
    EXPECT_EQ(spin->steps[1].frame, 0);
    EXPECT_EQ(spin->steps[1].interval, 60);

    AnimationShape copy = *spin;
    Surface dc(30, 20);
    copy.Draw(dc);  // step 0 shows strip frame 1 (green)
    EXPECT_EQ(dc.Pixel(2, 3), 0x00FF00u);
    EXPECT_EQ(dc.Pixel(21, 12), 0x00FF00u);
    EXPECT_EQ(dc.Pixel(22, 3), 0u);
    EXPECT_EQ(dc.Pixel(2, 13), 0u);
    EXPECT_EQ(copy.Tick(41), 1);
    copy.Draw(dc);
    EXPECT_EQ(dc.Pixel(2, 3), 0xFF0000u);

    const AniImageSet* still = res.FindAniImageSet("still");
    ASSERT_NE(still, nullptr);
    EXPECT_TRUE(still->steps.empty());
    EXPECT_TRUE(still->loopForever);
    Surface blank(10, 10);
    still->Draw(blank);
    EXPECT_EQ(blank.Pixel(0, 0), 0u);
}

}  // namespace
}  // namespace velmora::test
