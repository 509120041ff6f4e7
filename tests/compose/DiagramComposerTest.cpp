#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "compose/DiagramComposer.h"
#include "game/BoardLogic.h"
#include "game/SgfFile.h"
#include "record/BoardLines.h"
#include "platform/Prompter.h"
#include "record/SgfHandicap.h"

namespace velmora {
namespace {

// Move j on a point of its own, row by row from the top left, black first.
GridPoint DistinctPoint(int j) {
    return {(j - 1) % 19 + 1, (j - 1) / 19 + 1};
}
int ColourOf(int j) {
    return j % 2 == 1 ? kBlack : kWhite;
}

// A record of n moves on distinct points, except that each (later, earlier) pair in repeats
// plays the later move on the earlier one's point (as after a capture).
DiagramSource Record(int n, const std::vector<std::pair<int, int>>& repeats = {}) {
    DiagramSource source;
    for (int j = 1; j <= n; ++j) {
        GridPoint p = DistinctPoint(j);
        for (const auto& [later, earlier] : repeats)
            if (later == j) p = DistinctPoint(earlier);
        MoveRecord m;
        m.x = p.x;
        m.y = p.y;
        m.colour = ColourOf(j);
        m.number = j;
        source.moves[j] = m;
    }
    return source;
}

DiagramRequest Request(int kind, int first = 0, int last = 0, int width = 1050) {
    DiagramRequest r;
    r.kind = kind;
    r.first = first;
    r.last = last;
    r.width = width;
    return r;
}

const PlannedStone* StoneOfMove(const DiagramPlan& plan, int move) {
    for (const PlannedStone& s : plan.stones)
        if (s.move == move) return &s;
    return nullptr;
}

std::vector<std::string> ListTexts(const DiagramPlan& plan) {
    std::vector<std::string> texts;
    for (const PlannedListItem& item : plan.list) texts.push_back(item.text);
    return texts;
}

TEST(DiagramPlan, ReplayedPointKeepsTheFirstStoneAndListsTheMovesThere) {
    // Move 45 is played where move 12 stood.
    const DiagramPlan plan = PlanDiagram(Record(60, {{45, 12}}), Request(kComposeWhole));
    EXPECT_EQ(plan.width, 1050);
    EXPECT_EQ(plan.cell, 50);
    EXPECT_EQ(plan.Height(), 1200);
    EXPECT_EQ(plan.caption, "0수 ~ 60수");
    EXPECT_EQ(plan.stones.size(), 59u);
    EXPECT_EQ(StoneOfMove(plan, 45), nullptr);
    ASSERT_NE(StoneOfMove(plan, 12), nullptr);
    EXPECT_EQ(StoneOfMove(plan, 12)->text, "12");
    EXPECT_EQ(ListTexts(plan), (std::vector<std::string>{"L1: ", "12", "▶", "45"}));
    EXPECT_EQ(plan.list[1].colour, kWhite);
    EXPECT_EQ(plan.list[3].colour, kBlack);
    EXPECT_EQ(plan.list[0].box, QRect(50, 1050, 75, 37));
    EXPECT_EQ(plan.listScale, 1.0);

    // A captured handicap stone is the first stone of its point in the same way: it keeps the
    // point, lettered, and the move played there later is listed after it.
    DiagramSource handicap = Record(6);
    const GridPoint corner = HandicapTable(2, 19)[0];
    handicap.moves[5].x = corner.x;
    handicap.moves[5].y = corner.y;
    handicap.komiHandicap = "0.5/2점접바둑";
    const DiagramPlan lettered = PlanDiagram(handicap, Request(kComposeWhole));
    EXPECT_EQ(lettered.setup, (std::vector<DiagramStone>{{4, 16, kBlack}}));
    EXPECT_EQ(StoneOfMove(lettered, 5), nullptr);
    const PlannedStone* head = StoneOfMove(lettered, 0);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->x, corner.x);
    EXPECT_EQ(head->y, corner.y);
    EXPECT_EQ(head->colour, kBlack);
    EXPECT_EQ(head->text, "A");
    EXPECT_EQ(ListTexts(lettered), (std::vector<std::string>{"P4: ", "A", "▶", "5"}));
    EXPECT_EQ(lettered.list[1].colour, kBlack);
}

// A legal game of points given in order, black first; (0, 0) is a pass.
DiagramSource Game(const std::vector<GridPoint>& points) {
    DiagramSource source;
    for (int j = 1; j <= static_cast<int>(points.size()); ++j) {
        MoveRecord m;
        m.x = points[j - 1].x;
        m.y = points[j - 1].y;
        m.colour = ColourOf(j);
        m.number = j;
        source.moves[j] = m;
    }
    return source;
}

TEST(DiagramPlan, RangesStartFromThePositionStandingAtTheirFirstMove) {
    // Black 3 takes white 2 in the corner and black fills the point with 15; white 4 in the
    // centre is taken by 11 and black fills its point with 13; white passes with 10.
    const DiagramSource source = Game({{2, 1}, {1, 1}, {1, 2}, {10, 10}, {9, 10}, {16, 4},
                                       {11, 10}, {16, 16}, {10, 9}, {0, 0}, {10, 11}, {4, 16},
                                       {10, 10}, {4, 4}, {1, 1}, {17, 17}});
    // What the board shows at (x, y): "B" or "W" and the stone's text, "" for none.
    const auto at = [](const DiagramPlan& plan, int x, int y) {
        std::string shown;  // later stones cover earlier ones
        for (const PlannedStone& s : plan.stones)
            if (s.x == x && s.y == y) shown = (s.colour == kBlack ? "B" : "W") + s.text;
        return shown;
    };

    // The whole record draws the first stone of each point and lists the rest, passes too.
    const DiagramPlan whole = PlanDiagram(source, Request(kComposeWhole));
    EXPECT_EQ(whole.caption, "0수 ~ 16수");
    EXPECT_EQ(at(whole, 1, 1), "W2");
    EXPECT_EQ(ListTexts(whole), (std::vector<std::string>{"A1: ", "2", "▶", "15", "J10: ", "4",
                                                          "▶", "13", "패스: ", "10"}));

    // A split after move 4, and the range from move 5 beyond the end, begin where white 2
    // is gone and white 4 stands: 15 is numbered on its empty point, 4 is lettered and 13
    // listed after it; moves 1 to 4 are not listed.
    for (const DiagramRequest& request :
         {Request(kComposeSplit, 4, 50), Request(kComposeRange, 5, 50)}) {
        SCOPED_TRACE(request.kind);
        const DiagramPlan plan = PlanDiagram(source, request);
        EXPECT_EQ(plan.caption, "5수 ~ 16수");
        EXPECT_EQ(plan.stones.size(), 13u);  // 1, 3, 4 standing; 5..16 but the pass and 13
        EXPECT_EQ(at(plan, 1, 1), "B15");
        EXPECT_EQ(at(plan, 2, 1), "B");
        EXPECT_EQ(at(plan, 10, 10), "WA");
        EXPECT_EQ(at(plan, 10, 11), "B11");
        EXPECT_EQ(ListTexts(plan),
                  (std::vector<std::string>{"J10: ", "A", "▶", "13", "패스: ", "10"}));
        EXPECT_EQ(plan.list[1].colour, kWhite);
        EXPECT_EQ(plan.list[5].colour, kWhite);  // the pass is white's
    }

    // The first diagram of a split numbers its moves from 1; a split from the last move on
    // is the empty board.
    EXPECT_EQ(PlanDiagram(source, Request(kComposeSplit, 0, 8)).caption, "1수 ~ 8수");
    EXPECT_EQ(PlanDiagram(source, Request(kComposeSplit, 15, 30)).caption, "16수 ~ 16수");

    // A set-up stone taken before the range is gone from it as well.
    DiagramSource setup = Game({{2, 1}, {16, 16}, {1, 2}, {10, 10}, {1, 1}});
    setup.setupStones = {{1, 1, kWhite}, {4, 4, kBlack}};
    const DiagramPlan later = PlanDiagram(setup, Request(kComposeRange, 4, 5));
    EXPECT_EQ(later.setup, (std::vector<DiagramStone>{{4, 4, kBlack}}));
    EXPECT_EQ(at(later, 1, 1), "B5");
    EXPECT_TRUE(later.list.empty());
}

// Every move of the sample game, split 50 to a diagram, is numbered on the board or listed
// once, in its own diagram; a listed group starts with a number or letter on that board.
TEST(DiagramPlan, SplittingTheSampleShowsEveryMoveOnceInItsOwnDiagram) {
    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    const std::string sample =
        std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf";
    ASSERT_TRUE(file.Open(sample).ok);
    const DiagramSource source = DiagramSourceFromBoard(board, "");
    const int total = static_cast<int>(source.moves.size());
    ASSERT_EQ(total, 325);
    std::vector<int> seen(total + 1, 0);
    for (int b = 0; b < total; b += 50) {
        SCOPED_TRACE(b);
        const DiagramPlan plan = PlanDiagram(source, Request(kComposeSplit, b, b + 50));
        const int last = std::min(b + 50, total);
        EXPECT_EQ(plan.caption, std::to_string(b + 1) + "수 ~ " + std::to_string(last) + "수");
        std::set<std::string> onBoard;
        for (const PlannedStone& s : plan.stones) {
            if (s.text.empty()) continue;
            onBoard.insert(s.text);
            if (std::isdigit(static_cast<unsigned char>(s.text[0]))) ++seen[std::stoi(s.text)];
        }
        bool head = false;
        for (const PlannedListItem& item : plan.list) {
            if (item.colour == 0) {
                head = true;
                continue;
            }
            if (item.colour < 0) continue;
            if (head) {
                EXPECT_TRUE(onBoard.contains(item.text)) << item.text;
            } else {
                const int j = std::stoi(item.text);
                EXPECT_TRUE(j > b && j <= last) << j;
                ++seen[j];
            }
            head = false;
        }
    }
    for (int j = 1; j <= total; ++j) EXPECT_EQ(seen[j], 1) << j;
    // Numbered afresh, each diagram shows the same stones and list, its own moves from 1 (a
    // letter or an earlier move's number stays as it was), and keeps its caption.
    for (int b = 50; b < total; b += 50) {
        SCOPED_TRACE(b);
        DiagramRequest request = Request(kComposeSplit, b, b + 50);
        const DiagramPlan plain = PlanDiagram(source, request);
        request.restartNumbers = true;
        const DiagramPlan restarted = PlanDiagram(source, request);
        EXPECT_EQ(restarted.caption, plain.caption);
        const auto renumbered = [b](const std::string& text) {
            if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return text;
            const int j = std::stoi(text);
            return j > b ? std::to_string(j - b) : text;
        };
        std::set<int> own;
        ASSERT_EQ(restarted.stones.size(), plain.stones.size());
        for (std::size_t i = 0; i < plain.stones.size(); ++i) {
            const PlannedStone& p = plain.stones[i];
            const PlannedStone& r = restarted.stones[i];
            EXPECT_EQ(std::tie(r.x, r.y, r.colour), std::tie(p.x, p.y, p.colour));
            EXPECT_EQ(r.text, renumbered(p.text));
            if (!p.text.empty() && std::isdigit(static_cast<unsigned char>(p.text[0])) &&
                std::stoi(p.text) > b)
                own.insert(std::stoi(r.text));
        }
        ASSERT_FALSE(own.empty());
        EXPECT_EQ(*own.begin(), 1);
        EXPECT_LE(*own.rbegin(), 50);
        ASSERT_EQ(restarted.list.size(), plain.list.size());
        for (std::size_t i = 0; i < plain.list.size(); ++i)
            EXPECT_EQ(restarted.list[i].text, renumbered(plain.list[i].text)) << i;
    }
    // A range names its first move and ends at the record's last.
    for (int to : {325, 400})
        EXPECT_EQ(PlanDiagram(source, Request(kComposeRange, 280, to)).caption, "280수 ~ 325수");
}

TEST(DiagramPlan, SplitFromTheEndOrBeyondIsTheEmptyBoard) {
    DiagramSource source = Record(120, {{60, 20}});
    source.komiHandicap = "0.5/2점접바둑";
    for (int first : {120, 150}) {
        const DiagramPlan plan = PlanDiagram(source, Request(kComposeSplit, first, first + 50));
        EXPECT_TRUE(plan.stones.empty());
        EXPECT_TRUE(plan.list.empty());
        EXPECT_EQ(plan.caption, "");
        EXPECT_EQ(plan.setup.size(), 2u);  // the board still carries its handicap
        EXPECT_EQ(plan.width, 1050);
    }
    const DiagramPlan last = PlanDiagram(source, Request(kComposeSplit, 119, 169));
    EXPECT_EQ(last.caption, "120수 ~ 120수");
    EXPECT_EQ(StoneOfMove(last, 120)->text, "120");
}

TEST(DiagramPlan, HandicapStonesComeFromTheCharacterAfterTheSlash) {
    const auto stones = [](const std::string& text) {
        DiagramSource source = Record(3);
        source.komiHandicap = text;
        return PlanDiagram(source, Request(kComposeWhole)).setup;
    };
    const std::vector<DiagramStone> three = stones("6.5/3점접바둑");
    ASSERT_EQ(three.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(three[i].x, HandicapTable(3, 19)[i].x);
        EXPECT_EQ(three[i].y, HandicapTable(3, 19)[i].y);
        EXPECT_EQ(three[i].colour, kBlack);
    }
    EXPECT_EQ(stones("6.5/9").size(), 9u);
    for (const char* none : {"6.5/1", "6.5/정선", "6.5/호선", "6.5", "6.5/", ""})
        EXPECT_TRUE(stones(none).empty()) << none;

    // Stones set up before move 1 stand in for the text's.
    DiagramSource source = Record(3);
    source.komiHandicap = "6.5/3";
    source.setupStones = {{3, 3, kWhite}, {17, 17, kBlack}};
    EXPECT_EQ(PlanDiagram(source, Request(kComposeWhole)).setup, source.setupStones);
}

TEST(DiagramPlan, RangeRefusesLastBeforeFirst) {
    const DiagramSource source = Record(120);
    EXPECT_TRUE(PlanDiagram(source, Request(kComposeRange, 60, 40)).refused);
    DiagramRequest negative = Request(kComposeRange, 40, 60);
    negative.third = -1;
    EXPECT_TRUE(PlanDiagram(source, negative).refused);

    ScriptedPrompter prompter;
    EXPECT_TRUE(ComposeDiagramImage(source, Request(kComposeRange, 60, 40)).isNull());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, "입력된 값이 잘못되었습니다.");
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsOk);

}

