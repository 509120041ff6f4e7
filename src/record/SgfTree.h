#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record/GameTree.h"

namespace velmora {

// SGF text to GameTree and back, with nothing of the file lost: every node, every property in
// the order read, every value. What WriteSgfTree writes, ReadSgfTree reads as the same tree.
//
// Quirks of real files handled here: identifiers spelt out in old files ("AddBlack" is AB); an
// identifier repeated in one node (its values join the first); soft line breaks written with
// any of LF, CR, CR LF, LF CR; prose around the game trees; a text that ends inside a value or
// before its last ")" (what was read is kept). Two shapes FF[4] forbids, which the program's
// own older writer made, are read as that writer meant them and reported as oldLayout: a
// variation opening without a node (its properties make a node) and nodes following a
// variation in the same sequence (they continue the line as its first child, the variation
// before them becomes a branch).

// What a read gives.
struct SgfTreeRead {
    GameTree tree;
    int games = 0;  // game trees in the text; 0: no SGF record at all
    int game = 1;   // which was read (1-based); out of 1..games nothing is read
    bool oldLayout = false;
    // Where the game read begins (its "(") and ends (just past its ")"); end is npos when the
    // text ends inside the game.
    std::size_t begin = std::string_view::npos;
    std::size_t end = std::string_view::npos;
    // The "[" of a value the text ends in; npos when every value was closed.
    std::size_t unclosedValue = std::string_view::npos;
};

// Reads game tree number game (1-based) of a UTF-8 record text. Never fails; see games.
SgfTreeRead ReadSgfTree(std::string_view text, int game = 1);

// Where each game tree of text begins (its "("), in order, without building any of them.
std::vector<std::size_t> SgfGameStarts(std::string_view text);

// The index just past the value opened by the "[" at open, escapes skipped; npos when the text
// ends first.
std::size_t PastSgfValue(std::string_view text, std::size_t open);

// A value as the file holds it, escapes resolved and soft line breaks removed.
std::string UnescapeSgfValue(std::string_view raw);

// Appends value to out as a file holds it: "\" and "]" escaped.
void AppendSgfValue(std::string& out, std::string_view value);

// The tree as one game tree on one line: "(;…)", each property once a node with all its values,
// a branch point's children each in parentheses, the first child first. Walks with a stack of
// its own: a line of any length is written.
std::string WriteSgfTree(const GameTree& tree);

// WriteSgfTree of the subtree from n, as a game tree of its own (n its root).
std::string WriteSgfBranch(const GameTree& tree, NodeId n);

}  // namespace velmora
