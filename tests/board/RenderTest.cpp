#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "../game/BoardTestSupport.h"
#include "CanvasTestSupport.h"
#include "board/BoardInput.h"
#include "board/BoardRender.h"
#include "game/SgfFile.h"
#include "record/BoardLines.h"
#include "skin/ResourceArchive.h"

namespace velmora {
namespace {

// The real artwork comes from the Resource.bk2 the build puts beside the programs.
class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString bin = VELMORA_BIN_DIR;
        if (!QDir(bin).exists("Resource.bk2")) GTEST_SKIP() << "Resource.bk2 not built yet";
        ResourceArchive::Instance().Clear();
        ASSERT_TRUE(ResourceArchive::Instance().AddArchive((bin + "/Resource.bk2").toStdString()));
        file_.SetBoard(&logic_);
        const std::string sample =
            std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf";
        ASSERT_TRUE(file_.Open(sample).ok);
    }
    void TearDown() override { ResourceArchive::Instance().Clear(); }

    // Keeps the picture when VELMORA_RENDER_OUT names a folder, for looking at it.
    static void Keep(const QImage& image, const char* name) {
        if (const char* folder = std::getenv("VELMORA_RENDER_OUT"))
            image.save(QString::fromUtf8(folder) + "/" + name);
    }

    BoardLogic logic_;
    SgfFile file_;
};

TEST_F(RenderTest, RealGameAtSeveralMovesAndSizes) {
    struct Case {
        int move;
        int width;
        int height;
        bool coordinates;
        int numbers;
        const char* name;
    };
    const Case cases[] = {
        {60, 400, 400, false, kNumbersAll, "game-60-400.png"},
        {150, 760, 700, true, kNumbersAll, "game-150-760x700-coords.png"},
        {325, 1280, 720, true, kNumbersNone, "game-end-1280x720.png"},
        {20, 250, 250, false, kNumbersAll, "game-20-250.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logic_.JumpToMove(c.move);
        logic_.ShowCoordinates(c.coordinates);
        logic_.SetNumberDisplay(c.numbers);
        const QImage image = RenderBoardImage(logic_, RenderOptions{c.width, c.height, 0xF6F2E8});
        ASSERT_EQ(image.size(), QSize(c.width, c.height));
        Keep(image, c.name);

        // The last move's stone is drawn where the geometry puts it, with its mark.
        const BoardGeometry g = BoardGeometry::Compute(c.width, c.height, c.coordinates);
        const PointIndex last = logic_.LastMovePoint();
        const int stone = logic_.Cell(last.x, last.y).stone;
        const QPoint centre = g.PointCentre(last.x, last.y);
        // Below the number and left of the mark: the stone's own surface.
        const QRgb left = image.pixel(centre.x() - 3, centre.y() + g.cell * 3 / 10) & 0xFFFFFF;
        if (stone == kBlack) {
            EXPECT_LT(qGray(left), 90);
        } else {
            EXPECT_GT(qGray(left), 170);
        }
        // The mark: a triangle from the centre, or a ring inside the edge of a numbered stone.
        const QPoint mark = c.numbers == kNumbersNone ? centre + QPoint(1, 1)
                                                      : centre - QPoint(g.cell * 7 / 16, 0);
        EXPECT_EQ(
            image.pixel(mark) & 0xFFFFFF,
            stone == kBlack ? board_colors::kHighlightOnBlack : board_colors::kHighlightOnWhite);
    }
}

// Every size of board at the end of its record: the stones where the geometry puts them, the
// star points of the size and nowhere else, the far edge line, and clicks landing on points.
TEST_F(RenderTest, EveryBoardSizeDrawsItsStonesStarPointsAndEdges) {
    namespace fs = std::filesystem;
    int sizes = 0;
    for (const auto& entry : fs::directory_iterator(std::string(VELMORA_TEST_DATA) + "/sizes")) {
        if (entry.path().extension() != ".sgf") continue;
        SCOPED_TRACE(entry.path().string());
        BoardLogic logic;
        SgfFile file;
        file.SetBoard(&logic);
        ASSERT_TRUE(file.Open(entry.path().string()).ok);
        const int n = logic.BoardSize();
        logic.ShowCoordinates(true);
        logic.SetNumberDisplay(kNumbersNone);
        const QImage image = RenderBoardImage(logic, RenderOptions{520, 500, 0xF6F2E8});
        Keep(image, ("size-" + std::to_string(n) + ".png").c_str());
        const BoardGeometry g = BoardGeometry::Compute(520, 500, true, n);
        // Boards under 9 lines keep the stones of a 9×9 board.
        ASSERT_EQ(g.cell, (500 - 24 - 20) / std::max(n, 9));
        std::set<std::pair<int, int>> stars;
        for (const GridPoint& p : StarPoints(n)) stars.insert({p.x - 1, p.y - 1});
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const QPoint c = g.PointCentre(i, j);
                const int stone = logic.Rules().Grid().Get(i + 1, j + 1);
                // Off the lines, left of the last-move mark, below the shine.
                const int gray = qGray(image.pixel(c.x() - g.cell / 5, c.y() + g.cell / 4));
                if (stone == kBlack) {
                    EXPECT_LT(gray, 90) << i << "," << j;
                } else if (stone == kWhite) {
                    EXPECT_GT(gray, 170) << i << "," << j;
                } else {
                    // Empty: a star point's dot covers the pixel beside the crossing.
                    const bool dot = qGray(image.pixel(c.x() + 1, c.y() + 1)) < 60;
                    EXPECT_EQ(dot, stars.contains({i, j})) << i << "," << j;
                }
                EXPECT_EQ(g.HitTest(c.x(), c.y()), (GridPoint{i + 1, j + 1}));
            }
        }
        // The last line is the edge: nothing is drawn or hit beyond it.
        const QPoint corner = g.PointCentre(n - 1, n - 1);
        if (logic.Rules().Grid().Get(n, n) == kEmpty) {
            EXPECT_LT(qGray(image.pixel(corner.x(), corner.y() - g.cell / 4)), 60);
        }
        EXPECT_EQ(g.HitTest(corner.x() + g.cell, corner.y()), GridPoint{});
        ++sizes;
    }
    EXPECT_EQ(sizes, 8);
}

