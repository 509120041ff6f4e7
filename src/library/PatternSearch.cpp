#include "library/PatternSearch.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <tuple>

namespace velmora {

void PositionStore::Add(std::int64_t id, GameWinner winner, int year, const LibraryStep* steps,
                        std::size_t count) {
    Game g;
    g.id = id;
    g.begin = static_cast<std::uint32_t>(steps_.size());
    g.count = static_cast<std::uint32_t>(count);
    g.winner = winner;
    g.year = static_cast<std::int16_t>(year);
    for (std::size_t i = 0; i < count; ++i) {
        const int p = StepPoint(steps[i]);
        if (p == kStepNoPoint || p >= size_ * size_) continue;
        const int c = StepColour(steps[i]);
        if (c == 0 || (steps[i] & kStepRefused)) continue;
        (c == 1 ? g.everWhite : g.everBlack)[p / size_] |= 1u << (p % size_);
    }
    steps_.insert(steps_.end(), steps, steps + count);
    games_.push_back(g);
}

std::ptrdiff_t PositionStore::IndexOf(std::int64_t id) const {
    const auto at = std::lower_bound(games_.begin(), games_.end(), id,
                                     [](const Game& g, std::int64_t v) { return g.id < v; });
    return at != games_.end() && at->id == id ? at - games_.begin() : -1;
}

std::size_t PositionStore::MemoryUsed() const {
    return games_.capacity() * sizeof(Game) + steps_.capacity() * sizeof(LibraryStep);
}

std::string StepSgf(LibraryStep step, int size) {
    std::string text = StepColour(step) == 1 ? "W[" : "B[";
    if (const int p = StepPoint(step); p != kStepNoPoint) {
        text += static_cast<char>('a' + p % size);
        text += static_cast<char>('a' + p / size);
    }
    return text + "]";
}

namespace {

struct Cell {
    std::uint8_t dx = 0, dy = 0, want = 0;
    bool operator<(const Cell& o) const { return std::tie(dy, dx, want) < std::tie(o.dy, o.dx, o.want); }
    bool operator==(const Cell&) const = default;
};

// The pattern under one symmetry (and colour exchange), with the offsets where it may lie.
struct Shape {
    int symmetry = 0;
    bool swapped = false;
    int w = 0, h = 0;
    std::vector<Cell> cells;                // stones first, then empty points; "any" left out
    std::array<std::vector<Cell>, 3> byWant;  // the cells by what they ask for
    std::size_t stones = 0;                   // the cells asking for a stone, first in cells
    std::array<std::uint32_t, 25> allowed{};  // bit ox of row oy: the offset may be tried
    // Row r of the shape as bits from its left edge: the points it asks something of, and of
    // those the ones asking for black and for white.
    std::array<std::uint32_t, 28> care{}, black{}, white{};
};

std::vector<Shape> MakeShapes(const PatternQuery& q) {
    const Pattern& p = q.pattern;
    const int n = p.boardSize;
    std::vector<Shape> shapes;
    for (int swap = 0; swap < (q.swapColours ? 2 : 1); ++swap) {
        for (int s = 0; s < 8; ++s) {
            Shape shape;
            shape.symmetry = s;
            shape.swapped = swap == 1;
            shape.w = s & 4 ? p.height : p.width;
            shape.h = s & 4 ? p.width : p.height;
            for (int y = 0; y < p.height; ++y) {
                for (int x = 0; x < p.width; ++x) {
                    int want = static_cast<int>(p.points[static_cast<std::size_t>(y * p.width + x)]);
                    if (want == static_cast<int>(PatternPoint::kAny)) continue;
                    if (swap && want != 0) want = 3 - want;
                    int tx = x;
                    int ty = y;
                    ApplySymmetry(s, p.width, p.height, tx, ty);
                    shape.cells.push_back({static_cast<std::uint8_t>(tx), static_cast<std::uint8_t>(ty),
                                           static_cast<std::uint8_t>(want)});
                }
            }
            std::sort(shape.cells.begin(), shape.cells.end());
            if (q.anywhere) {
                for (int oy = 0; oy + shape.h <= n; ++oy)
                    shape.allowed[oy] = n - shape.w + 1 >= 32 ? ~0u : (1u << (n - shape.w + 1)) - 1;
            } else {
                int ox = p.left;
                int oy = p.top;
                int fx = p.left + p.width - 1;
                int fy = p.top + p.height - 1;
                ApplySymmetry(s, n, n, ox, oy);
                ApplySymmetry(s, n, n, fx, fy);
                shape.allowed[std::min(oy, fy)] = 1u << std::min(ox, fx);
            }
            // A symmetric pattern gives a shape twice; in place, only when it lies on the same
            // points too (elsewhere it stands for another image, which continuations map
            // back by its own symmetry).
            const bool again = std::any_of(shapes.begin(), shapes.end(), [&](const Shape& o) {
                return o.w == shape.w && o.h == shape.h && o.cells == shape.cells &&
                       (q.anywhere || o.allowed == shape.allowed);
            });
            if (!again) shapes.push_back(std::move(shape));
        }
    }
    for (Shape& shape : shapes) {
        std::stable_partition(shape.cells.begin(), shape.cells.end(), [](const Cell& c) { return c.want != 0; });
        for (const Cell& c : shape.cells) {
            shape.stones += c.want != 0;
            shape.byWant[c.want].push_back(c);
            shape.care[c.dy] |= 1u << c.dx;
            if (c.want == 2) shape.black[c.dy] |= 1u << c.dx;
            if (c.want == 1) shape.white[c.dy] |= 1u << c.dx;
        }
    }
    return shapes;
}

// One searching thread's work space.
class Searcher {
  public:
    Searcher(const PositionStore& store, const std::vector<Shape>& shapes)
        : store_(store), shapes_(shapes), n_(store.Size()), viable_(shapes.size()) {
        for (const Shape& s : shapes) stoneless_ = stoneless_ && s.byWant[1].empty() && s.byWant[2].empty();
    }