TEST(DiagramPlan, ListWrapsBeforeTheRightMargin) {
    // Twenty points played twice: more groups than one line holds. A point's name and its
    // moves stay on one line: each line starts with a name.
    std::vector<std::pair<int, int>> repeats;
    for (int k = 0; k < 20; ++k) repeats.push_back({101 + k, 1 + k});
    const DiagramPlan plan = PlanDiagram(Record(120, repeats), Request(kComposeWhole, 0, 0, 630));
    const int g = plan.cell;
    ASSERT_EQ(plan.list.size(), 80u);
    int lines = 1;
    for (std::size_t i = 0; i < plan.list.size(); ++i) {
        const QRect& box = plan.list[i].box;
        EXPECT_GE(box.left(), g);
        EXPECT_LE(box.right(), plan.width - g / 2);
        EXPECT_EQ(box.height(), 3 * g / 4);
        if (i > 0 && box.top() != plan.list[i - 1].box.top()) {
            EXPECT_EQ(box.top(), plan.list[i - 1].box.top() + 3 * g / 4);
            EXPECT_EQ(box.left(), g);
            EXPECT_EQ(plan.list[i].colour, 0) << plan.list[i].text;
            ++lines;
        }
    }
    EXPECT_GE(lines, 4);
    EXPECT_EQ(plan.list.front().box.top(), 21 * g);
}

