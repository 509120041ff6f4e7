#pragma once

#include "platform/RankText.h"  // RankText, RankChoices: shared with the grade combo box
#include "record/MoveRecord.h"

#include <string>
#include <vector>

namespace velmora {

// The game information of a record: twenty texts, empty for a new record, each kept exactly
// as read (no trimming, no validation), then what other programs' records add. The
// application's SgfFile holds the one instance.
struct GameInfo {
    std::string blackName;
    std::string whiteName;
    std::string blackSecondText;  // carried from file to file only
    std::string whiteSecondText;
    std::string blackRank;
    std::string whiteRank;
    std::string result;
    std::string gameName;
    std::string place;
    std::string year;
    std::string month;
    std::string day;
    std::string komiText;
    std::string handicapText;  // HandicapText: "호선", "정선" or "%d점접바둑"
    std::string mainTimeHours;
    std::string mainTimeMinutes;
    std::string mainTimeSeconds;
    std::string overtimeMinutes;
    std::string overtimeSeconds;
    std::string overtimeCountText;
    std::string event;  // EV, beside the game name (GN) rather than in its place
    // The file named the player alone (PB[name], as other programs do), so the name is written
    // back alone, with the rank as BR/WR, not as the program's "name:second:rank".
    bool blackNameAlone = false;
    bool whiteNameAlone = false;
    // BR and WR as the file wrote them ("9d"): the ranks above hold the program's own words
    // ("9단"), and while they still say the same, the file's words are written back.
    std::string blackRankAsRead;
    std::string whiteRankAsRead;
    // Root properties of another program's record that have no field here, in reading order.
    std::vector<KeptProperty> otherProperties;
    // The file's games after this one, as read: saving writes them back after it.
    std::string laterGames;
    // Read from another program's record (or one this program wrote naming itself in AP);
    // every save now writes the form other programs read, whatever this says.
    bool standardForm = false;
    // The file's games before this one, as read: saving writes them back before it.
    std::string earlierGames;
    // DT as the file wrote it (several dates, another program's words): written back while
    // the date boxes (year, month, day) are untouched, and emptied once the user edits one of them.
    std::string dateAsRead;
};

}  // namespace velmora
