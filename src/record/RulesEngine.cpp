#include "record/RulesEngine.h"

#include <algorithm>
#include <limits>
#include <new>

#include "record/RecordNotifier.h"

namespace velmora {

namespace {

// Neighbour order of the judgement and of the capture: left, up, right, down.
constexpr int kDx[4] = {-1, 0, 1, 0};
constexpr int kDy[4] = {0, -1, 0, 1};

// A move is judged by whether a group has no liberty, exactly one (the atari flag) or more:
// counting stops at two.
constexpr int kAtariOrMore = 2;

}  // namespace

RulesEngine::RulesEngine() { ResetRules(false); }

void RulesEngine::SetBoardSize(int n) {
    if (!IsBoardSize(n) || n == grid_.Size()) return;
    grid_.SetSize(n);
    lastMove_ = {};
    lastCapture_ = {};
    lastCaptureCount_ = 0;
    captured_.clear();
}

void RulesEngine::ResetRules(bool preserve) {
    lastMove_ = {};
    colourToPlay_ = kBlack;
    if (!preserve) lastCaptureCount_ = 0;
    grid_.Clear();
    workQueue_.clear();
}

int RulesEngine::GetCapturedStone(int n, int& x, int& y, int& colour) const {
    if (n < 1 || n > static_cast<int>(captured_.size())) return 0;
    const CapturedStone& s = captured_[n - 1];
    x = s.x;
    y = s.y;
    colour = s.colour;
    return 1;
}

void RulesEngine::AddSeeds(int x, int y) {
    for (bool up : {true, false}) {
        try {
            workQueue_.push_back({x, y, up});
        } catch (const std::bad_alloc&) {
            // The fill goes on with the seeds it has.
            NotifyRecord("이어진 돌을 다 살피지 못했습니다: 메모리가 부족합니다.");
        }
    }
}

void RulesEngine::ScanSeed(const Seed& seed, const BoardGrid& source, BoardGrid& target) {
    if (!source.OnBoard(seed.x, seed.y)) return;
    const int c = source.Get(seed.x, seed.y);
    if (c == 0) return;

    int left = seed.x;
    while (left > 1 && source.Get(left - 1, seed.y) == c) --left;
    int right = seed.x;
    while (right < source.Size() && source.Get(right + 1, seed.y) == c) ++right;

    const int ny = seed.up ? seed.y - 1 : seed.y + 1;
    const bool rowOnBoard = ny >= 1 && ny <= source.Size();
    bool previousMatched = false;
    for (int j = left; j <= right; ++j) {
        target.Set(j, seed.y, BoardGrid::kGroupMark);
        const bool matched = rowOnBoard && target.Get(j, ny) != BoardGrid::kGroupMark &&
                             source.Get(j, ny) == c;
        // One pair of seeds per stretch of matching points in the neighbouring row.
        if (matched && !previousMatched) AddSeeds(j, ny);
        previousMatched = matched;
    }
}

void RulesEngine::FillGroup(int x, int y, const BoardGrid& source, BoardGrid& target) {
    if (!source.OnBoard(x, y)) return;
    if (target.Size() != source.Size()) target.SetSize(source.Size());
    target.Clear();
    AddSeeds(x, y);
    while (!workQueue_.empty()) {
        const Seed seed = workQueue_.front();
        workQueue_.pop_front();
        ScanSeed(seed, source, target);
    }
    const int n = source.Size();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            target.Set(i, j, target.Get(i, j) == BoardGrid::kGroupMark ? source.Get(i, j) : 0);
        }
    }
}

void RulesEngine::LibertyMap(const BoardGrid& group, BoardGrid& target) {
    const int n = group.Size();
    if (target.Size() != n) target.SetSize(n);
    target.Clear();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (group.Get(i, j) == 0) continue;
            for (int k = 0; k < 4; ++k) {
                if (group.OnBoard(i + kDx[k], j + kDy[k]))
                    target.Set(i + kDx[k], j + kDy[k], BoardGrid::kLibertyMark);
            }
        }
    }
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (group.Get(i, j) != 0) target.Set(i, j, 0);
        }
    }
}

int RulesEngine::CountLiberties(const BoardGrid& board, const BoardGrid& libertyMap) {
    int count = 0;
    const int n = board.Size();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (libertyMap.Get(i, j) == BoardGrid::kLibertyMark && board.Get(i, j) == 0) ++count;
        }
    }
    if (count == 1) atariFlag_ = 1;
    return count;
}

int RulesEngine::Liberties(int x, int y, const BoardGrid& board) {
    return CountUpTo(x, y, board, std::numeric_limits<int>::max());
}

