#include <gtest/gtest.h>

#include "CanvasTestSupport.h"
#include "board/BoardCanvas.h"
#include "game/SgfFile.h"

namespace velmora {
namespace {

using test::CanvasBoard;
using test::CountPixels;

// The client width that gives cell c without coordinates.
int WidthForCell(int c) {
    return 19 * c + 24;
}

TEST(CanvasGeometry, FourHundredSquareWithAndWithoutCoordinates) {
    const BoardGeometry plain = BoardGeometry::Compute(400, 400, false);
    EXPECT_EQ(plain.cell, 19);
    EXPECT_EQ(plain.pad, 4);
    EXPECT_EQ(plain.side, 369);
    EXPECT_EQ(plain.x0, 15);
    EXPECT_EQ(plain.y0, 15);

    const BoardGeometry coords = BoardGeometry::Compute(400, 400, true);
    EXPECT_EQ(coords.cell, 18);
    EXPECT_EQ(coords.pad, 4);
    EXPECT_EQ(coords.side, 350);
    EXPECT_EQ(coords.x0, 15);
    EXPECT_EQ(coords.y0, 15);
}

TEST(CanvasGeometry, PadJumpsFromEightToNineAndCentresOnTheShortSide) {
    EXPECT_EQ(BoardGeometry::Compute(WidthForCell(35), 2000, false).pad, 8);
    EXPECT_EQ(BoardGeometry::Compute(WidthForCell(36), 2000, false).pad, 9);
    EXPECT_EQ(BoardGeometry::Compute(WidthForCell(60), WidthForCell(60), false).pad, 9);

    const BoardGeometry wide = BoardGeometry::Compute(1000, 400, false);
    EXPECT_EQ(wide.cell, 19);
    EXPECT_EQ(wide.x0, (1000 - 369) / 2);
    EXPECT_EQ(wide.PointRect(2, 3), QRect(2 * 19 + wide.x0 + 4, 3 * 19 + 15 + 4, 19, 19));
    EXPECT_EQ(wide.PointCentre(0, 0), QPoint(wide.x0 + 4 + 9, 15 + 4 + 9));
}

TEST(CanvasGeometry, HitTestTruncatesTowardZero) {
    const BoardGeometry g = BoardGeometry::Compute(400, 400, false);  // grid starts at 19
    EXPECT_EQ(g.HitTest(19, 19), (GridPoint{1, 1}));
    EXPECT_EQ(g.HitTest(19 + 19 * 19 - 1, 19 + 19 * 19 - 1), (GridPoint{19, 19}));
    // Less than a cell left of or above the grid still hits the first column and row.
    EXPECT_EQ(g.HitTest(19 - 18, 30), (GridPoint{1, 1}));
    EXPECT_EQ(g.HitTest(19 - 19, 30), (GridPoint{}));
    EXPECT_EQ(g.HitTest(19 + 19 * 19, 30), (GridPoint{}));
    // A client too small for a board hits nothing (and divides by no zero cell).
    EXPECT_EQ(BoardGeometry::Compute(30, 30, false).HitTest(5, 5), (GridPoint{}));
}

// Thickness of black pixels across a vertical line at row y, starting left of x.
int BlackRun(const Surface& s, int x, int y) {
    int run = 0;
    for (int k = x - 3; k <= x + 3; ++k) run += s.Pixel(k, y) == 0 ? 1 : 0;
    return run;
}

TEST(CanvasBoardSurface, PensFollowTheCellSize) {
    for (int cell : {17, 18}) {
        CanvasBoard b(WidthForCell(cell), WidthForCell(cell));
        ASSERT_EQ(b.canvas.Geometry().cell, cell);
        const Surface& board = b.canvas.BoardSurface();
        const int pad = b.canvas.Geometry().pad;
        const int between = pad + cell / 2 + cell / 2;  // a row between two intersections
        const int innerX = pad + 4 * cell + cell / 2;
        const Rgb inner = board.Pixel(innerX, between);
        const int edgeX = pad + cell / 2;
        SCOPED_TRACE(cell);
        if (cell == 17) {
            EXPECT_EQ(inner, board_colors::kGreyLine);
            EXPECT_EQ(BlackRun(board, edgeX, between), 1);
        } else {
            EXPECT_EQ(inner, 0u);
            EXPECT_EQ(BlackRun(board, edgeX, between), 2);
        }
        EXPECT_EQ(board.Pixel(innerX + 1, between), test::kWood);
        // Star points: a black disc on the intersection of the fourth lines.
        const int star = pad + 3 * cell + cell / 2;
        EXPECT_EQ(board.Pixel(star + cell / 9, star), 0u);
        EXPECT_EQ(board.Pixel(star + cell / 9 + 2, star + cell / 9 + 2), test::kWood);
    }
}

// At two device pixels a point the pictures are drawn at full resolution: every length and
// pen doubles, while the geometry, hit testing and the squares handed to the window stay in
// points.
TEST(CanvasBoardSurface, TwoDevicePixelsAPointDoubleEveryLength) {
    CanvasBoard b(400, 400);
    const BoardGeometry g = b.canvas.Geometry();
    b.canvas.SetDeviceScale(2);
    b.canvas.Relayout();
    EXPECT_EQ(b.Back().width(), 800);
    EXPECT_EQ(b.canvas.Geometry().cell, g.cell);
    EXPECT_EQ(b.canvas.Geometry().HitTest(b.Centre(3, 4).x(), b.Centre(3, 4).y()),
              (GridPoint{4, 5}));
    const BoardGeometry& p = b.canvas.PixelGeometry();
    ASSERT_EQ(p.cell, 2 * g.cell);
    const Surface& board = b.canvas.BoardSurface();
    const int between = p.pad + p.cell;  // a row between two intersections
    EXPECT_EQ(BlackRun(board, p.pad + p.cell / 2, between), 4);             // the edge
    EXPECT_EQ(BlackRun(board, p.pad + 4 * p.cell + p.cell / 2, between), 2);  // an inner line
    // The frame's light line is two pixels wide, right outside the board.
    EXPECT_EQ(b.Back().Pixel(p.x0 - 1, p.y0 + 50), board_colors::kFrameLight);
    EXPECT_EQ(b.Back().Pixel(p.x0 - 2, p.y0 + 50), board_colors::kFrameLight);
    EXPECT_EQ(b.Back().Pixel(p.x0 - 3, p.y0 + 50), 0x203040u);

    b.canvas.ClearLog();
    b.logic.SetPoint(3, 4, PointCell{kBlack, 0, 0});
    EXPECT_EQ(b.canvas.shown, std::vector<QRect>{b.Square(3, 4)});
    const QRect square = p.PointRect(3, 4);
    EXPECT_EQ(b.Back().Pixel(square.center().x() - 6, square.center().y() - 6), test::kStoneBlack);
    b.canvas.SetDeviceScale(1);
    b.canvas.Relayout();
    EXPECT_EQ(b.Back().width(), 400);
}

TEST(CanvasBoardSurface, RebuiltOnlyWhenTheCellChanges) {
    CanvasBoard b(400, 400);
    const int built = b.canvas.RebuildCount();
    b.canvas.SetClientSize(420, 400);  // still cell 19
    b.canvas.Relayout();
    EXPECT_EQ(b.canvas.RebuildCount(), built);
    b.canvas.SetClientSize(500, 500);
    b.canvas.Relayout();
    EXPECT_EQ(b.canvas.RebuildCount(), built + 1);
}

TEST(CanvasCompose, FrameCoordinatesAndBackground) {
    CanvasBoard b(400, 400);
    const Surface& back = b.Back();
    EXPECT_EQ(back.Pixel(0, 0), 0x203040u);
    EXPECT_EQ(back.Pixel(14, 100), board_colors::kFrameLight);
    EXPECT_EQ(back.Pixel(15 + 369, 100), board_colors::kFrameDark);
    EXPECT_EQ(back.Pixel(15 + 370, 100), board_colors::kFrameShadow);
    EXPECT_EQ(back.Pixel(15 + 371, 100), board_colors::kFrameShadow);
    EXPECT_EQ(back.Pixel(15 + 372, 100), 0x203040u);

    b.logic.ShowCoordinates(true);  // the view re-lays out: cell 18, labels below and right
    const BoardGeometry& g = b.canvas.Geometry();
    ASSERT_EQ(g.cell, 18);
    auto coordinateInk = [](Rgb c) { return c != 0x203040u; };
    const QRect letterA(g.cell / 2 + g.pad + g.x0 - 10, g.side + g.y0 + 3, 20, 20);
    const QRect number1(g.pad + g.side + g.x0 + 3, g.pad + g.cell / 2 + g.y0 - 10, 17, 20);
    EXPECT_GT(CountPixels(b.Back(), letterA.adjusted(0, 1, 0, 0), coordinateInk), 5);
    EXPECT_GT(CountPixels(b.Back(), number1, coordinateInk), 5);
}

// A picture recomposed after the coordinates, the background colour or the client size
// changed is the one a new canvas draws: nothing of the picture before stays around the board.
TEST(CanvasCompose, RecomposedAroundTheBoardAsNew) {
    CanvasBoard b(400, 400);
    b.logic.SetPoint(3, 3, PointCell{kBlack, 0, 1});
    b.logic.ShowCoordinates(true);
    b.logic.ShowCoordinates(false);
    CanvasBoard fresh(400, 400);
    fresh.logic.SetPoint(3, 3, PointCell{kBlack, 0, 1});
    fresh.canvas.Relayout();
    EXPECT_TRUE(b.Back().image() == fresh.Back().image());

    b.canvas.SetBackground(0x405060);
    b.canvas.Relayout();
    fresh.canvas.SetBackground(0x405060);
    fresh.canvas.SetClientSize(300, 500);
    fresh.canvas.Relayout();
    fresh.canvas.SetClientSize(400, 400);
    fresh.canvas.Relayout();
    EXPECT_TRUE(b.Back().image() == fresh.Back().image());
    EXPECT_EQ(b.Back().Pixel(0, 0), 0x405060u);
}

// Pixels of the square of (i, j) close to colour c (anti-aliased text is only near it).
int Near(const CanvasBoard& b, int i, int j, Rgb c, bool leftHalfOnly = false) {
    QRect r = b.Square(i, j);
    if (leftHalfOnly) r.setRight(b.Centre(i, j).x() - 1);
    return CountPixels(b.Back(), r, [c](Rgb p) {
        return std::abs(test::Red(p) - test::Red(c)) < 60 &&
               std::abs(test::Green(p) - test::Green(c)) < 60 &&
               std::abs(test::Blue(p) - test::Blue(c)) < 60;
    });
}

TEST(CanvasPoint, StoneDrawnThroughTheMaskKeepsTheBoardOutsideTheDisc) {
    CanvasBoard b;
    b.logic.SetPoint(5, 5, PointCell{kBlack, 0, 0});
    const QRect r = b.Square(5, 5);
    EXPECT_EQ(b.Back().Pixel(b.Centre(5, 5).x(), b.Centre(5, 5).y()), test::kStoneBlack);
    EXPECT_EQ(b.Back().Pixel(r.left(), r.top()), test::kWood);
    b.logic.SetPoint(5, 5, PointCell{});
    EXPECT_TRUE(test::ShowsBareBoard(b, 5, 5));
}

TEST(CanvasPoint, NumberFontNarrowsFromOneHundred) {
    CanvasBoard b(800, 800);
    EXPECT_EQ(&b.canvas.NumberFont(99), &b.canvas.NumberFont(10));
    EXPECT_NE(&b.canvas.NumberFont(99), &b.canvas.NumberFont(100));
    EXPECT_GT(b.canvas.NumberFont(99).stretch(), b.canvas.NumberFont(100).stretch());

    // On the board: "99" drawn with the wide font is wider than with the narrow one.
    b.logic.SetNumberDisplay(kNumbersAll);
    auto inkWidth = [&](int i) {
        const QRect r = b.Square(i, 0);
        int left = r.right(), right = r.left();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (test::Red(b.Back().Pixel(x, y)) > 128)
                    left = std::min(left, x), right = std::max(right, x);
        return right - left;
    };
    b.logic.SetPoint(0, 0, PointCell{kBlack, 0, 99});
    const int wide99 = inkWidth(0);
    Surface narrow(b.Square(1, 0).width(), b.Square(1, 0).height());
    narrow.Fill(test::kStoneBlack);
    narrow.DrawText("99", narrow.rect(), b.canvas.NumberFont(100), 0xFFFFFF,
                    kAlignHCenter | kAlignVCenter);
    int narrowLeft = narrow.width(), narrowRight = 0;
    for (int y = 0; y < narrow.height(); ++y)
        for (int x = 0; x < narrow.width(); ++x)
            if (test::Red(narrow.Pixel(x, y)) > 128)
                narrowLeft = std::min(narrowLeft, x), narrowRight = std::max(narrowRight, x);
    EXPECT_GT(wide99, narrowRight - narrowLeft);
}

TEST(CanvasPoint, FlagSquaresReplaceTheLastMoveTriangle) {
    CanvasBoard b;
    const QPoint c = b.Centre(4, 4);
    const int g = b.canvas.Geometry().cell / 6;
    b.logic.SetPoint(4, 4, PointCell{kWhite, 3, 0});
    EXPECT_EQ(b.Back().Pixel(c.x(), c.y()), 0u);                     // the small black square
    EXPECT_EQ(b.Back().Pixel(c.x() + g, c.y()), test::kStoneWhite);  // not the triangle
    EXPECT_EQ(Near(b, 4, 4, board_colors::kHighlightOnWhite), 0);

    b.logic.SetPoint(4, 4, PointCell{kBlack, 5, 0});
    EXPECT_EQ(b.Back().Pixel(c.x(), c.y()), 0xFFFFFFu);
    b.logic.SetPoint(4, 4, PointCell{kBlack, 7, 0});
    EXPECT_EQ(b.Back().Pixel(c.x(), c.y()), test::kStoneBlack);

    b.logic.SetPoint(4, 4, PointCell{kBlack, 1, 0});
    EXPECT_EQ(b.Back().Pixel(c.x() + 1, c.y() + 1), board_colors::kHighlightOnBlack);
    b.logic.SetPoint(5, 5, PointCell{kWhite, 1, 0});
    EXPECT_GT(Near(b, 5, 5, board_colors::kHighlightOnWhite), 5);
}

TEST(CanvasPoint, LastMoveSwitchOffDrawsNoTriangle) {
    CanvasBoard b;
    SetLastMoveMarkShown(false);
    b.logic.SetPoint(4, 4, PointCell{kBlack, 1, 0});
    b.logic.SetPoint(6, 6, PointCell{kWhite, 9, 0});
    SetLastMoveMarkShown(true);
    EXPECT_EQ(Near(b, 4, 4, board_colors::kHighlightOnBlack), 0);
    EXPECT_EQ(b.Back().Pixel(b.Centre(6, 6).x() + 2, b.Centre(6, 6).y() + 2), test::kStoneWhite);
}

TEST(CanvasPoint, NumberDisplayChoosesWhichStonesAreNumbered) {
    CanvasBoard b(800, 800);
    SetLastMoveMarkShown(false);  // keeps the triangle out of the colour counts
    b.logic.SetPoint(2, 2, PointCell{kBlack, 1, 12});  // a main-line stone
    b.logic.SetPoint(3, 3, PointCell{kBlack, 9, 3});   // a diagram stone
    b.logic.SetNumberDisplay(kNumbersDiagram);
    const int mainLine =
        Near(b, 2, 2, 0xFFFFFF, true) + Near(b, 2, 2, board_colors::kHighlightOnBlack, true);
    const int diagram = Near(b, 3, 3, board_colors::kHighlightOnBlack, true);
    b.logic.SetNumberDisplay(kNumbersAll);
    const int mainLineAll = Near(b, 2, 2, 0xFFFFFF, true);
    b.logic.SetNumberDisplay(kNumbersNone);
    const int diagramNone = Near(b, 3, 3, board_colors::kHighlightOnBlack, true);
    SetLastMoveMarkShown(true);
    EXPECT_EQ(mainLine, 0);
    EXPECT_GT(diagram, 5);
    EXPECT_GT(mainLineAll, 5);
    EXPECT_EQ(diagramNone, 0);
}

TEST(CanvasPoint, RangeNumberingShiftsTheShownNumbers) {
    CanvasBoard b(800, 800);
    SetLastMoveMarkShown(false);
    b.logic.SetPoint(2, 2, PointCell{kBlack, 0, 120});
    b.logic.SetPoint(3, 3, PointCell{kBlack, 0, 150});
    b.logic.SetRangeNumbering(RangeNumbering{true, 101, 140, 1});
    SetLastMoveMarkShown(true);
    EXPECT_GT(Near(b, 2, 2, 0xFFFFFF, true), 5);  // 120 shows as 20
    EXPECT_EQ(Near(b, 3, 3, 0xFFFFFF, true), 0);  // outside the range
}

TEST(CanvasPreview, FortyPercentStoneOverTheBoard) {
    CanvasBoard b;
    b.canvas.DrawPreviewStone(7, 7, 1);
    const QPoint c = b.Centre(7, 7) + QPoint(3, 3);  // off the lines
    const Rgb expected = ((4 * 0x10 + 6 * 0xD0) / 10) << 16 | ((4 * 0x10 + 6 * 0xA0) / 10) << 8 |
                         (4 * 0x10 + 6 * 0x50) / 10;
    EXPECT_EQ(b.Back().Pixel(c.x(), c.y()), expected);
    EXPECT_EQ(b.canvas.shown.back(), b.Square(7, 7));
    b.canvas.RemovePreviewStone(7, 7);
    EXPECT_TRUE(test::ShowsBareBoard(b, 7, 7));
    b.canvas.DrawPreviewStone(7, 7, 4);   // no such kind
    b.canvas.DrawPreviewStone(19, 7, 1);  // no such point
    EXPECT_TRUE(test::ShowsBareBoard(b, 7, 7));
}

TEST(CanvasMarks, KindsAndUnderlays) {
    CanvasBoard b;
    const QPoint c = b.Centre(9, 9);
    auto violet = [](Rgb p) { return p == board_colors::kMark; };

    b.canvas.DrawMark(NaviStone{9, 9, -1, kNaviLabelCapital, "A"});
    // The wooden patch hides the lines under the label.
    EXPECT_EQ(b.Back().Pixel(c.x() - 8, c.y()), test::kWood);
    EXPECT_GT(CountPixels(b.Back(), b.Square(9, 9),
                          [](Rgb p) { return test::Red(p) < 200 && test::Blue(p) > 150; }),
              3);

    for (int kind : {kNaviTriangle, kNaviSquare, kNaviCircle, kNaviCross}) {
        b.canvas.DrawMark(NaviStone{9, 9, kBlack, kind, ""});
        SCOPED_TRACE(kind);
        EXPECT_GT(CountPixels(b.Back(), b.Square(9, 9), violet), 10);
        EXPECT_EQ(b.Back().Pixel(b.Square(9, 9).left() + 1, b.Square(9, 9).top() + 1),
                  b.canvas.BoardSurface().Pixel(4 + 9 * 19 + 1, 4 + 9 * 19 + 1));
    }
    // The square is 2a pixels wide, a = trunc(cell / 3 · sin 45°), like the circle and flags.
    b.canvas.DrawMark(NaviStone{9, 9, -1, kNaviSquare, ""});
    const int a = static_cast<int>((b.canvas.Geometry().cell / 3) * 0.70710678);
    const QRect top(b.Square(9, 9).left(), c.y() - a, b.Square(9, 9).width(), 1);
    EXPECT_EQ(CountPixels(b.Back(), top, violet), 2 * a);

    b.canvas.DrawMark(NaviStone{9, 9, kWhite, kNaviStoneOnly, ""});
    EXPECT_EQ(b.Back().Pixel(c.x(), c.y()), test::kStoneWhite);
    EXPECT_EQ(CountPixels(b.Back(), b.Square(9, 9), violet), 0);

    // A mark without a stone of its own on a stone of the position keeps that stone.
    b.logic.SetPoint(3, 3, PointCell{kBlack, 0, 0});
    for (int underlay : {-1, 0}) {
        b.canvas.DrawMark(NaviStone{3, 3, underlay, kNaviTriangle, ""});
        EXPECT_EQ(b.Back().Pixel(b.Centre(3, 3).x() - 5, b.Centre(3, 3).y() - 5),
                  test::kStoneBlack);
    }
}

TEST(CanvasRefresh, SinglePointChangesShowOnlyTheirSquares) {
    CanvasBoard b;
    b.logic.SetBoardMode(kModePlay);
    // White stone at (1,1) is captured by black at (1,2) after black (2,1).
    b.logic.PlayMainLineMove(2, 1, false);
    b.logic.PlayMainLineMove(1, 1, false);
    b.canvas.ClearLog();
    b.logic.PlayMainLineMove(1, 2, false);
    EXPECT_EQ(b.canvas.invalidations, 0);
    ASSERT_FALSE(b.canvas.shown.empty());
    for (const QRect& r : b.canvas.shown) {
        const bool known = r == b.Square(0, 0) || r == b.Square(0, 1) || r == b.Square(1, 0);
        EXPECT_TRUE(known) << r.x() << "," << r.y();
    }
    EXPECT_TRUE(test::ShowsBareBoard(b, 0, 0));  // the captured stone is gone
    b.canvas.ClearLog();
    b.logic.ShowCoordinates(true);
    EXPECT_EQ(b.canvas.invalidations, 1);
}

// A step redraws and shows only the squares whose look changed; the picture kept that way is,
// after every step, hover, switch and step back, the one a full compose draws.
TEST(CanvasRefresh, StepsKeepThePictureAFullComposeDraws) {
    CanvasBoard b(430, 430);
    SgfFile file;
    file.SetBoard(&b.logic);
    ASSERT_TRUE(
        file.Open(std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf").ok);
    test::RecordingCanvas full(b.logic);  // not the board's view: composes whole on request
    full.SetClientSize(430, 430);
    int checks = 0;
    const auto expectAsComposed = [&](const char* what) {
        full.Relayout();
        ++checks;
        const bool same = b.Back().image() == full.BackBuffer().image();
        EXPECT_TRUE(same) << what << " at move " << b.logic.CurrentMove();
    };
    const auto stones = [&] {
        int n = 0;
        for (int i = 0; i < 19; ++i)
            for (int j = 0; j < 19; ++j) n += b.logic.Cell(i, j).stone != 0;
        return n;
    };
    bool captured = false;
    bool marked = false;
    b.logic.SetNumberDisplay(kNumbersAll);
    b.logic.JumpToMove(0);
    (void)b.Back();
    const int mode = b.logic.Mode();
    for (int move = 1; move <= 200; ++move) {
        const int before = stones();
        b.canvas.ClearLog();
        b.logic.JumpToMove(move);
        const bool capture = stones() <= before;  // a stone was placed and at least one taken
        captured = captured || capture;
        marked = marked || !b.logic.Marks().empty();
        EXPECT_EQ(b.canvas.invalidations, 0);
        EXPECT_LE(b.canvas.shown.size(), 12u) << "at move " << move;
        if (move % 13 == 0 || capture) expectAsComposed("step");
        if (move == 30) {
            b.logic.SetNumberDisplay(kNumbersDiagram);
            expectAsComposed("numbers off");
        }
        if (move == 50) {
            b.logic.SetBoardMode(kModePlay);
            b.logic.SetHoverPoint(PointIndex{0, 18});
            b.logic.Refresh();
            expectAsComposed("hover");
            SetLastMoveMarkShown(false);
            b.logic.Refresh();
            expectAsComposed("last-move mark off");
            SetLastMoveMarkShown(true);
            b.logic.SetNumberDisplay(kNumbersAll);
            expectAsComposed("numbers on");
            b.logic.SetHoverPoint(PointIndex{});
            b.logic.SetBoardMode(mode);
            expectAsComposed("back to viewing");
        }
    }
    for (int move = 79; move >= 60; move -= 3) {
        b.logic.JumpToMove(move);
        expectAsComposed("back");
    }
    // Reference diagrams: their stones, marks and labels come and go with each step.
    for (const auto& [key, diagram] : b.logic.Record().StoredDiagramMap()) {
        b.logic.OpenStoredDiagram(key);
        b.logic.SetBoardMode(kModeDiagram);
        expectAsComposed("diagram opened");
        for (int step = 0; step < 6 && b.logic.HasNextMove(); ++step) {
            b.logic.JumpToMove(b.logic.CurrentMove() + 1);
            marked = marked || !b.logic.Marks().empty();
            expectAsComposed("diagram step");
        }
        b.logic.LeaveDiagram();
        b.logic.SetBoardMode(mode);
        expectAsComposed("diagram left");
    }
    EXPECT_TRUE(captured);
    EXPECT_TRUE(marked);
    EXPECT_GT(checks, 20);
}

}  // namespace
}  // namespace velmora
