#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "RecordTestSupport.h"
#include "record/Position.h"
#include "record/RulesEngine.h"

namespace velmora {
namespace {

using P = Position;
using R = PlayResult;
constexpr P::Point At(int x, int y) { return P::PointAt(x, y); }

// A stone to try: x 0 passes, x −1 retakes the single stone just captured; colour 0 is the
// position's colour to play.
struct Attempt {
    int x = 0, y = 0, colour = 0;
};

// Tries every attempt on a Position and on the rules engine: both must judge it alike, hold the
// same stones and captures after it, and the stones set up on a fresh position give the same
// hash. Then each undo back to the start restores the position exactly as it stood.
void Compare(int size, const std::vector<Attempt>& setup, const std::vector<Attempt>& attempts) {
    RulesEngine engine;
    engine.SetBoardSize(size);
    P position(size);
    PositionUndo setupUndo;
    for (const Attempt& s : setup) engine.PutStone(s.x, s.y, s.colour);
    for (const Attempt& s : setup) position.Setup(At(s.x, s.y), s.colour, setupUndo);
    std::vector<P> before;
    std::vector<PositionUndo> undos(attempts.size());
    std::array<int, 3> captured{};
    for (Attempt a : attempts) {
        const int colour = a.colour ? a.colour : position.ToPlay();
        const auto& taken = engine.CapturedStones();
        if (a.x < 0 && taken.size() != 1) continue;
        if (a.x < 0) a = {taken[0].x, taken[0].y};
        before.push_back(position);
        engine.SetColourToPlay(colour);
        if (a.x == 0) engine.Pass(), position.Pass(colour, undos[before.size() - 1]);
        if (a.x == 0) continue;
        const int j = engine.CheckMove(a.x, a.y);
        if (IsLegalMove(j)) engine.PlayMove(a.x, a.y), captured[colour] += taken.size();
        const R expected = IsLegalMove(j) ? R::kLegal : j == kMoveOccupied ? R::kOccupied
                           : j == kMoveSuicide ? R::kSuicide : j == kMoveKo ? R::kKo : R::kOutside;
        ASSERT_EQ(position.Play(At(a.x, a.y), colour, undos[before.size() - 1]), expected)
            << size << " lines, attempt " << before.size() << " at " << a.x << "," << a.y;
        if (expected != R::kLegal) before.pop_back();
        ASSERT_EQ(position.CapturedBy(colour), captured[colour]);
        P fresh(size);
        for (int x = 1; x <= size; ++x) {
            for (int y = 1; y <= size; ++y) {
                ASSERT_EQ(position.Colour(At(x, y)), engine.Grid().Get(x, y)) << x << "," << y;
                fresh.Setup(At(x, y), position.Colour(At(x, y)), setupUndo);
            }
        }
        ASSERT_EQ(fresh.Hash(), position.Hash());
    }
    for (int i = static_cast<int>(before.size()) - 1; i >= 0; --i) {
        position.Undo(undos[i]);
        ASSERT_EQ(position, before[i]) << "undo of step " << i + 1;
    }
}

// The size, set-up stones and main-line moves of a record: every node up to where its first
// variation ends.
void CompareMainLine(const std::string& text) {
    int size = kDefaultBoardSize;
    std::vector<Attempt> setup, moves;
    std::string id;
    for (std::size_t i = 0; i < text.size() && text[i] != ')'; ++i) {
        if (text[i] >= 'A' && text[i] <= 'Z') {
            if (i == 0 || text[i - 1] < 'A' || text[i - 1] > 'Z') id.clear();
            id += text[i];
        }
        if (text[i] != '[') continue;
        std::string value;
        for (++i; i < text.size() && text[i] != ']'; ++i) value += text[i += text[i] == '\\'];
        if (id == "SZ") size = std::atoi(value.c_str());
        const int colour = id == "B" || id == "AB" ? kBlack : id == "W" || id == "AW" ? kWhite : 0;
        const bool pass = value.size() != 2 || (value == "tt" && size <= 19);
        if (colour) (id.size() == 2 ? setup : moves).push_back(
            {pass ? 0 : value[0] - 'a' + 1, pass ? 0 : value[1] - 'a' + 1, colour});
    }
    if (IsBoardSize(size)) Compare(size, setup, moves);
}

TEST(Position, JudgesAndCapturesAsTheRulesEngineAndUndoesEveryStep) {
    int files = 0;
    for (const char* folder : {"/sgf", "/gnugo"}) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(VELMORA_TEST_DATA + std::string(folder))) {
            if (entry.path().extension() != ".sgf") continue;
            std::ostringstream text;
            text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            SCOPED_TRACE(entry.path().string());
            ASSERT_NO_FATAL_FAILURE(CompareMainLine(text.str()));
            ++files;
        }
    }
    EXPECT_GT(files, 50);
    // Random games full of suicides, captures and kos: each stone is followed by the retake.
    test::Random random(7);
    for (int size : {2, 3, 5, 9, 19, 25}) {
        std::vector<Attempt> attempts;
        for (int i = 0; i < 1500; ++i) {
            const bool pass = random.Below(40) == 0;
            attempts.push_back({pass ? 0 : 1 + random.Below(size), 1 + random.Below(size)});
            attempts.push_back({-1});
        }
        ASSERT_NO_FATAL_FAILURE(Compare(size, {}, attempts));
    }
}

