#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/GameInfo.h"

namespace velmora {

// One step of a record as the board replays it: the program's own dialect, a flat main line
// with each reference diagram opened and closed where it belongs.
struct SgfEvent {
    enum Kind { kProperty, kOpenVariation, kCloseVariation };
    Kind kind = kProperty;
    std::string id;     // the property identifier (";", "(", ")" and white space removed)
    std::string value;  // the value with its escapes resolved
    bool operator==(const SgfEvent&) const = default;
};

// A record text taken apart, before anything is replayed.
struct SgfDocument {
    std::vector<SgfEvent> events;
    // Side branches nested inside other programs' variations, which the record cannot hold.
    int droppedVariations = 0;
    // The handicap the game information ends with: the last HA value that is not negative
    // (atoi rules); 0 when there is none.
    int handicap = 0;
    // Not empty when the record is refused (a board other than 19×19); nothing is to change.
    std::string refusal;
};

// Decodes a record file's bytes to UTF-8: the encoding of its CA property, else UTF-8 when the
// bytes are valid UTF-8 (a byte-order mark dropped), else CP949; bytes no encoding accepts
// become "?". Line ends become "\n".
std::string DecodeRecordBytes(std::string_view bytes);

// The whole file at path, decoded → nullopt when it cannot be opened.
std::optional<std::string> ReadRecordFile(const std::string& path);

// Takes a UTF-8 record text apart: the first game after the first "(", values between "[" and
// "]" with FF[4] escapes, identifiers between values (an empty one repeats the previous one),
// other programs' game trees turned into main line and diagrams. Never fails; see refusal.
SgfDocument ParseSgfText(std::string_view text);

// C's atoi: optional white space and sign, then digits; no digits give 0 (clamped to int).
int AtoI(std::string_view text);

// The value of one coordinate letter: "a".."s" → 1..19, "z" → −10, anything else 0.
int SgfCoordinate(char letter);
// The point (x, y) of a value's first two characters; a missing character gives 0.
void SgfPointOf(std::string_view value, int& x, int& y);

// Applies a game-information property (PB, PW, PC, RE, GN, EV, DT, KM, HA, TM, OT) to info
// → false when id is none of them.
bool ApplyGameInfoProperty(GameInfo& info, const std::string& id, const std::string& value);

}  // namespace velmora
