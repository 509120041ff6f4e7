#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "library/GameDigest.h"

namespace velmora {

// The main lines of the games of one board size, in memory, for pattern searches: their steps
// end to end and, per game, where stones of each colour ever stood (one bit a point, a row a
// word), so that most games are passed over without replaying them.
class PositionStore {
  public:
    explicit PositionStore(int size = 19) : size_(size) {}

    int Size() const { return size_; }
    std::size_t GameCount() const { return games_.size(); }
    // Adds a game of this board size; ids ascend as games are added.
    void Add(std::int64_t id, GameWinner winner, int year, const LibraryStep* steps, std::size_t count);

    struct Game {
        std::int64_t id = 0;
        std::uint32_t begin = 0;
        std::uint32_t count = 0;
        GameWinner winner = GameWinner::kUnknown;
        std::int16_t year = 0;
        std::array<std::uint32_t, 25> everWhite{};  // bit x of row y: a white stone stood at (x, y)
        std::array<std::uint32_t, 25> everBlack{};
    };
    const Game& GameAt(std::size_t i) const { return games_[i]; }
    const LibraryStep* Steps(const Game& g) const { return steps_.data() + g.begin; }
    // The index of the game with id → −1 when it is not here.
    std::ptrdiff_t IndexOf(std::int64_t id) const;
    // Bytes held, for measuring.
    std::size_t MemoryUsed() const;

  private:
    int size_;
    std::vector<Game> games_;
    std::vector<LibraryStep> steps_;
};

// What a point of a pattern asks for.
enum class PatternPoint : std::uint8_t { kEmpty = 0, kWhite = 1, kBlack = 2, kAny = 3 };

// A pattern: a rectangle of points on a board of boardSize lines, 0-based, row by row.
struct Pattern {
    int boardSize = 19;
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<PatternPoint> points;  // width × height
};

// How a pattern is searched.
struct PatternQuery {
    Pattern pattern;
    bool anywhere = false;     // any translation, not only its place and its 7 images there
    bool swapColours = false;  // also with black and white exchanged
    int threads = 1;
};

// A game where the pattern stands: the first position of its main line where it does.
struct PatternHit {
    std::size_t game = 0;    // index in the store
    int move = 0;            // after this many moves (0: at the start)
    LibraryStep next = 0;    // the move played next there
    bool hasNext = false;    // false at the end of the game
    // The placement it stands in: how to bring a game's point back into the pattern's own
    // orientation and place.
    int symmetry = 0;
    bool swapped = false;
    int offsetX = 0, offsetY = 0;
};

// How often a move followed the pattern, in the pattern's own orientation and colours.
struct PatternContinuation {
    std::string move;  // "B[pd]", "W[]" for a pass, "B[?]" for a point off the pattern's board
    int count = 0;
    int blackWins = 0;  // of those games, how many black won
    std::map<int, int> years;  // year → games (0: no date)
};

// Searches store for query among the games where allowed (when not empty: one flag per game of
// the store) → every game once, at the first position where the pattern stands in one of its
// placements, in the order of the store. Each hit also goes to onHit as found (from the
// searching threads, one call at a time); cancel stops the search early.
std::vector<PatternHit> SearchPattern(const PositionStore& store, const PatternQuery& query,
                                      const std::vector<bool>& allowed = {},
                                      const std::function<void(const PatternHit&)>& onHit = {},
                                      const std::atomic<bool>* cancel = nullptr);

// The moves that followed the hits, most played first (then by move).
std::vector<PatternContinuation> Continuations(const PositionStore& store, const PatternQuery& query,
                                               const std::vector<PatternHit>& hits);

// A step as SGF in the game's own orientation: "B[pd]", "W[]" for a pass.
std::string StepSgf(LibraryStep step, int size);

// A pattern search off the calling thread: starts at once, hands each hit to onHit on its own
// thread, then onDone with all of them (cancelled or not). The store must outlive it.
// Destroying it cancels the search and waits for it.
class PatternSearchJob {
  public:
    PatternSearchJob(const PositionStore& store, PatternQuery query, std::vector<bool> allowed,
                     std::function<void(const PatternHit&)> onHit,
                     std::function<void(std::vector<PatternHit>, bool cancelled)> onDone);
    ~PatternSearchJob();
    void Cancel() { cancel_ = true; }
    void Wait();

  private:
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace velmora