TEST(Position, AKoCaptureReachedAgainByStepsBackStillForbidsTheRetake) {
    // Black surrounds (2, 2), white (3, 2); white's move 8 at (2, 2) is taken back by move 9.
    const int moves[9][2] = {{2, 1}, {3, 1}, {1, 2}, {4, 2}, {2, 3}, {3, 3}, {5, 5}, {2, 2}, {3, 2}};
    P position(5);
    std::vector<PositionUndo> undo(10);
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(position.Play(At(moves[i][0], moves[i][1]), i % 2 ? kWhite : kBlack, undo[i]), R::kLegal);
    const P atNine = position;
    const P::Point retake = At(2, 2);
    EXPECT_EQ(position.KoPoint(), retake);
    EXPECT_EQ(position.Play(retake, kWhite, undo[9]), R::kKo);
    EXPECT_TRUE(undo[9].Empty());
    EXPECT_EQ(position.Check(retake, kBlack), R::kLegal);  // the capturer may fill it
    // Move 10 elsewhere, or a pass, lifts the ko; stepping back to move 9 brings it back.
    for (bool pass : {false, true}) {
        if (pass) position.Pass(kWhite, undo[9]);
        else ASSERT_EQ(position.Play(At(5, 1), kWhite, undo[9]), R::kLegal);
        EXPECT_EQ(position.Check(retake, kWhite), R::kLegal);
        position.Undo(undo[9]);
        EXPECT_EQ(position, atNine);
        EXPECT_EQ(position.Check(retake, kWhite), R::kKo);
    }
    position.Undo(undo[8]);
    EXPECT_EQ(position.KoPoint(), P::kNoPoint);
    EXPECT_EQ(position.Colour(retake), kWhite);
    ASSERT_EQ(position.Play(At(3, 2), kBlack, undo[8]), R::kLegal);
    EXPECT_EQ(position, atNine);
    // A set-up stone changes the position: the retake repeats nothing any more.
    position.Setup(At(5, 1), kBlack, undo[9]);
    EXPECT_EQ(position.Check(retake, kWhite), R::kLegal);
}

// A position set up from rows y = 1, 2, …, characters x = 1, 2, …: 'X' black, 'O' white.
P Picture(int size, const std::vector<std::string>& rows) {
    P position(size);
    PositionUndo undo;
    for (int y = 1; y <= static_cast<int>(rows.size()); ++y) {
        for (int x = 1; x <= static_cast<int>(rows[y - 1].size()); ++x) {
            const char c = rows[y - 1][x - 1];
            position.Setup(At(x, y), c == 'X' ? kBlack : c == 'O' ? kWhite : kEmpty, undo);
        }
    }
    return position;
}