TEST_F(RenderTest, DiagramWithMarksAndAPreviewStone) {
    const auto& stored = logic_.Record().StoredDiagramMap();
    ASSERT_FALSE(stored.empty());
    for (const auto& [key, diagram] : stored) {
        if (diagram.startList.empty() && diagram.moves.empty()) continue;
        logic_.OpenStoredDiagram(key);
        logic_.SetBoardMode(kModeDiagram);
        while (logic_.StepForward()) {
        }
        logic_.JumpToMove(logic_.CurrentMove());
        logic_.SetNumberDisplay(kNumbersDiagram);
        const QImage image = RenderBoardImage(logic_, RenderOptions{600, 600, 0xF6F2E8});
        ASSERT_FALSE(image.isNull());
        Keep(image, ("diagram-base-" + std::to_string(diagram.base) + ".png").c_str());
        logic_.LeaveDiagram();
    }

    // Marks of every kind, on stones and on wood, and the preview stone of a live board.
    test::CanvasBoard b(600, 600);
    ASSERT_TRUE(b.canvas.LoadImages());
    b.canvas.SetBackground(0xF6F2E8);
    test::PlaySparseGame(b.logic, 12);
    b.logic.SetBoardMode(kModeMarks);
    BoardInput input(b.logic, b.canvas);
    const int kinds[] = {kNaviLabelSyllable, kNaviLabelCapital, kNaviLabelSmall,
                         kNaviLabelDigit,    kNaviTriangle,     kNaviSquare,
                         kNaviCircle,        kNaviCross,        kNaviStoneOnly};
    const char* labels[] = {"가", "A", "a", "1"};
    for (int underlay : {-1, 0}) {
        for (int k = 0; k < 9; ++k) {
            b.logic.SetMarkTool(MarkTool{kBlack, underlay, kinds[k], k < 4 ? labels[k] : ""});
            const QPoint p = b.Centre(2 + 2 * k, underlay == -1 ? 10 : 13);
            input.LeftButtonDown(p.x(), p.y());
            input.LeftButtonUp();
        }
    }
    b.logic.SetBoardMode(kModeDiagram);  // keeps the marks of the move and shows the preview
    const QPoint hover = b.Centre(9, 16);
    input.PointerMoved(hover.x(), hover.y());
    ASSERT_EQ(b.logic.HoverPoint(), (PointIndex{9, 16}));
    Keep(b.Back().image(), "marks-and-preview.png");
}

}  // namespace
}  // namespace velmora