    // The first position of game i where a shape stands → whether there is one.
    bool Search(std::size_t i, PatternHit& hit) {
        const PositionStore::Game& g = store_.GameAt(i);
        for (auto& list : triggers_) list.clear();
        bool any = false;
        for (std::size_t k = 0; k < shapes_.size(); ++k) {
            if (!Viable(shapes_[k], g, viable_[k])) continue;
            any = true;
            for (int colour = 0; colour < 3; ++colour)
                for (const Cell& c : shapes_[k].byWant[colour])
                    triggers_[colour].push_back({static_cast<std::uint16_t>(k), c.dx, c.dy});
        }
        if (!any) return false;
        black_.fill(0);
        white_.fill(0);
        pendingCount_ = 0;
        const LibraryStep* steps = store_.Steps(g);
        int move = 0;
        bool started = false;
        bool setUp = false;
        for (std::uint32_t j = 0; j <= g.count; ++j) {
            const bool end = j == g.count;
            const LibraryStep step = end ? 0 : steps[j];
            if (end || IsMoveStep(step)) {
                // The position after `move` moves is complete: is the pattern there?
                if (!started && (setUp || stoneless_)) AllViable();
                started = true;
                for (std::size_t c = 0; c < pendingCount_; ++c) {
                    const auto [k, ox, oy] = pending_[c];
                    if (!Stands(shapes_[k], ox, oy)) continue;
                    hit = PatternHit{i, move, step, !end, shapes_[k].symmetry, shapes_[k].swapped, ox, oy};
                    return true;
                }
                pendingCount_ = 0;
                if (end) break;
                ++move;
                if (step & kStepRefused) continue;
            } else if (!started) {
                setUp = true;
            }
            const int p = StepPoint(step);
            if (p == kStepNoPoint) continue;
            const int x = p % n_;
            const int y = p / n_;
            const std::uint32_t bit = 1u << x;
            const int colour = StepColour(step);
            black_[y] = colour == 2 ? black_[y] | bit : black_[y] & ~bit;
            white_[y] = colour == 1 ? white_[y] | bit : white_[y] & ~bit;
            if (started) Changed(x, y, colour);
        }
        return false;
    }

  private:
    using Rows = std::array<std::uint32_t, 25>;
    struct Placement {
        int k, ox, oy;
    };

