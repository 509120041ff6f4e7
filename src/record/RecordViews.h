#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record/GameInfo.h"
#include "record/GameTree.h"
#include "record/MoveRecord.h"

namespace velmora {

// What the record shows of its game tree: the main line, the reference diagrams and the game
// information are read off the tree, never kept beside it.
//
// The main line runs from the root through the continuation of each node: its first child that
// opens no reference diagram. Main-line move n is the n-th node with a move (B or W) on it; at
// move n the board shows that node and the nodes without a move that follow it (its group).
// Move 0 is the root and what follows it before the first move.

// Whether n holds a move (B or W, a pass included).
bool HasMove(const GameTree& tree, NodeId n);

// Whether comment begins with a kind word and "-" ("참고도-…"), as a diagram's text does.
bool BeginsWithKindWord(std::string_view comment);

// Whether n opens a reference diagram made here: a node without a move whose comment begins
// with a kind word and "-".
bool IsKindNode(const GameTree& tree, NodeId n);

// The child that continues n's line: its first child that is no kind node; kNoNode when none.
NodeId Continuation(const GameTree& tree, NodeId n);

// The nodes of the main line's moves: [0] the root, [n] the node of move n.
std::vector<NodeId> MainLineMoves(const GameTree& tree);

// The last node of the group that starts at n: the node before the next one with a move along
// the continuations, or the line's end.
NodeId GroupEnd(const GameTree& tree, NodeId n);

// A reference diagram as the tree holds it: a branch that leaves the main line, or another
// diagram, at some node. Its moves are those of the line from its first node down the
// continuations; a diagram that branches from another shares that one's moves up to where it
// leaves it, and counts them among its own.
struct TreeDiagram {
    NodeId first = kNoNode;  // the branch's first node
    int base = 0;            // the main-line move it is based at
    int kind = 0;            // DiagramKind
    std::string text;        // its description, without the kind word
    bool madeHere = false;   // opens with a kind node (otherwise another program's branch)
    int parent = -1;         // the diagram it branches from (index in the list), −1 none
    int branchMove = 0;      // that diagram's moves it shares
    int moves = 0;           // its moves, the shared ones included
};

// Every reference diagram in the order the tree holds them (a branch before those that branch
// from it, branches of one node in their order), which is the order they were made or read.
// mainLine is MainLineMoves(tree).
std::vector<TreeDiagram> TreeDiagrams(const GameTree& tree, const std::vector<NodeId>& mainLine);

// The nodes of diagram index's line, from the first node of the diagram it branches from at the
// top (its own first node when it branches from the main line) down the continuations to its
// end: a branch of a branch shares its parents' nodes up to where it leaves them.
std::vector<NodeId> DiagramLine(const GameTree& tree, const std::vector<TreeDiagram>& diagrams, int index);

// How a node's marks are read.
struct MarkReading {
    // Set-up stones (AB, AW) are shown as marks with their stone: a diagram's start and the
    // moves of a diagram made here. Elsewhere they are set-up, which the position applies.
    bool stonesAsMarks = false;
    // The older writer's diagrams spell a point by its 0-based index ("a" the second line);
    // every other mark uses the usual letters ("a" the first line).
    bool indexLetters = false;
};

// Adds the marks of node n to list as the board shows them (0-based points, in the order the
// node holds them): SQ, CR, TR, MA, LB (a capital label with its text), AB and AW as reading
// says; a rectangle gives each of its points. A mark replaces one of its class at its point and
// keeps a set-up stone there (PlaceMark).
void AddNodeMarks(const GameTree& tree, NodeId n, MarkReading reading, std::vector<NaviStone>& list);

// The board's number of lines the root's SZ names: its number for a square board ("19" or
// "19:19"), kDefaultBoardSize without SZ; 0 for any other value.
int DeclaredBoardSize(const GameTree& tree);
// Why a board of the SZ value the root holds cannot be opened; empty when it can.
std::string BoardSizeRefusal(const GameTree& tree);

// The game information of the root's properties (as the record's fields have them).
GameInfo RootGameInfo(const GameTree& tree);

}  // namespace velmora