TEST(DiagramPlan, CurrentPositionDrawsTheShownDiagramPlainAndItsMarks) {
    BoardLogic board;
    const GridPoint main[] = {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {10, 10}};
    for (int j = 1; j <= 5; ++j) {
        board.SetColourToPlay(ColourOf(j));
        ASSERT_EQ(board.ReplayMoveQuiet(main[j - 1].x, main[j - 1].y), 1);
    }
    board.JumpToMove(3);
    board.EnterDiagramInput();
    board.SetColourToPlay(kWhite);
    ASSERT_EQ(board.PlayDiagramMove(3, 3, false), 1);
    board.AddNaviStone({0, 0, -1, kNaviTriangle, ""});  // on an empty point
    board.AddNaviStone({3, 3, -1, kNaviCross, ""});     // on move 1, black
    board.AddNaviStone({6, 6, kWhite, kNaviLabelCapital, "A"});
    board.ReloadMarksAfterInput();

    const DiagramSource source = DiagramSourceFromBoard(board, "6.5/호선");
    const DiagramPlan plan = PlanDiagram(source, Request(kComposeCurrent));
    EXPECT_EQ(plan.caption, "0수 ~ 3수");
    ASSERT_EQ(plan.stones.size(), 4u);
    EXPECT_EQ(plan.stones[2].text, "3");
    EXPECT_EQ(plan.stones[3].x, 3);
    EXPECT_EQ(plan.stones[3].colour, kWhite);
    EXPECT_EQ(plan.stones[3].text, "");
    ASSERT_EQ(plan.marks.size(), 3u);
    EXPECT_EQ(plan.marks[0].stone, 0);
    EXPECT_EQ(plan.marks[0].text, "△");
    EXPECT_EQ(plan.marks[1].stone, kBlack);
    EXPECT_EQ(plan.marks[1].text, "X");
    EXPECT_EQ(plan.marks[2].stone, kWhite);
    EXPECT_EQ(plan.marks[2].text, "A");
}