int RulesEngine::CountUpTo(int x, int y, const BoardGrid& board, int enough) {
    // A flood over the group's own stones: the count FillGroup, LibertyMap and CountLiberties
    // give, without three passes over the whole board for every judged move.
    groupStones_.clear();
    if (!board.OnBoard(x, y)) return 0;
    const int colour = board.Get(x, y);
    if (colour == 0) return 0;
    if (++stamp_ == 0) {
        stoneStamp_.fill(0);
        libertyStamp_.fill(0);
        stamp_ = 1;
    }
    auto index = [](int px, int py) { return px * BoardGrid::kSide + py; };
    stoneStamp_[index(x, y)] = stamp_;
    groupStones_.push_back({x, y});
    int count = 0;
    for (std::size_t next = 0; next < groupStones_.size(); ++next) {
        const GridPoint p = groupStones_[next];
        for (int k = 0; k < 4; ++k) {
            const int nx = p.x + kDx[k];
            const int ny = p.y + kDy[k];
            if (!board.OnBoard(nx, ny)) continue;
            const int v = board.Get(nx, ny);
            if (v == colour && stoneStamp_[index(nx, ny)] != stamp_) {
                stoneStamp_[index(nx, ny)] = stamp_;
                groupStones_.push_back({nx, ny});
            } else if (v == 0 && libertyStamp_[index(nx, ny)] != stamp_) {
                libertyStamp_[index(nx, ny)] = stamp_;
                if (++count == enough) return count;
            }
        }
    }
    if (count == 1) atariFlag_ = 1;
    return count;
}

int RulesEngine::Judge(int x, int y) {
    if (grid_.Get(x, y) != 0) return kMoveOccupied;
    // Judged on the real grid with the stone put down for the moment.
    grid_.Set(x, y, colourToPlay_);
    int result = kMoveSuicide;
    if (CountUpTo(x, y, grid_, kAtariOrMore) >= 1) {
        result = kMoveLegal;
    } else {
        // No liberty of its own: legal only when it takes the last liberty of a neighbour.
        for (int k = 0; k < 4 && result != kMoveLegal; ++k) {
            const int nx = x + kDx[k];
            const int ny = y + kDy[k];
            if (grid_.OnBoard(nx, ny) && grid_.Get(nx, ny) != colourToPlay_ &&
                CountUpTo(nx, ny, grid_, kAtariOrMore) == 0)
                result = kMoveLegal;
        }
    }
    grid_.Set(x, y, 0);
    return result;
}

bool RulesEngine::IsListed(int x, int y) const {
    for (const CapturedStone& s : captured_) {
        if (s.x == x && s.y == y) return true;
    }
    return false;
}

int RulesEngine::RemoveGroup(std::vector<GridPoint> stones, int colour, bool remove) {
    // Row by row, left to right: the order the captured list and the ko point depend on.
    std::sort(stones.begin(), stones.end(), [](const GridPoint& a, const GridPoint& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    int added = 0;
    for (const GridPoint& p : stones) {
        if (remove) grid_.Set(p.x, p.y, 0);
        lastCapture_ = p;
        if (!IsListed(p.x, p.y)) {
            captured_.push_back({p.x, p.y, colour});
            ++added;
        }
    }
    return added;
}

int RulesEngine::CaptureAroundLastMove(bool remove) {
    if (grid_.Get(lastMove_.x, lastMove_.y) != colourToPlay_) return 0;
    const int other = Opponent(colourToPlay_);
    int total = 0;
    std::array<std::uint32_t, 4> counted{};  // the stamps of the groups counted so far
    int countedGroups = 0;
    for (int k = 0; k < 4; ++k) {
        const int nx = lastMove_.x + kDx[k];
        const int ny = lastMove_.y + kDy[k];
        if (!grid_.OnBoard(nx, ny) || grid_.Get(nx, ny) != other) continue;
        // A group touching the move twice gives the same answer twice: count it once.
        const std::uint32_t mark = stoneStamp_[nx * BoardGrid::kSide + ny];
        const auto end = counted.begin() + countedGroups;
        if (std::find(counted.begin(), end, mark) != end) continue;
        // A group without liberties leaves its stones in groupStones_, which the removal takes.
        const int liberties = CountUpTo(nx, ny, grid_, kAtariOrMore);
        counted[countedGroups++] = stamp_;
        if (liberties == 0) total += RemoveGroup(groupStones_, other, remove);
    }
    return total;
}

int RulesEngine::Move(int x, int y, bool play) {
    if (!grid_.OnBoard(x, y)) return kMoveOutside;
    const GridPoint koPoint = lastCapture_;
    const int koCount = lastCaptureCount_;
    atariFlag_ = 0;
    captured_.clear();

    const int judged = Judge(x, y);
    if (judged != kMoveLegal) return judged;

    const GridPoint previousMove = lastMove_;
    lastMove_ = {x, y};
    grid_.Set(x, y, colourToPlay_);
    if (!play) grid_.SetNumber(x, y, 0);

    const int taken = CaptureAroundLastMove(play);
    lastCaptureCount_ = taken;

    if (koCount == 1 && taken == 1 && koPoint == GridPoint{x, y}) {
        // Immediate retake of a single stone: put everything back.
        grid_.Set(x, y, 0);
        grid_.Set(lastCapture_.x, lastCapture_.y, Opponent(colourToPlay_));
        lastCapture_ = koPoint;
        lastMove_ = previousMove;
        lastCaptureCount_ = 1;
        return kMoveKo;
    }
    if (!play) grid_.Set(x, y, 0);
    return atariFlag_ ? kMoveAtari : kMoveLegal;
}

void RulesEngine::Pass() {
    captured_.clear();
    atariFlag_ = 0;
    lastCaptureCount_ = 0;
}

int RulesEngine::CheckMove(int x, int y) { return Move(x, y, false); }

int RulesEngine::PlayMove(int x, int y) { return Move(x, y, true); }

}  // namespace velmora
