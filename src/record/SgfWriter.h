#pragma once

#include <string>
#include <string_view>

#include "record/GameInfo.h"
#include "record/GameRecord.h"
#include "record/SgfStories.h"

namespace velmora {

// The record as one line of valid FF[4], in UTF-8 with CA[UTF-8] in its header, before SZ
// (the older writer had none there): the game-information root node (with the start position,
// HA's table stones named by AB, and the opening commentary), then the main line. At each move
// where diagrams are based the main line's rest is the first child and each diagram a further
// child, in key order. A diagram made here opens with a node without a move holding
// "<kind word>-<text>" (DiagramComment), its start marks and stories; each of its move nodes
// holds the move's comment, marks and stories. A diagram made here that branches from another
// (its parent) is a further child of the parent's node where it branches, after the parent's own
// continuation, opening with a node of kind and text only when those differ from the parent's;
// it is written whole when it no longer shares the parent's moves up to there. Another program's
// branches (asRead) are written
// back as they were read, their lines joined into one tree again. Marks use the usual letters
// ("aa" the first point). AP names this writer. What other programs' records bring (EV, kept
// properties, passes) is written where it was read. record null gives an empty body; stories
// non-null gives the extended form with HI numbers.
std::string SgfRecordText(const GameInfo& info, const GameRecord* record, StoryQuery* stories);

// A coordinate of a board of size lines as its letter: 1..size → "a".., above size or below 0
// → "z", 0 → "`" (which the reader maps back to 0).
char SgfLetter(int coordinate, int size);

}  // namespace velmora
