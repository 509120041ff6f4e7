#pragma once

#include <map>
#include <string>
#include <vector>

namespace velmora {

// Marks of a NaviStone.
enum NaviKind : int {
    kNaviStoneOnly = 0,  // a set-up stone without a mark
    kNaviLabelSyllable = 1,
    kNaviLabelCapital = 2,
    kNaviLabelSmall = 3,
    kNaviLabelDigit = 4,
    kNaviTriangle = 5,
    kNaviSquare = 6,
    kNaviCircle = 7,
    kNaviCross = 8,
};

// What a mark is as a file writes it: every label one LB, each shape its own, a stone alone a
// stone. A point holds at most one mark of each class.
inline int MarkClass(int kind) {
    return kind >= kNaviLabelSyllable && kind <= kNaviLabelDigit ? kNaviLabelSyllable : kind;
}

// A mark or set-up stone shown with a move of a reference diagram. Its point is the board
// control's 0-based point index (0..18), unlike the 1-based points of moves.
struct NaviStone {
    int x = 0;
    int y = 0;
    int underlay = -1;  // −1 no stone, 1 a white stone, 2 a black stone placed with the mark
    int kind = kNaviStoneOnly;  // NaviKind
    std::string text;           // the label (kinds 1..4), otherwise empty
    bool operator==(const NaviStone&) const = default;
};

// Puts stone into list: removes the mark of its class (MarkClass) at its point, then appends it;
// marks of other classes stay. With keepStone, a mark for a point whose only entry so far is a
// set-up stone becomes that stone's mark, and a mark never hides the set-up stone it replaces.
void PlaceMark(std::vector<NaviStone>& list, const NaviStone& stone, bool keepStone);

// A property of another program's record that this program has no place for (a node name, a
// time left, …), kept as read so that saving writes it back. The id ";" starts a node of its
// own (a node without a stone, or a pass) within the run of kept properties.
struct KeptProperty {
    std::string id;
    std::string value;
    bool operator==(const KeptProperty&) const = default;
};

// What the reader hands over as kept properties for what the record holds in its own fields
// (whoever replays a read passes every property it has no place for to AddKeptProperty). No
// identifier of a file holds ";", so neither can come from one.
inline constexpr const char* kMoveCommentId = ";C";  // the comment of the move just stored
inline constexpr const char* kBranchAsReadId = ";A";  // the open diagram is another program's
inline constexpr const char* kKeptCommentId = ";K";  // a comment kept where it stands, as C
// Where the open diagram leaves the line it branches from; the value is that line's number
// among the document's diagram lines (0 the first), which was read before it.
inline constexpr const char* kBranchPointId = ";N";

// A stone a move took off the board, with what it showed, so that stepping back restores it.
struct CapturedEntry {
    int x = 0;
    int y = 0;
    int colour = 0;
    int number = 0;
    int flags = 0;
    std::string text;
};

// One stored move of the main line or of a reference diagram. A pass is a move at (0, 0): it
// has its number, colour and comment but no stone. A move of a file the rules refused keeps its
// place and number too, flagged not played, and puts no stone.
struct MoveRecord {
    int x = 0;       // 1..19; 0 with y = 0 for a pass
    int y = 0;       // 1..19
    int colour = 0;  // 1 white, 2 black
    int number = 0;  // the number shown on the stone (diagram moves count from the base)
    int flags = 0;   // display flags: 1 main-line move, 9 diagram move
    std::string text;  // the commentary (해설), possibly empty
    std::vector<CapturedEntry> captured;
    std::vector<NaviStone> naviStones;  // main-line moves: 0-based like a diagram's marks
    std::vector<KeptProperty> properties;  // written back after the move's own properties
    // 0 for a move that stands (or a pass); otherwise why the rules refused it when the file
    // was read (a MoveResult: kMoveOccupied, kMoveSuicide, kMoveKo, kMoveOutside).
    int notPlayed = 0;
    // The value of a move not played whose point the letters cannot give back (off the
    // board), written back as read; empty otherwise.
    std::string valueAsRead;
};

// Whether move is a pass: no point, and not a refused move.
inline bool IsPassMove(const MoveRecord& move) {
    return move.x == 0 && move.y == 0 && move.notPlayed == 0;
}
// Whether move puts a stone on the board (neither a pass nor a move not played).
inline bool PutsStone(const MoveRecord& move) {
    return move.notPlayed == 0 && !IsPassMove(move);
}
// What the panes say of a move that puts no stone: "흑 패스", "백 패스", or "둘 수 없는 수"
// with the reason when known; empty for a move that stands.
std::string MoveStateText(const MoveRecord& move);

// The record's own equality of moves: point, colour, number, flags, text and whether it was
// played equal, the kept properties equal (what another program's file holds must not make two
// branches one), and the other lists of the same length (their contents are not compared).
bool MoveRecordsEqual(const MoveRecord& a, const MoveRecord& b);

// Moves by number: main-line move n is the n-th move of the game; diagram moves count from 1.
using MainLine = std::map<int, MoveRecord>;

}  // namespace velmora
