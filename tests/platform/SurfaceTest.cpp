#include "platform/Surface.h"

#include <gtest/gtest.h>

#include "platform/Prompter.h"

using namespace velmora;

TEST(Surface, FillClipsAndPixels) {
    Surface s(10, 10);
    s.Fill(QRect(-5, -5, 8, 8), 0x112233);
    EXPECT_EQ(s.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(s.Pixel(2, 2), 0x112233u);
    EXPECT_EQ(s.Pixel(3, 3), 0u);
    EXPECT_EQ(s.Pixel(-1, 0), 0u);  // outside reads as black, never crashes
    s.SetPixel(100, 100, 0xFFFFFF);
}

TEST(Surface, BlockCopyRasterOps) {
    Surface src(4, 4), dst(4, 4);
    src.Fill(0x0F0F0F);
    dst.Fill(0xFF00FF);
    dst.BitBlt(0, 0, 2, 2, src, 0, 0, RasterOp::Xor);
    EXPECT_EQ(dst.Pixel(0, 0), 0xF00FF0u);
    EXPECT_EQ(dst.Pixel(3, 3), 0xFF00FFu);
    dst.BitBlt(2, 2, 10, 10, src, 0, 0, RasterOp::And);  // clipped to the surface
    EXPECT_EQ(dst.Pixel(3, 3), 0x0F000Fu);
    dst.BitBlt(-1, -1, 4, 4, src, 0, 0, RasterOp::Copy);
    EXPECT_EQ(dst.Pixel(0, 0), 0x0F0F0Fu);
}

TEST(Surface, LineLeavesEndPixel) {
    Surface s(10, 3);
    s.Line(QPoint(0, 1), QPoint(5, 1), 0xFFFFFF);
    EXPECT_EQ(s.Pixel(0, 1), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(4, 1), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(5, 1), 0u);
}

TEST(Surface, HalftoneStretchAverages) {
    Surface src(2, 1);
    src.SetPixel(0, 0, 0x000000);
    src.SetPixel(1, 0, 0xFEFEFE);
    Surface dst(1, 1);
    dst.StretchBlt(QRect(0, 0, 1, 1), src, QRect(0, 0, 2, 1), StretchMode::Halftone);
    const Rgb p = dst.Pixel(0, 0);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x7F, 2);
}

TEST(Prompter, ScriptedAnswersAndDefaults) {
    ScriptedPrompter script;
    EXPECT_EQ(&Prompter::Current(), &script);
    script.Answer(kAnswerCancel);
    EXPECT_EQ(Prompter::Current().Popup("저장하시겠습니까?", kButtonsOkCancel), kAnswerCancel);
    EXPECT_EQ(Prompter::Current().Popup("again", kButtonsYesNo), kAnswerYes);
    EXPECT_EQ(Prompter::Current().OpenFileName("열기", "", ""), "");
    ASSERT_EQ(script.asked().size(), 3u);
    EXPECT_EQ(script.asked()[0].text, "저장하시겠습니까?");
}