TEST(Position, RefusesSuicideOfAGroupTakesSeveralGroupsAndKnowsItsGroups) {
    P position = Picture(3, {"X.O", "OOO"});
    const P before = position;
    PositionUndo undo;
    EXPECT_EQ(position.Play(At(2, 1), kBlack, undo), R::kSuicide);  // two stones, no liberty
    EXPECT_EQ(position, before);
    EXPECT_TRUE(undo.Empty());
    EXPECT_EQ(position.Group(At(3, 1)), (std::vector{At(3, 1), At(1, 2), At(2, 2), At(3, 2)}));
    EXPECT_EQ(position.Liberties(At(3, 1)), 4);
    EXPECT_EQ(position.Liberties(At(1, 1)) + position.Liberties(At(2, 1)), 1);
    position = Picture(3, {".XO", "XO.", "O.."});
    const P twoGroups = position;
    EXPECT_EQ(position.Play(At(1, 1), kWhite, undo), R::kLegal);
    EXPECT_EQ(position.Colour(At(2, 1)) + position.Colour(At(1, 2)), kEmpty);
    EXPECT_EQ(position.CapturedBy(kWhite), 2);
    EXPECT_EQ(position.KoPoint(), P::kNoPoint);
    position.Undo(undo);
    EXPECT_EQ(position, twoGroups);
    // The smallest board: white's last point takes both black stones.
    P two(2);
    for (auto [x, y, colour] : {std::tuple{1, 1, kBlack}, {2, 2, kWhite}, {2, 1, kBlack}, {1, 2, kWhite}})
        EXPECT_EQ(two.Play(At(x, y), colour, undo), R::kLegal);
    EXPECT_EQ(two.CapturedBy(kWhite), 2);
    EXPECT_EQ(two.Check(At(3, 1), kBlack), R::kOutside);
    EXPECT_EQ(two.Check(At(1, 1), kEmpty), R::kNotColour);
    EXPECT_EQ(P(26).Size(), kDefaultBoardSize);
}

TEST(Position, ANodesSetUpAndMoveUndoAsOneAndTheHashIsTheStonesAlone) {
    P position(25);
    const P empty = position;
    PositionUndo node;
    for (int x = 1; x <= 8; ++x) ASSERT_TRUE(position.Setup(At(x, 25), kBlack, node));
    position.Setup(At(3, 25), kEmpty, node);
    position.SetToPlay(kWhite, node);
    EXPECT_EQ(position.Play(At(3, 25), kWhite, node), R::kLegal);
    EXPECT_EQ(node.Size(), 10);
    // The same stones the other way round.
    P other(25);
    PositionUndo steps;
    other.Play(At(3, 25), kWhite, steps);
    for (int x = 8; x >= 1; --x) other.Setup(At(x, 25), x == 3 ? kWhite : kBlack, steps);
    EXPECT_EQ(other.Hash(), position.Hash());
    other.SetToPlay(kWhite, steps);
    EXPECT_NE(other.HashWithToPlay(), position.HashWithToPlay());
    EXPECT_FALSE(position.Setup(At(26, 1), kBlack, node) || position.Setup(At(1, 1), 3, node));
    position.Undo(node);
    EXPECT_EQ(position, empty);
    EXPECT_TRUE(node.Empty());
    // Hashes are stored: the keys never change.
    position.Setup(At(4, 4), kBlack, node);
    position.Setup(At(16, 16), kWhite, node);
    EXPECT_EQ(position.Hash(), 0x4789f44a74e46d94u);
    EXPECT_EQ(position.HashWithToPlay(), 0x5f3b4144a9f98322u);
}

}  // namespace
}  // namespace velmora
