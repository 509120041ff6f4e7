// Speed of Position as the tree cursor will use it: playing a 300-move game with an undo record
// per move and stepping all the way back, beside the rules engine replaying the same moves.
#include "record/Position.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "record/RulesEngine.h"

namespace velmora {
namespace {

struct PlayedMove {
    Position::Point point;
    int colour;
};

// A deterministic pseudo-random legal 19×19 game; right after a single-stone capture the
// opponent tries the retake, so kos are judged too.
std::vector<PlayedMove> MakeGame(int length) {
    std::vector<PlayedMove> moves;
    Position position;
    PositionUndo undo;
    std::mt19937 next(12345);
    Position::Point retake = Position::kNoPoint;
    while (static_cast<int>(moves.size()) < length) {
        const int x = 1 + static_cast<int>(next() % 19);
        Position::Point p = Position::PointAt(x, 1 + static_cast<int>(next() % 19));
        if (retake != Position::kNoPoint) p = retake;
        retake = Position::kNoPoint;
        const int colour = position.ToPlay();
        undo.Clear();
        if (position.Play(p, colour, undo) != PlayResult::kLegal) continue;
        if (undo.Size() == 2) retake = undo[1].point;
        moves.push_back({p, colour});
    }
    return moves;
}

const std::vector<PlayedMove>& Game() {
    static const std::vector<PlayedMove> game = MakeGame(300);
    return game;
}

void BM_PositionPlayAndUndo300(benchmark::State& state) {
    const std::vector<PlayedMove>& game = Game();
    Position position;
    std::vector<PositionUndo> undo(game.size());
    int captured = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < game.size(); ++i)
            position.Play(game[i].point, game[i].colour, undo[i]);
        captured = position.CapturedBy(kBlack) + position.CapturedBy(kWhite);
        benchmark::DoNotOptimize(position.Hash());
        for (std::size_t i = game.size(); i-- > 0;) position.Undo(undo[i]);
        benchmark::DoNotOptimize(position.Hash());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(game.size()));
    state.counters["captured"] = captured;
}
BENCHMARK(BM_PositionPlayAndUndo300)->Unit(benchmark::kMicrosecond);

// The same moves forward only, from a fresh position each time (no undo kept but the last).
void BM_PositionPlay300(benchmark::State& state) {
    const std::vector<PlayedMove>& game = Game();
    PositionUndo undo;
    for (auto _ : state) {
        Position position;
        for (const PlayedMove& m : game) {
            undo.Clear();
            position.Play(m.point, m.colour, undo);
        }
        benchmark::DoNotOptimize(position.Hash());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(game.size()));
}
BENCHMARK(BM_PositionPlay300)->Unit(benchmark::kMicrosecond);

// The peer: the rules engine as the board drives it today, judging then playing each move.
void BM_RulesEnginePlay300(benchmark::State& state) {
    const std::vector<PlayedMove>& game = Game();
    RulesEngine engine;
    for (auto _ : state) {
        engine.ResetRules(false);
        for (const PlayedMove& m : game) {
            engine.SetColourToPlay(m.colour);
            const int x = Position::X(m.point), y = Position::Y(m.point);
            if (IsLegalMove(engine.CheckMove(x, y))) engine.PlayMove(x, y);
        }
        benchmark::DoNotOptimize(engine.Grid());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(game.size()));
}
BENCHMARK(BM_RulesEnginePlay300)->Unit(benchmark::kMicrosecond);

// Judging every point for the colour to play at the game's end (an engine's legal-move list).
void BM_PositionCheckEveryPoint(benchmark::State& state) {
    const std::vector<PlayedMove>& game = Game();
    Position position;
    PositionUndo undo;
    for (const PlayedMove& m : game) position.Play(m.point, m.colour, undo);
    for (auto _ : state) {
        int legal = 0;
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x)
                legal += position.Check(Position::PointAt(x, y), position.ToPlay()) ==
                         PlayResult::kLegal;
        benchmark::DoNotOptimize(legal);
    }
    state.SetItemsProcessed(state.iterations() * 361);
}
BENCHMARK(BM_PositionCheckEveryPoint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
