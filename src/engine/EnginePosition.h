#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "record/GameTree.h"
#include "record/Position.h"

namespace velmora {

class GtpEngine;

// A stone or move for an engine: its point (kNoPoint for a pass) and colour (1 white, 2 black).
struct EngineStone {
    Position::Point point = Position::kNoPoint;
    int colour = kBlack;
    bool operator==(const EngineStone&) const = default;
};

// A position as an engine is told it, whatever record it came from: the board, komi and
// rules, the stones set up, then the moves played since.
struct EnginePosition {
    int size = kDefaultBoardSize;
    double komi = 0;
    std::string rules;  // as kata-set-rules names them ("korean", "japanese", "chinese", …); "" none
    std::vector<EngineStone> stones;  // set-up stones (handicap included), in board order
    std::vector<EngineStone> moves;
    int toPlay = kBlack;

    // Same board, komi, rules and stones: the same game, perhaps at another move.
    bool SameStart(const EnginePosition& other) const {
        return size == other.size && komi == other.komi && rules == other.rules &&
               stones == other.stones;
    }
};

// A point as SGF writes it ("cd"), "" for kNoPoint (a pass).
std::string SgfPointText(Position::Point point);

// The board size a record names (SZ), kDefaultBoardSize when it names none; nullopt when SZ
// names no square board of kMinBoardSize..kMaxBoardSize lines.
std::optional<int> RecordBoardSize(const GameTree& tree);

// The position at node of tree (its move played). The set-up of the last node on the path
// with AB, AW or AE (or the root's HA without AB: the usual handicap points) becomes the
// stones, with the board as it stands there; the moves after it are the moves. A move the
// rules refuse ends the moves in the same way: the board then is set up as it is.
EnginePosition EnginePositionAt(const GameTree& tree, NodeId node);

// Brings an engine to a position by the fewest commands: the moves still missing when it holds
// the same game at an earlier move, else all of it from the empty board. Set-up stones go by
// loadsgf of a temporary file where the engine has it, else by set_free_handicap for black
// stones alone, else as moves with passes between (warned about when that cannot make them).
class EngineBoard {
  public:
    // done gets "" once the engine holds to, or why not (Korean): a size, rule or move the
    // engine refused is said with its answer. warn gets what may differ from the record.
    void Bring(GtpEngine& engine, const EnginePosition& to,
               std::function<void(const QString& why)> done);
    std::function<void(const QString& warning)> warn;
    // Forgets what the engine holds: the next Bring starts from the empty board.
    void Forget() { held_.reset(); }

  private:
    std::optional<EnginePosition> held_;
};

}  // namespace velmora
