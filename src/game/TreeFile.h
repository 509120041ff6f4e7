#pragma once

#include <optional>
#include <string>
#include <vector>

#include "record/BoardGrid.h"
#include "record/GameInfo.h"
#include "record/Position.h"
#include "record/SgfTree.h"

namespace velmora {

// A record file read into its game tree, once, with what the user should know of the read.
struct TreeRecord {
    SgfTreeRead read;
    GameInfo info;                       // the root's game information
    int size = kDefaultBoardSize;        // the board's lines
    std::vector<NodeId> mainLine;        // MainLineMoves of the tree
    // HA's table stones, placed where the file leaves them to HA: the program's own older
    // records (see LoadTreeRecord). Empty for any other file, which is read as written.
    std::vector<GridPoint> handicapStones;
    std::string refusal;   // why the file cannot be opened; nothing else is filled then
    std::string message;   // what the user should know of the read, one note a line
    int refusedMoves = 0;  // moves the rules refuse, each node counted once
};

// Why the file at path cannot be read, for the user.
std::string UnreadableMessage(const std::string& path);
// The file at path holds no SGF record (path empty: a text that is none).
std::string NotRecordMessage(const std::string& path);

// What the user reads of a file with HA and no stones, which is opened as written.
std::string HandicapWithoutStonesNote(int handicap);

// Game number game (1-based) of the file at path, decoded (its notice among the notes) and read
// into its tree. HA places no stones: a file with HA and no AB or AW is read as written, and
// the notes say so; except the program's own older records (the old layout, or a text that opens
// exactly as its old writer's did, with no CA and no AP in the root), which left the stones to HA.
TreeRecord LoadTreeRecord(const std::string& path, int game = 1);
// LoadTreeRecord of a text already read (nullopt: the file could not be read) and its notice.
TreeRecord TreeRecordFromText(const std::string& path, const std::optional<std::string>& text,
                              std::string notice, int game);

// The position after main-line move move of record: the root's set-up, HA's table stones and
// every node up to the end of move's group.
Position TreeRecordPosition(const TreeRecord& record, int move);

}  // namespace velmora
