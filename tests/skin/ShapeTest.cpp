#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "skin/HtmlTextShape.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <set>

#include "richtext/HtmlDrawer.h"
#include "skin/SkinDialog.h"
#include "skin/SkinWindow.h"

namespace velmora {
namespace {

using testing::Pos;
using testing::SkinFolder;

class ShapeWindow : public ::testing::Test {
protected:
    void Build(const std::string& shapes, const std::string& controls = "") {
        folder.Write("w.xml", SkinFolder::Window("color=\"#000000\"", Pos(0, 0, 200, 100) + "<Shapes>" + shapes +
                                                                          "</Shapes><Controls>" + controls + "</Controls>"));
        win.SetSkinFile("w.xml");
        ASSERT_TRUE(win.CreateFromSkin());
    }
    QImage Render() {
        Surface dc(win.width(), win.height());
        win.RenderShapes(dc);
        return dc.image();
    }
    SkinFolder folder;
    SkinWindow win;
};

// A strip of four 10-pixel frames in red, green, blue, white.
QImage Strip() {
    const unsigned c[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    return testing::FourFrames(20, 10, c);
}

TEST_F(ShapeWindow, AnimationStepsAndTimedStop) {
    folder.WriteBitmap("s.bmp", Strip());
    Build("<AnimationShape id=\"1\" file=\"s.bmp\" framewidth=\"10\">" + Pos(0, 0, 20, 10) +
          "<Frames time=\"1000\"><Frame index=\"0\" interval=\"100\"/><Frame index=\"2\" interval=\"100\"/></Frames>"
          "</AnimationShape>"
          "<AnimationShape id=\"2\" file=\"s.bmp\" framewidth=\"10\">" + Pos(30, 0, 20, 10) +
          "<Frames><Frame index=\"1\" interval=\"50\"/><Frame index=\"3\" interval=\"50\"/></Frames></AnimationShape>");
    EXPECT_TRUE(win.TimerRunning(ANIMATION_TIMER));
    EXPECT_EQ(Render().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    win.AdvanceAnimations(5000);  // the first event counts 0 ms
    win.AdvanceAnimations(5100);  // exactly one interval: not yet
    EXPECT_EQ(Render().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Render().pixel(35, 5) & 0xFFFFFF, 0xFFFFFFu);  // two 50 ms steps: the second
    win.AdvanceAnimations(5101);
    EXPECT_EQ(Render().pixel(5, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(Render().pixel(35, 5) & 0xFFFFFF, 0x00FF00u);  // the looping one wrapped
    for (std::uint32_t t = 5134; t <= 6001; t += 33) win.AdvanceAnimations(t);
    EXPECT_TRUE(win.TimerRunning(ANIMATION_TIMER));
    win.AdvanceAnimations(6034);  // just over a second: the timed animation is done
    EXPECT_FALSE(win.TimerRunning(ANIMATION_TIMER));
    EXPECT_EQ(Render().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);  // back at its first step
    win.StartAnimations();
    EXPECT_TRUE(win.TimerRunning(ANIMATION_TIMER));
}

TEST_F(ShapeWindow, ListProgressBoxAndVisibility) {
    QImage cells(60, 10, QImage::Format_RGB32);
    cells.fill(0xFF00FF00u);
    for (int y = 0; y < 10; ++y)
        for (int x = 20; x < 40; ++x) cells.setPixel(x, y, 0xFFFF00FFu);  // cell 1 all magenta
    for (int y = 0; y < 10; ++y)
        for (int x = 40; x < 60; ++x) cells.setPixel(x, y, 0xFF0000FFu);
    folder.WriteBitmap("cells.bmp", cells);
    Build("<Box id=\"9\" linecolor=\"#FFFFFF\" fillcolor=\"#808080\">" + Pos(0, 0, 200, 100) + "</Box>"
          "<ListShape id=\"3\" file=\"cells.bmp\" alpha=\"true\">" + Pos(10, 10, 20, 10) + "</ListShape>"
          "<ProgressShape id=\"4\" class=\"none\">" + Pos(10, 50, 100, 10) + "</ProgressShape>");
    EXPECT_EQ(Render().pixel(15, 15) & 0xFFFFFF, 0x808080u);  // no cell until code picks one
    win.SetListCell(3, 2);
    EXPECT_EQ(Render().pixel(15, 15) & 0xFFFFFF, 0x0000FFu);
    win.SetListCell(3, 1);
    EXPECT_EQ(Render().pixel(15, 15) & 0xFFFFFF, 0x808080u);  // magenta lets the box show
    EXPECT_EQ(Render().pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    win.SetShapeVisible(9, false);
    EXPECT_EQ(Render().pixel(100, 80) & 0xFFFFFF, 0u);
    win.SetProgressValue(4, 180);
    EXPECT_EQ(win.FindShapeAs<ProgressShape>(4)->value, 100);
}

// A name longer than its place ends in "…" (dots on the baseline, right of the last letter)
// instead of a letter cut in half at the edge.
TEST_F(ShapeWindow, ALongTextEndsInAnEllipsisInsideItsShape) {
    Build("<Text caption=\"가나다라마바사아자차카타파하\" color=\"#FFFFFF\">" +
          Pos(10, 10, 60, 20) + "</Text>");
    const QImage image = Render();
    int rightmost = -1, rightmostAbove = -1;  // over the whole height, and above the middle
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0) {
                EXPECT_TRUE(QRect(10, 10, 60, 20).contains(x, y)) << x << "," << y;
                rightmost = std::max(rightmost, x);
                if (y < 20) rightmostAbove = std::max(rightmostAbove, x);
            }
    ASSERT_GE(rightmostAbove, 10);
    EXPECT_GT(rightmost, rightmostAbove + 2);
}

TEST_F(ShapeWindow, HtmlLinkTakesItsHoverStyleUnderTheMouse) {
    Build("<HtmlText id=\"5\">" + Pos(10, 20, 180, 60) +
          "<Context>앞 &lt;a href=\"x\"&gt;링크 글자&lt;/a&gt;</Context></HtmlText>",
          "<Edit id=\"9\">" + Pos(10, 80, 100, 20) + "</Edit>");
    EXPECT_TRUE(win.hasMouseTracking());
    const auto link = [&] {
        Render();
        for (const HtmlItem& i : win.FindShapeAs<HtmlTextShape>(5)->Drawer().Items())
            if (i.linkId >= 0) return i;
        return HtmlItem{};
    };
    const HtmlItem before = link();
    ASSERT_GE(before.linkId, 0);
    EXPECT_FALSE(before.underline);

    const QPointF at = before.rect.center();
    QMouseEvent move(QEvent::MouseMove, at, win.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&win, &move);
    const HtmlItem over = link();
    EXPECT_TRUE(over.underline);  // a:hover
    EXPECT_NE(over.color, before.color);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&win, &leave);
    EXPECT_FALSE(link().underline);

    // Going straight from the link onto a control ends the hover too.
    QCoreApplication::sendEvent(&win, &move);
    ASSERT_TRUE(link().underline);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(win.FindControl(9), &enter);
    EXPECT_FALSE(link().underline);
}

TEST_F(ShapeWindow, HtmlTextFlowsAsOneText) {
    Build("<HtmlText id=\"5\">" + Pos(0, 0, 200, 60) + "<Context>첫째\n\t줄&lt;br&gt;다음</Context></HtmlText>");
    auto* s = win.FindShapeAs<HtmlTextShape>(5);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Text(), "첫째줄<br>다음");
    win.SetShapeHtml(5, "<b>굵게</b>");
    EXPECT_EQ(s->Text(), "<b>굵게</b>");

    // A long text wraps inside the shape instead of running past its right edge.
    win.SetShapeHtml(5, "착수를 하시면 이전 착수데이터는 삭제됩니다. 착수하시겠습니까? 다시 한 번 확인하세요.");
    Surface dc(400, 100);
    s->Draw(dc);
    std::set<int> lines;
    for (const HtmlItem& item : s->Drawer().Items()) {
        if (item.kind != HtmlItemKind::Text) continue;
        EXPECT_LE(item.rect.right(), 200) << item.text;
        lines.insert(item.rect.top());
    }
    EXPECT_GE(lines.size(), 2u);
}

// An image list in a rich text runs on the window's animation timer, also when the text
// arrives after the window was built.
TEST_F(ShapeWindow, HtmlImageListRunsOnTheAnimationTimer) {
    QImage strip(20, 10, QImage::Format_RGB32);  // two square frames: red, blue
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y) strip.setPixel(x, y, x < 10 ? 0xFFFF0000u : 0xFF0000FFu);
    folder.WriteBitmap("l.bmp", strip);
    Build("<HtmlText id=\"5\">" + Pos(0, 0, 200, 60) + "<Context>x</Context></HtmlText>");
    EXPECT_FALSE(win.TimerRunning(ANIMATION_TIMER));
    win.SetShapeHtml(5, "<ilst file=\"l.bmp\" speed=\"100\">");
    EXPECT_TRUE(win.TimerRunning(ANIMATION_TIMER));
    QRect r;
    for (const HtmlItem& i : win.FindShapeAs<HtmlTextShape>(5)->Drawer().Items())
        if (i.kind == HtmlItemKind::Image) r = i.rect;
    ASSERT_EQ(r.size(), QSize(10, 10));
    EXPECT_EQ(Render().pixel(r.center()) & 0xFFFFFF, 0xFF0000u);
    win.AdvanceAnimations(1000);  // the first event counts 0 ms
    win.AdvanceAnimations(1099);
    EXPECT_EQ(Render().pixel(r.center()) & 0xFFFFFF, 0xFF0000u);
    win.AdvanceAnimations(1100);
    EXPECT_EQ(Render().pixel(r.center()) & 0xFFFFFF, 0x0000FFu);
}

class CountdownDialog : public SkinDialog {
public:
    using SkinDialog::SkinDialog;
    std::vector<std::string> seen;
    int expired = 0;
    void Tick() {
        CountdownTick();
        seen.push_back(GetShapeText(6) + (expired ? "!" : ""));
    }

protected:
    void OnTimerShapeExpired() override { ++expired; }
};

TEST(ShapeCountdown, CountsTenToOneThenZeroWithTheHook) {
    SkinFolder folder;
    folder.Write("d.xml", SkinFolder::Window("", Pos(0, 0, 200, 100) +
                                                     "<Shapes><TimerShape id=\"5\" second=\"10\" tick=\"10\" link=\"6\">" +
                                                     Pos(0, 0, 100, 10) +
                                                     "</TimerShape><Text id=\"6\" caption=\"\"/></Shapes>"));
    CountdownDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    EXPECT_TRUE(d.TimerRunning(COUNTDOWN_TIMER));
    for (int i = 0; i < 11; ++i) d.Tick();
    EXPECT_EQ(d.seen, (std::vector<std::string>{"10초", "9초", "8초", "7초", "6초", "5초", "4초", "3초",
                                                "2초", "1초", "0초!"}));
    EXPECT_FALSE(d.TimerRunning(COUNTDOWN_TIMER));
    EXPECT_EQ(d.expired, 1);
}

TEST(ShapeCountdown, SecondTimerShapeWarnsOnceAndWins) {
    SkinFolder folder;
    folder.Write("d.xml", SkinFolder::Window("", Pos(0, 0, 200, 100) +
                                                     "<Shapes><TimerShape id=\"5\" second=\"10\" tick=\"10\"/>"
                                                     "<TimerShape id=\"7\" second=\"4\" tick=\"2\"/></Shapes>"));
    CountdownDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    ASSERT_EQ(folder.prompter.asked().size(), 1u);
    EXPECT_EQ(folder.prompter.asked()[0].text, "두개 이상의 타이머는 존재할 수 없습니다.");
    EXPECT_EQ(d.CountdownRemaining(), 2);
    d.Tick();
    EXPECT_EQ(d.FindShapeAs<TimerShape>(7)->remaining, 1);

    // Windows read timer shapes but never count down.
    SkinWindow w;
    w.SetSkinFile("d.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    EXPECT_FALSE(w.TimerRunning(COUNTDOWN_TIMER));
}

TEST(ShapeCountdown, HugeSkinNumbersMultiplyWithoutOverflow) {
    // A million ticks of a million seconds: the product of the two overflowed int.
    SkinFolder folder;
    folder.Write("d.xml", SkinFolder::Window("", Pos(0, 0, 200, 100) +
                                                     "<Shapes><TimerShape id=\"5\" second=\"1000000\" tick=\"1000000\" link=\"6\">" +
                                                     Pos(0, 0, 100, 10) +
                                                     "</TimerShape><Text id=\"6\" caption=\"\"/></Shapes>"));
    CountdownDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    d.Tick();
    EXPECT_EQ(d.seen.at(0), "1000000초");
}

TEST_F(ShapeWindow, HugeFrameAndCellNumbersDrawNothingOutsideTheirStrips) {
    folder.WriteBitmap("s.bmp", Strip());
    Build("<AnimationShape id=\"1\" file=\"s.bmp\" framewidth=\"1000000\">" + Pos(0, 0, 20, 10) +
          "<Frames><Frame index=\"1000000\" interval=\"100\"/></Frames></AnimationShape>"
          "<ListShape id=\"3\" file=\"s.bmp\">" + Pos(0, 20, 1000000, 10) + "</ListShape>");
    win.SetListCell(3, 1000000);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(5, 25) & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace velmora
