#include "record/MoveRecord.h"

namespace velmora {

bool MoveRecordsEqual(const MoveRecord& a, const MoveRecord& b) {
    return a.x == b.x && a.y == b.y && a.colour == b.colour && a.number == b.number &&
           a.flags == b.flags && a.text == b.text && a.captured.size() == b.captured.size() &&
           a.naviStones.size() == b.naviStones.size() &&
           a.properties.size() == b.properties.size();
}

}  // namespace velmora
