#include "record/MoveRecord.h"

#include <algorithm>

#include "record/RulesEngine.h"

namespace velmora {

bool MoveRecordsEqual(const MoveRecord& a, const MoveRecord& b) {
    return a.x == b.x && a.y == b.y && a.colour == b.colour && a.number == b.number &&
           a.flags == b.flags && a.text == b.text && a.captured.size() == b.captured.size() &&
           a.naviStones.size() == b.naviStones.size() &&
           a.properties == b.properties && a.notPlayed == b.notPlayed &&
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

void PlaceMark(std::vector<NaviStone>& list, const NaviStone& stone, bool keepStone) {
    int removedUnderlay = 0;
    const auto at = [&stone](const NaviStone& s) { return s.x == stone.x && s.y == stone.y; };
    auto same = std::find_if(list.begin(), list.end(), [&](const NaviStone& s) {
        return at(s) && MarkClass(s.kind) == MarkClass(stone.kind);
    });
    if (same == list.end() && keepStone && stone.underlay == -1 &&
        std::count_if(list.begin(), list.end(), at) == 1) {
        const auto only = std::find_if(list.begin(), list.end(), at);
        if (only->kind == kNaviStoneOnly) same = only;
    }
    if (const auto it = same; it != list.end()) {
        removedUnderlay = it->underlay;
        list.erase(it);
    }
    NaviStone added = stone;
    // A mark read for a point with a set-up stone must not hide the stone.
    if (keepStone && added.underlay == -1 && (removedUnderlay == 1 || removedUnderlay == 2))
        added.underlay = removedUnderlay;
    list.push_back(std::move(added));
}


}  // namespace velmora
