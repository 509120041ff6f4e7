// The record library on a generated collection: indexing (games a second, bytes on disk),
// game-information and comment searches, and pattern searches with their continuations on one
// and two threads. VELMORA_LIBRARY_GAMES sets the number of games (default 5,000; the
// library's targets are stated for 100,000 of about 225 moves).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../tests/common/GeneratedGames.h"
#include "library/LibraryIndex.h"
#include "library/PatternSearch.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

int GameCount() {
    const char* n = std::getenv("VELMORA_LIBRARY_GAMES");
    return n ? std::atoi(n) : 5000;
}

// The collection: files of 100 games each, written once per count.
fs::path Collection() {
    static const fs::path folder = [] {
        const fs::path f = fs::temp_directory_path() / ("velmora-bench-library-" + std::to_string(GameCount()));
        if (fs::exists(f / "done")) return f;
        fs::remove_all(f);
        fs::create_directories(f / "games");
        test::GameGenerator generator(2024);
        for (int file = 0; file * 100 < GameCount(); ++file) {
            std::ofstream out(f / "games" / ("c" + std::to_string(file) + ".sgf"));
            for (int g = file * 100; g < std::min(GameCount(), file * 100 + 100); ++g)
                out << generator.Game(19, 200 + generator.Next(50)) << "\n";
        }
        std::ofstream(f / "done") << "";
        return f;
    }();
    return folder;
}

// The index of the collection, built once (by the indexing benchmark when it runs first).
LibraryIndex& Index() {
    static LibraryIndex index;
    static const bool opened = [] {
        std::string why;
        const fs::path db = Collection() / "library.db";
        const bool built = fs::exists(db);
        index.Open(db.string(), why);
        if (!built) {
            index.AddFolder((Collection() / "games").string(), why);
            index.Scan();
        }
        return true;
    }();
    (void)opened;
    return index;
}

const PositionStore& Store() {
    static const PositionStore store = Index().LoadPositions(19);
    return store;
}

void Index_Games(benchmark::State& state) {
    const fs::path db = Collection() / "timed.db";
    for (auto _ : state) {
        fs::remove(db);
        fs::remove(db.string() + "-wal");
        fs::remove(db.string() + "-shm");
        LibraryIndex index;
        std::string why;
        index.Open(db.string(), why);
        index.AddFolder((Collection() / "games").string(), why);
        benchmark::DoNotOptimize(index.Scan());
    }
    state.SetItemsProcessed(state.iterations() * GameCount());
    std::uintmax_t bytes = 0;
    for (const char* suffix : {"", "-wal"})
        if (fs::exists(db.string() + suffix)) bytes += fs::file_size(db.string() + suffix);
    state.counters["MB_on_disk"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(Index_Games)->Unit(benchmark::kMillisecond)->Iterations(1);

void Open_AndLoadPositions(benchmark::State& state) {
    Index();
    for (auto _ : state) {
        LibraryIndex index;
        std::string why;
        index.Open((Collection() / "library.db").string(), why);
        const PositionStore store = index.LoadPositions(19);
        state.counters["store_MB"] = static_cast<double>(store.MemoryUsed()) / 1e6;
    }
}
BENCHMARK(Open_AndLoadPositions)->Unit(benchmark::kMillisecond);

void Find_Player(benchmark::State& state) {
    std::size_t found = 0;
    for (auto _ : state) found = Index().FindIds({.player = "이창호"}).size();
    state.counters["games"] = static_cast<double>(found);
}
BENCHMARK(Find_Player)->Unit(benchmark::kMillisecond);

void Find_Text(benchmark::State& state) {
    // A word of two syllables, compared on every comment; words of three characters or more
    // through the trigram index.
    const char* words[] = {"마하", "정석대로 마하", "shape 마하"};
    std::size_t found = 0;
    for (auto _ : state) found = Index().FindIds({.text = words[state.range(0)]}).size();
    state.counters["games"] = static_cast<double>(found);
}
BENCHMARK(Find_Text)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

Pattern Shape(int left, int top, int size, const char* rows) {
    Pattern p{19, left, top, size, size, {}};
    for (const char* c = rows; *c; ++c)
        p.points.push_back(*c == 'X' ? PatternPoint::kBlack : *c == 'O' ? PatternPoint::kWhite
                           : *c == '?' ? PatternPoint::kAny : PatternPoint::kEmpty);
    return p;
}

// Each search with its continuations; range(0) the shape, range(1) the threads.
void Search_Pattern(benchmark::State& state) {
    PatternQuery q;
    switch (state.range(0)) {
        case 0:  // a corner: the 4-4 point alone in its 7×7 corner
            q.pattern = Shape(12, 0, 7, "........................X........................");
            break;
        case 1: {  // the whole board after 40 moves of the store's first game
            const PositionStore::Game& g = Store().GameAt(0);
            std::string rows(19 * 19, '.');
            int moves = 0;
            for (std::uint32_t i = 0; i < g.count && moves <= 40; ++i) {
                const LibraryStep s = Store().Steps(g)[i];
                if (IsMoveStep(s) && ++moves > 40) break;
                if (StepPoint(s) != kStepNoPoint) rows[StepPoint(s)] = ".OX"[StepColour(s)];
            }
            q.pattern = Shape(0, 0, 19, rows.c_str());
            break;
        }
        case 2:  // a 3×3 shape anywhere
            q.pattern = Shape(8, 8, 3, "XO..XO...");
            q.anywhere = true;
            break;
        default:  // the same with points that may hold anything
            q.pattern = Shape(8, 8, 3, "XO?.XO??.");
            q.anywhere = true;
            break;
    }
    q.threads = static_cast<int>(state.range(1));
    std::size_t hits = 0;
    for (auto _ : state) {
        const std::vector<PatternHit> found = SearchPattern(Store(), q);
        benchmark::DoNotOptimize(Continuations(Store(), q, found));
        hits = found.size();
    }
    state.counters["hits"] = static_cast<double>(hits);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}
BENCHMARK(Search_Pattern)->ArgsProduct({{0, 1, 2, 3}, {1, 2}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