    // The offsets where shape may stand at some time of g, judged by its stones → any.
    bool Viable(const Shape& shape, const PositionStore::Game& g, Rows& viable) const {
        std::uint32_t any = 0;
        viable.fill(0);
        for (int oy = 0; oy + shape.h <= n_; ++oy) {
            std::uint32_t m = shape.allowed[oy];
            // Stones first in cells; a whole board is mostly refused by its first few.
            for (std::size_t c = 0; m && c < shape.stones; ++c) {
                const Cell& cell = shape.cells[c];
                m &= (cell.want == 2 ? g.everBlack : g.everWhite)[oy + cell.dy] >> cell.dx;
            }
            viable[oy] = m;
            any |= m;
        }
        return any != 0;
    }

    void AllViable() {
        for (std::size_t k = 0; k < shapes_.size(); ++k)
            for (int oy = 0; oy < 25; ++oy)
                for (std::uint32_t m = viable_[k][oy]; m; m &= m - 1)
                    Pend({static_cast<int>(k), __builtin_ctz(m), oy});
    }

    void Pend(const Placement& p) {
        if (pendingCount_ == pending_.size()) pending_.resize(pending_.size() * 2 + 64);
        pending_[pendingCount_++] = p;
    }

    // Point (x, y) became colour: the placements that may stand now because of it. Written
    // without branches on the viable bits, which no predictor guesses.
    void Changed(int x, int y, int colour) {
        const std::vector<Trigger>& triggers = triggers_[colour];
        if (pendingCount_ + triggers.size() > pending_.size()) pending_.resize(pending_.size() * 2 + triggers.size());
        Placement* out = pending_.data() + pendingCount_;
        for (const Trigger& t : triggers) {
            const unsigned ox = static_cast<unsigned>(x - t.dx);
            const unsigned oy = static_cast<unsigned>(y - t.dy);
            const bool inside = ox < 32 && oy < 25;
            *out = {t.k, static_cast<int>(ox), static_cast<int>(oy)};
            out += inside & ((viable_[t.k][inside ? oy : 0] >> (ox & 31)) & 1u);
        }
        pendingCount_ = static_cast<std::size_t>(out - pending_.data());
    }

    // Whether shape stands at (ox, oy); rows are compared in threes without a branch.
    bool Stands(const Shape& shape, int ox, int oy) const {
        for (int r = 0; r < shape.h; r += 3) {
            std::uint32_t wrong = 0;
            for (int i = r; i < r + 3; ++i)  // rows past the shape care for nothing
                wrong |= (((black_[oy + i] >> ox) & shape.care[i]) ^ shape.black[i]) |
                         (((white_[oy + i] >> ox) & shape.care[i]) ^ shape.white[i]);
            if (wrong) return false;
        }
        return true;
    }

