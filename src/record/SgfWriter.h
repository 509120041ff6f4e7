#pragma once

#include <string>
#include <string_view>

#include "record/GameInfo.h"
#include "record/GameRecord.h"
#include "record/SgfStories.h"

namespace velmora {

// The record as one line of the program's own SGF dialect, in UTF-8: the game-information root
// node (with the start position when HA's table does not place it, and the opening
// commentary), the main line, and each stored diagram as a variation right after its base
// move. What other programs' records bring (EV, main-line marks in the usual letters, kept
// properties and passes) is written where it was read. A record read from another program
// (info.standardForm) or keeping what it brings is written in the standard form: AP names this
// writer, diagram marks use the usual letters and AB names every start stone, HA's too. record
// null gives an empty body; stories non-null gives the extended form with HI numbers.
std::string SgfRecordText(const GameInfo& info, const GameRecord* record, StoryQuery* stories);

// A commentary or diagram text as a value: ( ) [ ] become （ ） ［ ］, which no reader takes for
// structure and which keep the text's meaning.
std::string CommentaryValue(const std::string& text);

// The bytes of a record file for SgfRecordText's text: CP949, or UTF-8 with CA[UTF-8] added
// when some character has no CP949 form or the CP949 bytes would be read as another encoding.
std::string SgfRecordBytes(const std::string& text);

// A coordinate as its letter: 1..19 → "a".."s", above 19 or below 0 → "z", 0 → "`" (which the
// reader maps back to 0).
char SgfLetter(int coordinate);

// Writes bytes to a temporary file in path's folder and renames it over path, so a failure
// never leaves a half-written file → false (path untouched) when anything fails.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace velmora