TEST(DiagramPlan, TheBoardsStartPositionStandsInForTheHandicapText) {
    BoardLogic board;
    board.PlaceSetupStone({10, 10, kBlack});
    board.PlaceSetupStone({3, 3, kWhite});
    const DiagramPlan plan =
        PlanDiagram(DiagramSourceFromBoard(board, "0.5/3점접바둑"), Request(kComposeWhole));
    EXPECT_EQ(plan.setup, (std::vector<DiagramStone>{{10, 10, kBlack}, {3, 3, kWhite}}));
}

// The pixels of a painted diagram: stones, numbers, border pens.
class DiagramPicture : public ::testing::Test {
  protected:
    static int Gray(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }
    // Dark pixels in the column x from y0 to y1.
    static int DarkRun(const QImage& image, int x, int y0, int y1) {
        int dark = 0;
        for (int y = y0; y <= y1; ++y) dark += Gray(image, x, y) < 100;
        return dark;
    }
    // Dark pixels within r of centre, both ways.
    static int DarkAround(const QImage& image, QPoint centre, int r) {
        int dark = 0;
        for (int x = centre.x() - r; x <= centre.x() + r; ++x)
            dark += DarkRun(image, x, centre.y() - r, centre.y() + r);
        return dark;
    }
};

TEST_F(DiagramPicture, StonesNumbersAndPens) {
    DiagramSource source = Record(60, {{45, 12}});
    source.komiHandicap = "6.5/2";
    const QImage image = ComposeDiagramImage(source, Request(kComposeWhole, 0, 0, 420));
    ASSERT_EQ(image.size(), QSize(420, 480));
    const int g = 20;
    const auto centre = [g](int x, int y) { return QPoint(x * g, g + y * g); };
    // Move 1 black at (1,1), move 12 white at (12,1) (not covered by move 45), empty (10,10).
    const QPoint black = centre(1, 1) + QPoint(6, 6);
    EXPECT_LT(Gray(image, black.x(), black.y()), 60);
    const QPoint white = centre(12, 1) + QPoint(0, 8);
    EXPECT_GT(Gray(image, white.x(), white.y()), 200);
    EXPECT_GT(DarkAround(image, centre(12, 1), 6), 10);  // its number
    const QPoint empty = centre(10, 12) + QPoint(6, 6);
    EXPECT_GT(Gray(image, empty.x(), empty.y()), 200);
    // A handicap stone at its table point.
    const GridPoint h = HandicapTable(2, 19)[0];
    const QPoint hp = centre(h.x, h.y) + QPoint(0, 6);
    EXPECT_LT(Gray(image, hp.x(), hp.y()), 60);

    DiagramRequest print = Request(kComposeWhole, 0, 0, 420);
    print.pens = DiagramPens::Print;
    const QImage printed = ComposeDiagramImage(source, print);
    // The border crosses the column x = 10G at y = 20G.
    EXPECT_EQ(DarkRun(image, 10 * g + 3, 20 * g - 6, 20 * g + 6), 3);
    EXPECT_EQ(DarkRun(printed, 10 * g + 3, 20 * g - 6, 20 * g + 6), 8);

    // Drawn into a rectangle twice as large on another target, the same picture at scale.
    QImage twice(840, 960, QImage::Format_RGB32);
    QPainter painter(&twice);
    EXPECT_EQ(
        ComposeDiagram(painter, QRectF(0, 0, 840, 960), source, Request(kComposeWhole, 0, 0, 420)),
        420);
    painter.end();
    EXPECT_LT(Gray(twice, 2 * black.x(), 2 * black.y()), 60);
    EXPECT_GT(Gray(twice, 2 * empty.x(), 2 * empty.y()), 200);
}

TEST_F(DiagramPicture, ALongKoFightIsListedWholeInsideThePicture) {
    // Moves 61..361 take and retake a ko at the points of moves 1 and 2: 301 list entries,
    // far more than four lines hold.
    std::vector<std::pair<int, int>> repeats;
    for (int j = 61; j <= 361; ++j) repeats.push_back({j, j % 2 == 1 ? 2 : 1});
    const DiagramSource source = Record(361, repeats);
    for (int width : {420, 1050}) {
        const DiagramPlan plan = PlanDiagram(source, Request(kComposeWhole, 0, 0, width));
        EXPECT_LT(plan.listScale, 1.0);
        std::vector<std::string> texts = ListTexts(plan);
        for (int j = 61; j <= 361; ++j)
            EXPECT_NE(std::find(texts.begin(), texts.end(), std::to_string(j)), texts.end()) << j;
        const QRectF picture(0, 21 * plan.cell, plan.width, plan.Height() - 21 * plan.cell);
        for (const PlannedListItem& item : plan.list)
            EXPECT_TRUE(picture.contains(plan.ListBox(item))) << item.text << " at " << width;

        // The last entry, a black stone, is drawn where the plan puts it.
        const QImage image = ComposeDiagramImage(source, Request(kComposeWhole, 0, 0, width));
        const QRectF last = plan.ListBox(plan.list.back());
        ASSERT_EQ(plan.list.back().colour, kBlack);
        EXPECT_LT(Gray(image, qRound(last.center().x()), qRound(last.bottom() - last.height() / 5)),
                  60);
    }
}

