#pragma once

#include <array>
#include <optional>
#include <string>

#include "record/GameInfo.h"

namespace velmora {

// The eight game-information texts of a printed page's header, in the header's order.
enum PrintText : int {
    kPrintGameName = 0,
    kPrintPlace,
    kPrintDate,         // the filled ones of year, month and day, joined by "-"
    kPrintTimeLimit,    // "1시간30초": each unit only beside a filled field
    kPrintBlackPlayer,  // "이름(3단)", the name or the rank alone when the other is empty
    kPrintWhitePlayer,
    kPrintKomiHandicap,  // "6.5/3점접바둑", the komi alone without a handicap, "" for neither
    kPrintResult,
    kPrintTextCount
};
using PrintTexts = std::array<std::string, kPrintTextCount>;

// The game name as the panes and pages show it: the event (EV) and the game name (GN) joined
// by a space, either alone when the other is empty or both are the same.
std::string ShownGameName(const GameInfo& info);

// The print header's texts of info (indexed by PrintText).
PrintTexts MakePrintTexts(const GameInfo& info);

// What the view pane shows of the game information (texts 1100–1108).
struct ViewTexts {
    std::string gameName;
    std::optional<std::string>
        black;  // "이름(3단)"; none for an empty name (the text stays as it was)
    std::optional<std::string> white;
    std::string date;  // as the file wrote it, or from the boxes: "1846-09-11"
    std::string place;
    std::string mainTime;      // "1시간30초": each unit only beside a filled field
    std::string overtime;      // "%s분%s초%s회", likewise
    std::string komiHandicap;  // as kPrintKomiHandicap
    std::string result;
};

// The view pane's texts of info.
ViewTexts MakeViewTexts(const GameInfo& info);

// The handicap a choice of the handicap list names: 0 for a text with "호선", else 1 with
// "정선", else its leading decimal number ("3점접바둑" → 3), 0 when it has none.
int HandicapFromChoice(const std::string& text);

}  // namespace velmora
