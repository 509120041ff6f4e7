#include "record/MoveRecord.h"

#include "record/RulesEngine.h"

namespace velmora {

bool MoveRecordsEqual(const MoveRecord& a, const MoveRecord& b) {
    return a.x == b.x && a.y == b.y && a.colour == b.colour && a.number == b.number &&
           a.flags == b.flags && a.text == b.text && a.captured.size() == b.captured.size() &&
           a.naviStones.size() == b.naviStones.size() &&
           a.properties.size() == b.properties.size() && a.notPlayed == b.notPlayed &&
           a.valueAsRead == b.valueAsRead;
}

std::string MoveStateText(const MoveRecord& move) {
    const std::string colour = move.colour == kBlack ? "흑" : move.colour == kWhite ? "백" : "";
    if (IsPassMove(move)) return colour.empty() ? "패스" : colour + " 패스";
    if (move.notPlayed == 0) return {};
    std::string text = "둘 수 없는 수";
    if (move.notPlayed == kMoveOccupied) text += ": 돌이 있는 자리";
    if (move.notPlayed == kMoveSuicide) text += ": 자충수";
    if (move.notPlayed == kMoveKo) text += ": 패를 곧바로 되땀";
    if (move.notPlayed == kMoveOutside) text += ": 판 밖의 자리";
    return text;
}

}  // namespace velmora
