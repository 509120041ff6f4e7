#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/Position.h"

namespace velmora {

// The texts of the Go Text Protocol: points as engines name them, the analysis lines engines
// stream, scores, and engine command lines.

// A point as GTP names it: column letters A–Z without I, rows counted from the bottom ("D4");
// "pass" for kNoPoint. size is the board's number of lines.
std::string GtpVertex(Position::Point point, int size);
// The point a GTP vertex names (letters in either case) → kNoPoint for "pass", nullopt for
// "resign", a point off the board or anything else.
std::optional<Position::Point> ParseGtpVertex(std::string_view text, int size);

// One move an engine considers, as an analysis line reports it. Win rates are in percent and
// score leads in points, both for the colour to play.
struct Candidate {
    Position::Point point = Position::kNoPoint;  // kNoPoint: a pass
    int visits = 0;
    double winrate = 0;
    std::optional<double> scoreLead;  // only engines that estimate the score give it
    int order = 0;                    // the engine's rank, 0 the best
    std::vector<Position::Point> line;  // the principal variation, from this move on
};

// How an analysis stream writes its win rates.
enum class WinrateScale { kFraction, kHundredthPercent };

// Parses one analysis update of kata-analyze, lz-analyze or analyze: "info move D4 visits 12
// winrate 0.52 scoreLead 1.5 … pv D4 Q16 info move …". Win rates are fractions (kata-analyze,
// 0..1) or hundredths of a percent (lz-analyze and analyze, 0..10000); keys that are not
// known are skipped with their value, and what follows pv up to the next key is the line
// (ownership data after it is left). Candidates come back in the engine's order; a candidate
// with a move that is no point of the board ends the reading.
std::vector<Candidate> ParseAnalysisLine(std::string_view line, int size, WinrateScale scale);

// A result as GTP engines and SGF's RE write it ("B+3.5", "W+12", "0", "Jigo") → Black's lead
// in points (negative when White leads); nullopt for resignations, time and anything else.
// Text after the result ("W+10.3 (upper bound: …)") is ignored.
std::optional<double> ParseGtpScore(std::string_view text);

// Black's lead as RE writes it: "B+3.5", "W+0.5", "0" for a draw.
std::string ScoreText(double blackLead);

// Splits a command line into words as a POSIX shell does, without expanding anything: blanks
// separate words, '…' keeps everything, "…" keeps all but \" \\ \$ \`, a backslash outside
// quotes takes the next character → the words, or nullopt when a quote is not closed.
std::optional<std::vector<std::string>> SplitShellWords(std::string_view text);

}  // namespace velmora
