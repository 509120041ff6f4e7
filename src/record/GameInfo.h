#pragma once

#include <string>
#include <vector>

namespace velmora {

// The game information of a record: twenty texts, empty for a new record, each kept exactly
// as read (no trimming, no validation). The application's SgfFile holds the one instance.
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
};

// The rank text of rank number n: 28 → "프로", 19..27 → "1단".."9단", otherwise (19 − n)"급".
std::string RankText(int n);

// The ranks offered for choice, n = 27 down to 1: "9단" … "1단", then "1급" … "18급".
std::vector<std::string> RankChoices();

}  // namespace velmora