    const PositionStore& store_;
    const std::vector<Shape>& shapes_;
    int n_;
    bool stoneless_ = true;
    std::vector<Rows> viable_;
    // By the colour a point became, the points of the shapes still possible that ask for it.
    struct Trigger {
        std::uint16_t k;
        std::uint8_t dx, dy;
    };
    std::array<std::vector<Trigger>, 3> triggers_;
    std::vector<Placement> pending_;
    std::size_t pendingCount_ = 0;
    // The position, a row a word; rows past the board stay empty for Stands to read.
    std::array<std::uint32_t, 28> black_{}, white_{};
};

}  // namespace

std::vector<PatternHit> SearchPattern(const PositionStore& store, const PatternQuery& query,
                                      const std::vector<bool>& allowed,
                                      const std::function<void(const PatternHit&)>& onHit,
                                      const std::atomic<bool>* cancel) {
    const Pattern& p = query.pattern;
    if (p.boardSize != store.Size() || p.width < 1 || p.height < 1 || p.left < 0 || p.top < 0 ||
        p.left + p.width > p.boardSize || p.top + p.height > p.boardSize ||
        p.points.size() != static_cast<std::size_t>(p.width * p.height))
        return {};
    const std::vector<Shape> shapes = MakeShapes(query);
    constexpr std::size_t kBlock = 512;
    std::atomic<std::size_t> nextBlock{0};
    std::mutex mutex;
    std::vector<PatternHit> hits;
    const auto work = [&] {
        Searcher searcher(store, shapes);
        std::vector<PatternHit> mine;
        for (;;) {
            if (cancel && *cancel) break;
            const std::size_t begin = nextBlock.fetch_add(kBlock);
            if (begin >= store.GameCount()) break;
            const std::size_t end = std::min(store.GameCount(), begin + kBlock);
            for (std::size_t i = begin; i < end; ++i) {
                if (!allowed.empty() && !allowed[i]) continue;
                PatternHit hit;
                if (!searcher.Search(i, hit)) continue;
                mine.push_back(hit);
                if (onHit) {
                    const std::lock_guard lock(mutex);
                    onHit(hit);
                }
            }
        }
        const std::lock_guard lock(mutex);
        hits.insert(hits.end(), mine.begin(), mine.end());
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < query.threads; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
    std::sort(hits.begin(), hits.end(), [](const PatternHit& a, const PatternHit& b) { return a.game < b.game; });
    return hits;
}

std::vector<PatternContinuation> Continuations(const PositionStore& store, const PatternQuery& query,
                                               const std::vector<PatternHit>& hits) {
    const Pattern& p = query.pattern;
    const int n = store.Size();
    // The pattern's own symmetries (those that leave it, and in place its rectangle, as it
    // is): a move and its images under them are one continuation, named by the least.
    std::vector<int> own;
    for (int s = 0; s < 8; ++s) {
        if ((s & 4) && p.width != p.height) continue;
        int ax = p.left, ay = p.top, bx = p.left + p.width - 1, by = p.top + p.height - 1;
        ApplySymmetry(s, n, n, ax, ay);
        ApplySymmetry(s, n, n, bx, by);
        if (!query.anywhere && (std::min(ax, bx) != p.left || std::min(ay, by) != p.top)) continue;
        bool same = true;
        for (int y = 0; same && y < p.height; ++y) {
            for (int x = 0; same && x < p.width; ++x) {
                int tx = x, ty = y;
                ApplySymmetry(s, p.width, p.height, tx, ty);
                same = p.points[static_cast<std::size_t>(y * p.width + x)] ==
                       p.points[static_cast<std::size_t>(ty * p.width + tx)];
            }
        }
        if (same) own.push_back(s);
    }
    std::map<std::string, PatternContinuation> byMove;
    for (const PatternHit& hit : hits) {
        if (!hit.hasNext) continue;
        int colour = StepColour(hit.next);
        if (hit.swapped) colour = 3 - colour;
        std::string move = colour == 1 ? "W[" : "B[";
        if (const int point = StepPoint(hit.next); point != kStepNoPoint) {
            int x = point % n - hit.offsetX;
            int y = point / n - hit.offsetY;
            InvertSymmetry(hit.symmetry, p.width, p.height, x, y);
            int bestX = x, bestY = y;
            for (const int s : own) {
                int tx = x, ty = y;
                ApplySymmetry(s, p.width, p.height, tx, ty);
                if (std::pair{tx, ty} < std::pair{bestX, bestY}) bestX = tx, bestY = ty;
            }
            x = bestX + p.left;
            y = bestY + p.top;
            if (x < 0 || y < 0 || x >= n || y >= n) {
                move += '?';
            } else {
                move += static_cast<char>('a' + x);
                move += static_cast<char>('a' + y);
            }
        }
        move += ']';
        PatternContinuation& c = byMove[move];
        c.move = move;
        ++c.count;
        const PositionStore::Game& g = store.GameAt(hit.game);
        const GameWinner black = hit.swapped ? GameWinner::kWhite : GameWinner::kBlack;
        if (g.winner == black) ++c.blackWins;
        ++c.years[g.year];
    }
    std::vector<PatternContinuation> list;
    for (auto& [move, c] : byMove) list.push_back(std::move(c));
    std::stable_sort(list.begin(), list.end(),
                     [](const PatternContinuation& a, const PatternContinuation& b) { return a.count > b.count; });
    return list;
}

PatternSearchJob::PatternSearchJob(const PositionStore& store, PatternQuery query, std::vector<bool> allowed,
                                   std::function<void(const PatternHit&)> onHit,
                                   std::function<void(std::vector<PatternHit>, bool)> onDone)
    : thread_([this, &store, query = std::move(query), allowed = std::move(allowed),
               onHit = std::move(onHit), onDone = std::move(onDone)] {
          std::vector<PatternHit> hits = SearchPattern(store, query, allowed, onHit, &cancel_);
          if (onDone) onDone(std::move(hits), cancel_);
      }) {}

PatternSearchJob::~PatternSearchJob() {
    Cancel();
    Wait();
}

void PatternSearchJob::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmora
