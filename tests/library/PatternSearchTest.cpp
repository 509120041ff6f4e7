#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "../common/GeneratedGames.h"
#include "game/TreeCursor.h"
#include "library/LibraryIndex.h"
#include "library/PatternSearch.h"
#include "record/RecordEncoding.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    return DecodeRecordBytes(whole.str());
}

// The image of (x, y) in a w × h box under the symmetry s, as the dihedral group has it.
std::pair<int, int> Image(int s, int w, int h, int x, int y) {
    if (s & 1) x = w - 1 - x;
    if (s & 2) y = h - 1 - y;
    return s & 4 ? std::pair{y, x} : std::pair{x, y};
}

// A pattern placed on the board: where each of its points lies and what it asks for.
struct Placement {
    std::vector<std::tuple<int, int, PatternPoint>> points;
    bool swapped = false;
    int t[2], a[2][2];  // board point = a · pattern point + t
};

std::vector<Placement> Placements(const PatternQuery& q) {
    const Pattern& p = q.pattern;
    const int n = p.boardSize;
    std::vector<Placement> all;
    for (int swap = 0; swap < (q.swapColours ? 2 : 1); ++swap) {
        for (int s = 0; s < 8; ++s) {
            const auto [w, h] = s & 4 ? std::pair{p.height, p.width} : std::pair{p.width, p.height};
            for (int oy = 0; oy + h <= n; ++oy) {
                for (int ox = 0; ox + w <= n; ++ox) {
                    const auto place = [&](int x, int y) {
                        if (!q.anywhere) return Image(s, n, n, p.left + x, p.top + y);
                        const auto [ix, iy] = Image(s, p.width, p.height, x, y);
                        return std::pair{ix + ox, iy + oy};
                    };
                    Placement placement;
                    placement.swapped = swap;
                    for (int y = 0; y < p.height; ++y) {
                        for (int x = 0; x < p.width; ++x) {
                            PatternPoint want = p.points[static_cast<std::size_t>(y * p.width + x)];
                            if (swap && (want == PatternPoint::kBlack || want == PatternPoint::kWhite))
                                want = want == PatternPoint::kBlack ? PatternPoint::kWhite : PatternPoint::kBlack;
                            const auto [bx, by] = place(x, y);
                            placement.points.emplace_back(bx, by, want);
                        }
                    }
                    // Pattern coordinates are taken from the rectangle's corner, board ones absolute.
                    const auto o = place(0, 0), ex = place(1, 0), ey = place(0, 1);
                    placement.t[0] = o.first - (ex.first - o.first) * p.left - (ey.first - o.first) * p.top;
                    placement.t[1] = o.second - (ex.second - o.second) * p.left - (ey.second - o.second) * p.top;
                    placement.a[0][0] = ex.first - o.first, placement.a[0][1] = ey.first - o.first;
                    placement.a[1][0] = ex.second - o.second, placement.a[1][1] = ey.second - o.second;
                    all.push_back(std::move(placement));
                    if (!q.anywhere) break;
                }
                if (!q.anywhere) break;
            }
        }
    }
    return all;
}

// What the plain search finds in one game: the first position where the pattern stands, the
// move played next there, and that move brought back into the pattern's frame by each
// placement that stands there.
struct PlainHit {
    int move = -1;
    std::string next;
    std::set<std::string> continuations;
};

PlainHit PlainSearch(const std::string& text, int game, const PatternQuery& q, const std::vector<Placement>& placements) {
    const SgfTreeRead read = ReadSgfTree(text, game);
    const GameTree& tree = read.tree;
    Position position(q.pattern.boardSize);
    PositionUndo undo;
    int move = 0;
    for (NodeId n = tree.Root(); n != kNoNode;) {
        ApplyNode(tree, n, position, undo);
        const NodeId child = tree.FirstChild(n);
        // The move of the next node, as SGF.
        NodeMove next;
        if (child != kNoNode) {
            Position copy = position;
            PositionUndo scratch;
            next = ApplyNode(tree, child, copy, scratch);
        }
        PlainHit hit;
        for (const Placement& pl : placements) {
            bool stands = true;
            for (const auto& [x, y, want] : pl.points)
                stands = stands && (want == PatternPoint::kAny ||
                                    position.Colour(Position::PointAt(x + 1, y + 1)) == static_cast<int>(want));
            if (!stands) continue;
            hit.move = move;
            if (child == kNoNode) continue;
            const bool white = next.colour == kWhite;
            hit.next = std::string(white ? "W[" : "B[");
            std::string back = white != pl.swapped ? "W[" : "B[";
            if (next.point != Position::kNoPoint) {
                const int bx = Position::X(next.point) - 1 - pl.t[0];
                const int by = Position::Y(next.point) - 1 - pl.t[1];
                hit.next += {static_cast<char>('a' + Position::X(next.point) - 1), static_cast<char>('a' + Position::Y(next.point) - 1)};
                const int px = pl.a[0][0] * bx + pl.a[1][0] * by;  // the inverse: the transpose
                const int py = pl.a[0][1] * bx + pl.a[1][1] * by;
                const int size = q.pattern.boardSize;
                back += px < 0 || py < 0 || px >= size || py >= size
                            ? std::string("?")
                            : std::string{static_cast<char>('a' + px), static_cast<char>('a' + py)};
            }
            hit.next += "]";
            hit.continuations.insert(back + "]");
        }
        if (hit.move >= 0) return hit;
        if (child != kNoNode && next.kind != NodeMove::Kind::kNone) ++move;
        n = child;
        undo.Clear();
    }
    return {};
}

class PatternSearchTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(fs::temp_directory_path() / ("velmora-patterns-" + std::to_string(::getpid())));
        fs::create_directories(*dir_ / "games");
        test::GameGenerator generator(7);
        for (int i = 0; i < 300; ++i)
            std::ofstream(*dir_ / "games" / ("g19-" + std::to_string(i) + ".sgf")) << generator.Game(19, 120);
        std::ofstream nine(*dir_ / "games" / "nine.sgf");  // one collection of 9×9 games
        for (int i = 0; i < 100; ++i) nine << generator.Game(9, 50) << "\n";
        fs::copy(VELMORA_TEST_DATA "/gnugo", *dir_ / "games/gnugo");
        index_ = new LibraryIndex;
        std::string why;
        ASSERT_TRUE(index_->Open((*dir_ / "library.db").string(), why)) << why;
        ASSERT_TRUE(index_->AddFolder((*dir_ / "games").string(), why));
        index_->Scan();
    }
    static void TearDownTestSuite() {
        delete index_;
        fs::remove_all(*dir_);
        delete dir_;
    }

    // The pattern of the area (left, top, width × height) of game file at move m; points listed
    // in anyAt become "any".
    static Pattern Cut(const std::string& file, int game, int m, int size, int left, int top, int width,
                       int height, std::vector<int> anyAt = {}) {
        const SgfTreeRead read = ReadSgfTree(ReadAll((*dir_ / "games" / file).string()), game);
        TreeCursor cursor(read.tree, size);
        for (int i = 0; i < m; ++i) cursor.Forward();
        Pattern p{size, left, top, width, height, {}};
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                p.points.push_back(static_cast<PatternPoint>(cursor.Board().Colour(Position::PointAt(x + 1, y + 1))));
        for (const int i : anyAt) p.points[static_cast<std::size_t>(i)] = PatternPoint::kAny;
        return p;
    }

    // The library's search against the plain one, over the first `games` games of the size.
    static void Compare(const PatternQuery& q, std::size_t games, int atLeast) {
        const PositionStore store = index_->LoadPositions(q.pattern.boardSize);
        std::vector<bool> allowed(store.GameCount(), false);
        std::fill_n(allowed.begin(), std::min(games, allowed.size()), true);
        int streamed = 0;
        const std::vector<PatternHit> hits = SearchPattern(store, q, allowed, [&](const PatternHit&) { ++streamed; });
        EXPECT_EQ(streamed, static_cast<int>(hits.size()));
        EXPECT_GE(static_cast<int>(hits.size()), atLeast);

        std::vector<std::int64_t> ids;
        for (std::size_t i = 0; i < store.GameCount() && i < games; ++i) ids.push_back(store.GameAt(i).id);
        const std::vector<LibraryGame> list = index_->Games(ids);
        std::map<std::int64_t, const LibraryGame*> byId;
        for (const LibraryGame& g : list) byId[g.id] = &g;
        std::map<std::int64_t, const PatternHit*> found;
        for (const PatternHit& h : hits) found[store.GameAt(h.game).id] = &h;
        const std::vector<Placement> placements = Placements(q);
        int withNext = 0;
        for (const auto& [id, g] : byId) {
            const PlainHit plain = PlainSearch(ReadAll(g->path), g->game, q, placements);
            const auto at = found.find(id);
            SCOPED_TRACE(g->path + " #" + std::to_string(g->game));
            ASSERT_EQ(at != found.end(), plain.move >= 0);
            if (plain.move < 0) continue;
            const PatternHit& hit = *at->second;
            EXPECT_EQ(hit.move, plain.move);
            EXPECT_EQ(hit.hasNext ? StepSgf(hit.next, store.Size()) : "", plain.next);
            if (!hit.hasNext) continue;
            ++withNext;
            const std::vector<PatternContinuation> one = Continuations(store, q, {hit});
            ASSERT_EQ(one.size(), 1u);
            EXPECT_TRUE(plain.continuations.count(one[0].move)) << one[0].move;
        }
        int counted = 0;
        for (const PatternContinuation& c : Continuations(store, q, hits)) counted += c.count;
        EXPECT_EQ(counted, withNext);
    }

    static fs::path* dir_;
    static LibraryIndex* index_;
};