// Every size of board drawn as a whole-record diagram: the unit is W / (N + 2), each point
// shows the first stone played there (set-up stones first) or, empty, its star point or bare
// crossing; the caption keeps the size it has on 19×19.
TEST(DiagramComposer, EveryBoardSizeDrawsOnItsOwnUnit) {
    namespace fs = std::filesystem;
    int sizes = 0;
    for (const auto& entry : fs::directory_iterator(std::string(VELMORA_TEST_DATA) + "/sizes")) {
        if (entry.path().extension() != ".sgf") continue;
        SCOPED_TRACE(entry.path().string());
        BoardLogic board;
        SgfFile file;
        file.SetBoard(&board);
        ASSERT_TRUE(file.Open(entry.path().string()).ok);
        const int n = board.BoardSize();
        const DiagramSource source = DiagramSourceFromBoard(board, "");
        const DiagramPlan plan = PlanDiagram(source, Request(kComposeWhole, 0, 0, 1050));
        const int G = 1050 / (n + 2);
        EXPECT_EQ(plan.cell, G);
        EXPECT_EQ(plan.Height(), 1050 + 3 * (1050 / 21));
        // Past 19 lines the columns are lettered A–Z without I: the 25th is Z.
        if (n == 25) {
            EXPECT_EQ(ListTexts(plan).front(), "Z25: ");
        }
        std::map<std::pair<int, int>, int> first;  // the first colour played at each point
        for (const SetupStone& s : board.Record().StartPosition())
            first.insert({{s.x, s.y}, s.colour});
        for (const auto& [number, move] : board.Record().MainLineMoves())
            first.insert({{move.x, move.y}, move.colour});
        std::set<std::pair<int, int>> stars;
        for (const GridPoint& p : StarPoints(n)) stars.insert({p.x, p.y});
        // Coordinates shrink the board inside the same picture, between the caption's line and
        // the list, and label every line on all four sides.
        for (const DiagramCoordinates coordinates :
             {DiagramCoordinates::kNone, DiagramCoordinates::kUsual}) {
            const bool labelled = coordinates != DiagramCoordinates::kNone;
            SCOPED_TRACE(labelled ? "with coordinates" : "without coordinates");
            DiagramRequest request = Request(kComposeWhole, 0, 0, 1050);
            request.coordinates = coordinates;
            const DiagramPlan drawn = PlanDiagram(source, request);
            const QImage image = ComposeDiagramImage(source, request);
            ASSERT_EQ(image.size(), QSize(1050, plan.Height()));
            const int g = labelled ? drawn.boardCell : G;
            const QPoint origin = labelled ? drawn.boardOrigin : QPoint(0, G);
            if (labelled) {
                EXPECT_LT(g, G);
                EXPECT_TRUE(QRectF(0, G, 1050, (n + 1) * G).contains(drawn.BoardBox()));
                // A label's cell outside each edge holds text; the corners hold none.
                const auto inked = [&](int x, int y) {
                    int dark = 0;
                    const QPoint c = origin + QPoint(x, y) * g;
                    for (int px = c.x() - g / 2; px < c.x() + g / 2; ++px)
                        for (int py = c.y() - g / 2; py < c.y() + g / 2; ++py)
                            dark += qGray(image.pixel(px, py)) < 128;
                    return dark;
                };
                for (int k = 1; k <= n; ++k) {
                    EXPECT_GT(inked(k, 0), 0) << "column " << k;
                    EXPECT_GT(inked(k, n + 1), 0) << "column " << k;
                    EXPECT_GT(inked(0, k), 0) << "row " << k;
                    EXPECT_GT(inked(n + 1, k), 0) << "row " << k;
                }
                EXPECT_EQ(inked(0, 0) + inked(n + 1, n + 1), 0);
            }
            for (int x = 1; x <= n; ++x) {
                for (int y = 1; y <= n; ++y) {
                    const int cx = origin.x() + x * g;
                    const int cy = origin.y() + y * g;
                    const auto played = first.find({x, y});
                    if (played != first.end()) {
                        // Below the number, inside the outline.
                        const int gray = qGray(image.pixel(cx, cy + 2 * g / 5));
                        if (played->second == kBlack) {
                            EXPECT_LT(gray, 60) << x << "," << y;
                        } else {
                            EXPECT_GT(gray, 200) << x << "," << y;
                        }
                    } else {
                        // Beside the crossing: a star point's dot, or bare paper (the border's
                        // heavy pen covers it on the edge, where no star point lies).
                        if (x > 1 && y > 1 && x < n && y < n) {
                            EXPECT_EQ(qGray(image.pixel(cx + 1, cy + 1)) < 100,
                                      stars.contains({x, y}))
                                << x << "," << y;
                        }
                        const int along = y < n ? g / 3 : -g / 3;  // along the line
                        EXPECT_LT(qGray(image.pixel(cx, cy + along)), 100) << x << "," << y;
                    }
                    EXPECT_GT(qGray(image.pixel(cx + g / 2 - 1, cy + g / 2 - 1)), 200);  // between
                }
            }
            // Nothing beyond the last line but, with coordinates, its labels a cell further out.
            EXPECT_GT(qGray(image.pixel(origin.x() + n * g + 3 * g / 5, origin.y() + n * g)), 200);
        }
        ++sizes;
    }
    EXPECT_EQ(sizes, 8);
}

}  // namespace
}  // namespace velmora
