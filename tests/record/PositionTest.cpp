#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "RecordTestSupport.h"
#include "record/Position.h"
#include "record/RulesEngine.h"

namespace velmora {
namespace {

using P = Position;
using R = PlayResult;
constexpr auto At = [](int x, int y) { return P::PointAt(x, y); };

// x 0 passes, x −1 retakes the single stone just captured; colour 0 is the colour to play.
struct Attempt {
    int x = 0, y = 0, colour = 0;
};

// Tries the attempts on a Position and on the rules engine: both judge each alike and hold the
// same stones; then every undo back to the start restores the position exactly as it stood.
void Compare(int size, const std::vector<Attempt>& attempts) {
    RulesEngine engine;
    engine.SetBoardSize(size);
    P position(size);
    std::vector<P> before;
    std::vector<PositionUndo> undos(attempts.size());
    constexpr int kCodes[] = {kMoveLegal, kMoveOccupied, kMoveSuicide, kMoveKo, kMoveOutside};
    for (Attempt a : attempts) {
        const std::vector<CapturedStone> taken = engine.CapturedStones();
        if (a.x < 0 && taken.size() != 1) continue;
        if (a.x < 0) a = {taken[0].x, taken[0].y};
        const int colour = a.colour ? a.colour : position.ToPlay();
        before.push_back(position);
        PositionUndo& undo = undos[before.size() - 1];
        engine.SetColourToPlay(colour);
        if (!a.x) engine.Pass(), position.Pass(colour, undo);
        const int judged = a.x ? engine.CheckMove(a.x, a.y) : kMoveLegal;
        const int played = a.x ? kCodes[int(position.Play(At(a.x, a.y), colour, undo))] : 1;
        ASSERT_EQ(played, IsLegalMove(judged) ? kMoveLegal : judged) << a.x << "," << a.y;
        if (a.x && IsLegalMove(judged)) engine.PlayMove(a.x, a.y);
        if (!IsLegalMove(judged)) before.pop_back();
        int differ = 0;
        for (int point = 0; point < P::kCells; ++point)
            differ += position.Colour(point) != engine.Grid().Get(P::X(point), P::Y(point));
        ASSERT_EQ(differ, 0) << "points differ after " << a.x << "," << a.y;
    }
    for (int i = static_cast<int>(before.size()) - 1; i >= 0; --i) {
        position.Undo(undos[i]);
        ASSERT_EQ(position, before[i]) << "undo of step " << i + 1;
    }
}

TEST(Position, JudgesAndCapturesAsTheRulesEngineAndUndoesEveryStep) {
    // Every move of the sample records, variations one after another ("tt" passes up to 19×19).
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VELMORA_TEST_DATA)) {
        if (entry.path().extension() != ".sgf") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        const std::size_t sz = text.find("SZ[");
        const int size = sz == std::string::npos ? 19 : std::atoi(text.c_str() + sz + 3);
        std::vector<Attempt> moves;
        for (std::size_t i = text.find('['); i != std::string::npos; i = text.find('[', i + 1)) {
            if (i < 2 || (text[i - 1] != 'B' && text[i - 1] != 'W')) continue;
            if (!std::strchr(";] \n\r\t", text[i - 2])) continue;
            const std::string v = text.substr(i + 1, text.find(']', i) - i - 1);
            const bool pass = v.size() != 2 || (v == "tt" && size <= 19);
            moves.push_back({pass ? 0 : v[0] - 'a' + 1, pass ? 0 : v[1] - 'a' + 1,
                             text[i - 1] == 'B' ? kBlack : kWhite});
        }
        ASSERT_NO_FATAL_FAILURE(Compare(size, moves)) << entry.path();
    }
    // Random games full of suicides, captures and kos: each attempt is followed by the retake.
    test::Random random(7);
    for (int size : {2, 3, 5, 9, 19, 25}) {
        std::vector<Attempt> attempts(3000, {-1});
        for (int i = 0; i < 3000; i += 2)
            attempts[i] = {random.Below(40) ? 1 + random.Below(size) : 0, 1 + random.Below(size)};
        ASSERT_NO_FATAL_FAILURE(Compare(size, attempts)) << size << " lines";
    }
}

TEST(Position, AKoCaptureReachedAgainByStepsBackStillForbidsTheRetake) {
    // Black surrounds (2, 2), white (3, 2); white's move 8 at (2, 2) is taken by move 9.
    int moves[9][2] = {{2, 1}, {3, 1}, {1, 2}, {4, 2}, {2, 3}, {3, 3}, {5, 5}, {2, 2}, {3, 2}};
    P position(5);
    std::vector<PositionUndo> undo(10);
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(position.Play(At(moves[i][0], moves[i][1]), 2 - i % 2, undo[i]), R::kLegal);
    const P atNine = position;
    const P::Point retake = At(2, 2);
    EXPECT_EQ(position.Check(retake, kBlack), R::kLegal);            // the capturer may fill it
    EXPECT_EQ(position.Play(At(5, 1), kWhite, undo[9]), R::kLegal);  // move 10 lifts the ko
    EXPECT_EQ(position.Check(retake, kWhite), R::kLegal);
    position.Undo(undo[9]);
    EXPECT_EQ(position.Check(retake, kWhite), R::kKo);
    position.Undo(undo[8]);
    EXPECT_EQ(position.Play(At(3, 2), kBlack, undo[8]), R::kLegal);
    EXPECT_EQ(position, atNine);
    position.Setup(At(5, 1), kBlack, undo[9]);  // a set-up stone: the retake repeats nothing
    EXPECT_EQ(position.Check(retake, kWhite), R::kLegal);
}

TEST(Position, UndoesANodesSetUpAndMoveAsOneAndHashesTheStonesAlone) {
    P position(3), other(3);
    PositionUndo undo, steps;
    const std::string rows = "X.XOOO.X.";  // three rows of three points
    for (int i = 0; i < 9; ++i)
        position.Setup(At(1 + i % 3, 1 + i / 3), rows[i] == 'X' ? 2 : rows[i] == 'O', undo);
    EXPECT_EQ(position.Group(At(1, 2)), (std::vector{At(1, 2), At(2, 2), At(3, 2)}));
    EXPECT_EQ(position.Liberties(At(1, 2)) + position.Liberties(At(3, 3)), 3);
    EXPECT_EQ(position.Play(At(2, 1), kWhite, undo), R::kLegal);  // takes two black stones
    EXPECT_EQ(position.CapturedBy(kWhite), 2);
    position.SetToPlay(kWhite, undo);
    EXPECT_FALSE(position.Setup(At(4, 1), kBlack, undo) || position.Setup(At(1, 1), 3, undo));
    // The same stones set up in another order; the hashes are stored, so they never change.
    for (int x : {3, 2, 1}) other.Setup(At(x, 2), kWhite, steps);
    other.Setup(At(2, 3), kBlack, steps), other.Setup(At(2, 1), kWhite, steps);
    EXPECT_EQ(position.Hash(), 0xcde3301fbc0699f8u);
    EXPECT_EQ(other.Hash(), position.Hash());
    EXPECT_EQ(other.HashWithToPlay(), 0xd5518511611b774eu);
    position.Undo(undo);  // the set-up stones, the move and the turn
    EXPECT_EQ(position, P(3));
}

}  // namespace
}  // namespace velmora