fs::path* PatternSearchTest::dir_ = nullptr;
LibraryIndex* PatternSearchTest::index_ = nullptr;

TEST_F(PatternSearchTest, InPlaceUnderTheEightSymmetriesAsThePlainSearchFindsIt) {
    // Corners from the generated openings, a few points left open, colours swapped or not.
    Compare({Cut("g19-3.sgf", 1, 12, 19, 12, 0, 7, 7, {0, 8, 30}), false, false}, 1000, 2);
    Compare({Cut("g19-5.sgf", 1, 8, 19, 0, 0, 6, 5), false, true}, 1000, 5);
    Compare({Cut("g19-9.sgf", 1, 30, 19, 0, 0, 19, 19), false, false}, 1000, 1);  // the whole board
    Compare({Cut("gnugo/game_02.sgf", 1, 60, 19, 14, 14, 5, 5), false, true}, 1000, 1);
    Compare({Cut("nine.sgf", 4, 20, 9, 0, 0, 5, 5, {1, 2}), false, true}, 1000, 1);
}

TEST_F(PatternSearchTest, AnywhereAsThePlainSearchFindsIt) {
    Compare({Cut("g19-3.sgf", 1, 115, 19, 5, 10, 3, 3), true, false, 2}, 80, 5);
    Compare({Cut("g19-7.sgf", 1, 60, 19, 4, 4, 4, 3, {0, 5}), true, true}, 80, 5);
    Compare({Cut("nine.sgf", 7, 30, 9, 3, 3, 3, 3, {4}), true, true, 2}, 100, 5);
}

TEST_F(PatternSearchTest, JobStreamsOffTheCallingThreadAndStopsWhenCancelled) {
    const PositionStore store = index_->LoadPositions(19);
    const PatternQuery q{Cut("g19-3.sgf", 1, 4, 19, 10, 0, 9, 9), false, true};
    const std::vector<PatternHit> all = SearchPattern(store, q);
    std::vector<PatternHit> done;
    int streamed = 0;
    {
        PatternSearchJob job(store, q, {}, [&](const PatternHit&) { ++streamed; },
                             [&](std::vector<PatternHit> hits, bool) { done = std::move(hits); });
        job.Wait();
    }
    EXPECT_EQ(streamed, static_cast<int>(all.size()));
    ASSERT_EQ(done.size(), all.size());
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(SearchPattern(store, q, {}, {}, &cancel).empty());
}

}  // namespace
}  // namespace velmora
