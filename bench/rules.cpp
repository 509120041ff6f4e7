// Speed of the rules engine as its callers use it: judging then playing every move of a long
// game full of captures, and replaying a 300-move record into a GameRecord.
#include <benchmark/benchmark.h>

#include <vector>

#include "record/GameRecord.h"
#include "record/RulesEngine.h"

namespace velmora {
namespace {

struct PlayedMove {
    int x;
    int y;
    int colour;
};

struct LongGame {
    std::vector<PlayedMove> moves;
    int captured = 0;
};

// A deterministic pseudo-random legal game. Right after a single-stone capture the opponent
// tries the retake, so ko judgements occur as well.
LongGame MakeLongGame(int length) {
    LongGame game;
    RulesEngine engine;
    unsigned state = 12345;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    int colour = kBlack;
    GridPoint retake;
    for (int attempt = 0; attempt < 100000 && static_cast<int>(game.moves.size()) < length;
         ++attempt) {
        int x = 1 + static_cast<int>(next() % 19), y = 1 + static_cast<int>(next() % 19);
        if (retake.x > 0) {
            x = retake.x;
            y = retake.y;
            retake = {};
        }
        engine.SetColourToPlay(colour);
        if (!IsLegalMove(engine.CheckMove(x, y))) continue;
        engine.PlayMove(x, y);
        const int taken = static_cast<int>(engine.CapturedStones().size());
        game.captured += taken;
        if (taken == 1) retake = {engine.CapturedStones()[0].x, engine.CapturedStones()[0].y};
        game.moves.push_back({x, y, colour});
        colour = Opponent(colour);
    }
    return game;
}

const LongGame& Game() {
    static const LongGame game = MakeLongGame(800);
    return game;
}

void BM_CheckThenPlayLongGame(benchmark::State& state) {
    const LongGame& game = Game();
    RulesEngine engine;
    for (auto _ : state) {
        engine.ResetRules(false);
        for (const PlayedMove& m : game.moves) {
            engine.SetColourToPlay(m.colour);
            if (IsLegalMove(engine.CheckMove(m.x, m.y))) engine.PlayMove(m.x, m.y);
        }
        benchmark::DoNotOptimize(engine.Grid());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(game.moves.size()));
    state.counters["moves"] = static_cast<double>(game.moves.size());
    state.counters["captured"] = game.captured;
}
BENCHMARK(BM_CheckThenPlayLongGame)->Unit(benchmark::kMillisecond);

// What the board control does for each move of a record being read.
void BM_ReplayRecord300(benchmark::State& state) {
    const LongGame& game = Game();
    const int length = 300;
    for (auto _ : state) {
        RulesEngine engine;
        GameRecord record;
        int number = 0;
        for (int i = 0; i < length; ++i) {
            const PlayedMove& m = game.moves[i];
            engine.SetColourToPlay(m.colour);
            if (!IsLegalMove(engine.CheckMove(m.x, m.y))) continue;
            engine.PlayMove(m.x, m.y);
            ++number;
            engine.SetPointNumber(m.x, m.y, number);
            MoveRecord move;
            move.x = m.x;
            move.y = m.y;
            move.colour = m.colour;
            move.number = number;
            move.flags = 1;
            for (const CapturedStone& s : engine.CapturedStones())
                move.captured.push_back({s.x, s.y, s.colour, engine.Grid().Number(s.x, s.y), 1, {}});
            record.AddMainLineMove(number, move);
        }
        benchmark::DoNotOptimize(record.MainLineLength());
    }
    state.SetItemsProcessed(state.iterations() * length);
}
BENCHMARK(BM_ReplayRecord300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
