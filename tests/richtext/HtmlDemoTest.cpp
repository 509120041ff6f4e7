#include <gtest/gtest.h>

#include <QImage>

#include "richtext/HtmlDrawer.h"

namespace velmora {
namespace {

// Draws the program's own pop-up texts into one picture (written to /tmp for a look) and
// checks that every block put ink inside its rectangle and nowhere else.
TEST(HtmlDemoTest, PopupTextsDrawInsideTheirRectangles) {
    Surface surface(520, 470);
    surface.Fill(0xF4F1EA);
    const Rgb paper = 0xFFFFFF;
    const std::vector<std::pair<std::string, int>> blocks = {
        {"<br>진행중인 수순이 있습니다. <br>저장하시겠습니까? ", 0},
        {"<center><b>정답입니다!</b><br>다음 수를 맞혀 보세요.<br></center>", 0},
        {"<font color=#cc0000><b>오답</b></font>입니다. 힌트: <u>좌상귀</u>를 보세요. "
         "같은 자리에 여러 번 두면 <i>정답</i>이 표시됩니다.",
         230},
        {"<h3>대국 정보</h3><table border=1 cellpadding=3 cellspacing=0 bordercolor=#806040 "
         "bgcolor=#fff8e0 width=100%>"
         "<tr><td bgcolor=#202020><font color=white>흑</font></td><td>이창호 9단</td>"
         "<td rowspan=2 bgeffect=vgradient bgcolor=#ffe080 bgendcolor=#c08020 align=center>"
         "<b>흑 3집반 승</b></td></tr>"
         "<tr><td bgcolor=white>백</td><td>조훈현 9단</td></tr>"
         "<tr><td colspan=3 bgeffect=hgradient bgcolor=#d0e8ff bgendcolor=#ffffff>"
         "자세한 기보는 <a href=\"https://velmora.example/help\">도움말</a>을 보세요.</td></tr>"
         "</table><hr size=2 width=80% color=#806040><small>&copy; 2024 Velmora &bull; 바둑 기보 "
         "편집기</small>",
         0},
    };
    const QRect areas[] = {QRect(10, 10, 240, 80), QRect(270, 10, 240, 80),
                           QRect(10, 100, 240, 120), QRect(10, 230, 500, 230)};
    for (size_t i = 0; i < blocks.size(); ++i) {
        HtmlDrawer drawer;
        drawer.SetMaxWidth(blocks[i].second);
        const QSize need = drawer.Prepare(surface, blocks[i].first);
        EXPECT_GT(need.width(), 0);
        EXPECT_LE(need.height(), areas[i].height()) << i;
        surface.Fill(areas[i], paper);
        drawer.Draw(surface, areas[i]);
        int ink = 0;
        for (int y = areas[i].top(); y <= areas[i].bottom(); ++y)
            for (int x = areas[i].left(); x <= areas[i].right(); ++x)
                ink += surface.Pixel(x, y) != paper;
        EXPECT_GT(ink, 50) << i;
        if (i == 3) {
            ASSERT_EQ(drawer.Links().size(), 1u);
            EXPECT_TRUE(areas[i].contains(drawer.Links()[0].rect));
        }
    }
    // The background between the blocks stays untouched.
    EXPECT_EQ(surface.Pixel(260, 50), 0xF4F1EAu);
    EXPECT_EQ(surface.Pixel(5, 465), 0xF4F1EAu);
    surface.image().save("/tmp/richtext-demo.png");
}

}  // namespace
}  // namespace velmora
