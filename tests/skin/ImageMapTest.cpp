#include <gtest/gtest.h>

#include "skin/ImageMap.h"

namespace velmora {
namespace {

constexpr Rgb kFill = 0x102030, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF,
              kYellow = 0xFFFF00, kCyan = 0x00FFFF, kPink = 0xFF80C0, kOlive = 0x808000,
              kNavy = 0x000080, kTitleColour = 0x804020;

void Paint(Surface& s, const ImageRect& r, Rgb c) { s.Fill(QRect(r.left, r.top, r.w(), r.h()), c); }

// A nine-slice map with 10 × 10 pieces of distinct colours and a 120 × 10 title strip.
ImageMap NineSliceMap(bool withTitle) {
    Surface bmp(150, 40);
    ImageMap map;
    map.fillColor = BgrFromRgb(kFill);
    const std::pair<int, Rgb> pieces[] = {
        {kLeftTop, kRed},      {kRightTop, kGreen},      {kLeftBottom, kBlue},
        {kRightBottom, kYellow}, {kCenterTop, kCyan},    {kCenterBottom, kPink},
        {kLeftCenter, kOlive}, {kRightCenter, kNavy}};
    int x = 0;
    for (const auto& [slot, colour] : pieces) {
        map.rects[slot] = {x, 0, x + 10, 10};
        Paint(bmp, map.rects[slot], colour);
        x += 10;
    }
    map.rects[kTitle] = withTitle ? ImageRect{0, 30, 120, 40} : ImageRect{};
    Paint(bmp, {0, 30, 120, 40}, kTitleColour);
    map.bitmap.Attach(bmp);
    return map;
}

TEST(ImageMapFrame, NineSliceCornersEdgesAndFilledInside) {
    Surface dc(320, 220);
    const QRect r(10, 5, 300, 200);
    const int L = 10, T = 5, R = 310, B = 205;
    DrawImageMapFrame(dc, NineSliceMap(false), r, FrameMode::NineSlice);
    EXPECT_EQ(dc.Pixel(L, T), kRed);
    EXPECT_EQ(dc.Pixel(L + 9, T + 9), kRed);
    EXPECT_EQ(dc.Pixel(R - 1, T), kGreen);
    EXPECT_EQ(dc.Pixel(R - 10, T + 9), kGreen);
    EXPECT_EQ(dc.Pixel(L, B - 1), kBlue);
    EXPECT_EQ(dc.Pixel(R - 1, B - 1), kYellow);
    // The top edge is stretched over exactly 280 pixels.
    EXPECT_EQ(dc.Pixel(L + 10, T), kCyan);
    EXPECT_EQ(dc.Pixel(R - 11, T + 9), kCyan);
    EXPECT_EQ(dc.Pixel(L + 150, B - 10), kPink);
    EXPECT_EQ(dc.Pixel(L, T + 10), kOlive);
    EXPECT_EQ(dc.Pixel(L + 9, B - 11), kOlive);
    EXPECT_EQ(dc.Pixel(R - 10, T + 100), kNavy);
    EXPECT_EQ(dc.Pixel(L + 10, T + 10), kFill);
    EXPECT_EQ(dc.Pixel(L + 150, T + 100), kFill);
    EXPECT_EQ(dc.Pixel(R - 11, B - 11), kFill);
    // Nothing outside the rectangle.
    EXPECT_EQ(dc.Pixel(L - 1, T), 0u);
    EXPECT_EQ(dc.Pixel(R, B - 1), 0u);
    EXPECT_EQ(dc.Pixel(L, B), 0u);
}

TEST(ImageMapFrame, TitleCoversTheStartOfTheTopEdge) {
    Surface dc(300, 200);
    DrawImageMapFrame(dc, NineSliceMap(true), QRect(0, 0, 300, 200), FrameMode::NineSlice);
    EXPECT_EQ(dc.Pixel(9, 0), kRed);
    EXPECT_EQ(dc.Pixel(10, 0), kTitleColour);
    EXPECT_EQ(dc.Pixel(129, 9), kTitleColour);
    EXPECT_EQ(dc.Pixel(130, 0), kCyan);
}

TEST(ImageMapFrame, MissingBitmapDrawsOnlyTheFill) {
    ImageMap map;
    map.fillColor = BgrFromRgb(kFill);
    Surface dc(50, 50);
    for (FrameMode mode : {FrameMode::NineSlice, FrameMode::HorzBar, FrameMode::VertBar}) {
        dc.Fill(0);
        DrawImageMapFrame(dc, map, QRect(5, 5, 40, 40), mode);
        EXPECT_EQ(dc.Pixel(5, 5), kFill);
        EXPECT_EQ(dc.Pixel(44, 44), kFill);
        EXPECT_EQ(dc.Pixel(45, 45), 0u);
    }
    EXPECT_EQ(FrameModeFromType("HORZ"), FrameMode::HorzBar);
    EXPECT_EQ(FrameModeFromType("VERT"), FrameMode::VertBar);
    EXPECT_EQ(FrameModeFromType("horz"), FrameMode::NineSlice);
}

// Bar pieces: caps of 5, a 10-pixel tile whose columns are all different.
ImageMap BarMap() {
    Surface bmp(40, 40);
    ImageMap map;
    map.fillColor = BgrFromRgb(kFill);
    map.rects[kVertStart] = {0, 0, 5, 8};
    map.rects[kVertEnd] = {5, 0, 10, 8};
    map.rects[kVertFill] = {10, 0, 20, 8};
    map.rects[kHorzStart] = {20, 0, 28, 5};
    map.rects[kHorzEnd] = {20, 5, 28, 10};
    map.rects[kHorzFill] = {20, 10, 28, 20};
    Paint(bmp, map.rects[kVertStart], kRed);
    Paint(bmp, map.rects[kVertEnd], kBlue);
    for (int c = 0; c < 10; ++c) bmp.Fill(QRect(10 + c, 0, 1, 8), 0x010101u * (c + 1));
    Paint(bmp, map.rects[kHorzStart], kRed);
    Paint(bmp, map.rects[kHorzEnd], kBlue);
    for (int c = 0; c < 10; ++c) bmp.Fill(QRect(20, 10 + c, 8, 1), 0x010101u * (c + 1));
    map.bitmap.Attach(bmp);
    return map;
}

TEST(ImageMapFrame, HorizontalBarTilesWholeAndPartialPieces) {
    Surface dc(120, 20);
    DrawImageMapFrame(dc, BarMap(), QRect(3, 2, 107, 10), FrameMode::HorzBar);
    const int L = 3, R = 110;
    EXPECT_EQ(dc.Pixel(L, 2), kRed);
    EXPECT_EQ(dc.Pixel(L + 4, 2), kRed);
    // Nine whole tiles from L + 5, then seven columns of a tenth before the end cap.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(dc.Pixel(L + 5 + 10 * i, 2), 0x010101u) << i;
        EXPECT_EQ(dc.Pixel(L + 14 + 10 * i, 2), 0x0A0A0Au) << i;
    }
    EXPECT_EQ(dc.Pixel(L + 95, 2), 0x010101u);
    EXPECT_EQ(dc.Pixel(L + 101, 2), 0x070707u);
    EXPECT_EQ(dc.Pixel(R - 5, 2), kBlue);
    EXPECT_EQ(dc.Pixel(R - 1, 9), kBlue);
    // Below the 8-pixel pieces the fill shows.
    EXPECT_EQ(dc.Pixel(L + 50, 2 + 8), kFill);
}

TEST(ImageMapFrame, BarsFarLargerThanTheSurfaceKeepTheirTilePhase) {
    // Only the tiles on the surface are drawn; those must sit where the whole run puts them.
    Surface dc(40, 40);
    const int L = -1000002;  // the tiles start at L + 5 = -999997, so x = 3 begins a tile
    DrawImageMapFrame(dc, BarMap(), QRect(L, 0, 2000000, 10), FrameMode::HorzBar);
    EXPECT_EQ(dc.Pixel(0, 0), 0x080808u);
    EXPECT_EQ(dc.Pixel(3, 0), 0x010101u);
    EXPECT_EQ(dc.Pixel(39, 0), 0x070707u);
    Surface dv(40, 40);
    DrawImageMapFrame(dv, BarMap(), QRect(0, L, 10, 2000000), FrameMode::VertBar);
    EXPECT_EQ(dv.Pixel(0, 0), 0x080808u);
    EXPECT_EQ(dv.Pixel(0, 3), 0x010101u);
    EXPECT_EQ(dv.Pixel(7, 39), 0x070707u);
}

TEST(ImageMapFrame, VerticalBarTilesDownwards) {
    Surface dc(20, 60);
    DrawImageMapFrame(dc, BarMap(), QRect(0, 0, 10, 33), FrameMode::VertBar);
    EXPECT_EQ(dc.Pixel(0, 4), kRed);
    EXPECT_EQ(dc.Pixel(0, 5), 0x010101u);
    EXPECT_EQ(dc.Pixel(0, 14), 0x0A0A0Au);
    EXPECT_EQ(dc.Pixel(0, 25), 0x010101u);   // the partial tile: 33 − 10 = 23 = 2 × 10 + 3
    EXPECT_EQ(dc.Pixel(0, 27), 0x030303u);
    EXPECT_EQ(dc.Pixel(7, 28), kBlue);
    EXPECT_EQ(dc.Pixel(8, 10), kFill);
}

// Progress pieces: caps of 5, a 6-pixel knob with distinct first, middle and last columns.
ImageMap ProgressMap() {
    Surface bmp(30, 10);
    ImageMap map;
    map.fillColor = BgrFromRgb(kFill);
    map.rects[kVertStart] = {0, 0, 5, 10};
    map.rects[kVertEnd] = {5, 0, 10, 10};
    map.rects[kVertCenter] = {10, 0, 16, 10};
    Paint(bmp, map.rects[kVertStart], kRed);
    Paint(bmp, map.rects[kVertEnd], kBlue);
    Paint(bmp, map.rects[kVertCenter], kYellow);
    bmp.Fill(QRect(10, 0, 1, 10), kGreen);
    bmp.Fill(QRect(15, 0, 1, 10), kCyan);
    map.bitmap.Attach(bmp);
    return map;
}

TEST(ImageMapFrame, ProgressBarKnobMovesFromStartToEnd) {
    const ImageMap map = ProgressMap();
    Surface dc(120, 10);
    const int L = 10, R = 110;  // W = 100, track = 80
    DrawProgressBar(dc, map, QRect(L, 0, 100, 10), 0);
    EXPECT_EQ(dc.Pixel(L, 0), kRed);
    EXPECT_EQ(dc.Pixel(L + 5, 0), kGreen);
    EXPECT_EQ(dc.Pixel(L + 10, 0), kYellow);  // knob centred on L + 2s
    EXPECT_EQ(dc.Pixel(L + 7, 0), kGreen);
    EXPECT_EQ(dc.Pixel(L + 12, 0), kCyan);
    EXPECT_EQ(dc.Pixel(L + 13, 0), kCyan);
    EXPECT_EQ(dc.Pixel(R - 6, 0), kCyan);
    EXPECT_EQ(dc.Pixel(R - 5, 0), kBlue);

    DrawProgressBar(dc, map, QRect(L, 0, 100, 10), 100);
    EXPECT_EQ(dc.Pixel(L + 86, 0), kGreen);
    EXPECT_EQ(dc.Pixel(R - 10, 0), kYellow);  // centred on R − 2e
    EXPECT_EQ(dc.Pixel(R - 13, 0), kGreen);
    EXPECT_EQ(dc.Pixel(R - 8, 0), kCyan);
    EXPECT_EQ(dc.Pixel(R - 6, 0), kCyan);
    EXPECT_EQ(dc.Pixel(R - 1, 0), kBlue);

    const Surface bar = MakeStretchedBar(map, 40, 12);
    EXPECT_EQ(bar.Pixel(4, 0), kRed);
    EXPECT_EQ(bar.Pixel(5, 0), kGreen);
    EXPECT_EQ(bar.Pixel(20, 0), kYellow);
    EXPECT_EQ(bar.Pixel(34, 0), kCyan);
    EXPECT_EQ(bar.Pixel(35, 0), kBlue);
    EXPECT_EQ(bar.Pixel(20, 11), kFill);
}

TEST(SkinBitmapDrawing, MagentaKeyShowsTheBackground) {
    Surface bmp(4, 2);
    bmp.Fill(kGreen);
    bmp.SetPixel(2, 0, 0xFF00FF);
    bmp.SetPixel(3, 1, 0xFF00FF);
    bmp.SetPixel(1, 0, 0xFF00FE);  // near-magenta is drawn
    SkinBitmap holder(bmp);
    Surface dc(6, 4);
    dc.Fill(kNavy);
    DrawKeyed(dc, holder, QRect(1, 1, 2, 2), 2);
    EXPECT_EQ(dc.Pixel(1, 1), kNavy);
    EXPECT_EQ(dc.Pixel(2, 1), kGreen);
    EXPECT_EQ(dc.Pixel(1, 2), kGreen);
    EXPECT_EQ(dc.Pixel(2, 2), kNavy);
    EXPECT_EQ(dc.Pixel(3, 1), kNavy);  // outside the rectangle
    const qint64 maskKey = holder.MagentaMask().image().cacheKey();
    DrawKeyed(dc, holder, QRect(0, 0, 2, 2), 0);
    EXPECT_EQ(holder.MagentaMask().image().cacheKey(), maskKey);  // built once
    EXPECT_EQ(dc.Pixel(1, 0), 0xFF00FEu);

    Surface plain(6, 4);
    holder.DrawImage(plain, 1, 1);  // whole bitmap at (1, 1)
    EXPECT_EQ(plain.Pixel(3, 1), 0xFF00FFu);
    EXPECT_EQ(plain.Pixel(5, 1), 0u);
    holder.DrawImage(plain, 0, 0, 1, 1, 2, -1);
    EXPECT_EQ(plain.Pixel(0, 0), 0xFF00FFu);
    SkinBitmap empty;
    EXPECT_FALSE(empty.Attach(Surface()));
    empty.DrawImage(plain, 0, 0);
    DrawKeyed(plain, empty, QRect(0, 0, 2, 2), 0);
    EXPECT_EQ(plain.Pixel(0, 0), 0xFF00FFu);
}

}  // namespace
}  // namespace velmora
