#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/EnginePosition.h"

namespace velmora {

// How long an engine thinks about one position.
struct EngineBudget {
    enum class Kind { kEngineDefault, kLevel, kVisits, kSeconds };
    Kind kind = Kind::kEngineDefault;
    double value = 0;
    // As the record stores it: "level 1", "visits 200", "seconds 2", "default".
    std::string Text() const;
};

// An engine's judgement of a position, from Black's side.
struct Evaluation {
    double blackWinrate = 50;          // percent
    bool winrateGiven = false;         // false: estimated from the score lead (BlackWinrateFromLead)
    std::optional<double> blackLead;   // points, the position as it stands
    // Engines that do not count the move to come (GNU Go's estimate_score): the lead once the
    // colour to play has played best; a move's loss is then this less the lead after it.
    std::optional<double> blackLeadAfterBest;
    std::optional<Position::Point> best;  // the engine's move for the colour to play (kNoPoint: pass)
    std::vector<Position::Point> line;    // its line from best on (best alone from engines without one)
};

// Black's chance in percent that a lead of blackLead points on a board of size lines stands
// for, for engines that estimate the score only: 100 / (1 + e^(−lead / (0.4·size))), so 5
// points are some 66% on 19 lines and 80% on 9.
double BlackWinrateFromLead(double blackLead, int size);

// What an engine offers for judging positions, best first.
enum class EngineMethod { kKataAnalyze, kLzAnalyze, kAnalyze, kGenmove, kNone };
EngineMethod MethodOf(const GtpEngine& engine);

// Tells a ready engine the budget (GNU Go's level, a time a move) → "" or why it cannot
// (Korean): a budget the engine has no means for is said, not ignored.
void SetEngineBudget(GtpEngine& engine, const EngineBudget& budget,
                     std::function<void(const QString& why)> done);

// Brings engine to position and judges it within budget: an analysis stream until its visits
// or seconds are spent (visits 200 by default), else the engine's move (reg_genmove, or genmove
// then undo) and its score estimates (estimate_score) before and after that move, the win rate
// estimated from their mean → done gets the evaluation or why not.
void EvaluatePosition(GtpEngine& engine, EngineBoard& board, const EnginePosition& position,
                      const EngineBudget& budget,
                      std::function<void(std::optional<Evaluation>, const QString& why)> done);

// For engines without a line of their own: the engine's moves after first from position, by
// genmove for each colour in turn, taken back with undo → done gets first and up to length − 1
// moves after it (fewer when the engine passes or resigns), or why not.
void ExtendLine(GtpEngine& engine, EngineBoard& board, const EnginePosition& position,
                Position::Point first, int length,
                std::function<void(std::vector<Position::Point>, const QString& why)> done);

}  // namespace velmora
