#pragma once

#include <array>
#include <string>

#include "game/BoardState.h"
#include "record/MoveRecord.h"

// Labels of the mark kinds and the steps of the mark tool (the MarkTool state is in BoardState.h).

namespace velmora {

// The label sets of mark kinds 1..4 (syllables, capitals, small letters, digits).
constexpr const char* kMarkLabelSets[4] = {
    "가나다라마바사아자차카타파하",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "abcdefghijklmnopqrstuvwxyz",
    "1234567890",
};

// The label after text in the set of kind (1..4): the next character (the second one for an
// empty text), the first one after the last or when text is not in the set; "" for the other
// kinds.
std::string NextMarkLabel(int kind, const std::string& text);

// The tool after a placement that used underlay: the next label, and the alternating colour
// set to underlay and then flipped (2 → 1, anything else → 2).
MarkTool AdvanceMarkTool(const MarkTool& tool, int underlay);

// The fixed underlay named by the underlay choice's text: "흑만" 2, "백만" 1, "기호만" or
// "문자만" −1, else 0.
int FixedUnderlayFromText(const std::string& text);

// The mark kind of the option buttons (402..410 in order): the index of the first selected
// one, 0 when none is.
int MarkKindFromOptions(const std::array<bool, 9>& selected);

// tool with the three inputs of the diagram-input controls applied: the fixed underlay from
// underlayText, kind (outside 0..8 becomes 0), and for kinds 1..4 the start text
// labelTexts[kind − 1] (empty for the other kinds). The alternating colour is kept.
MarkTool ConfigureMarkTool(const MarkTool& tool, const std::string& underlayText, int kind,
                           const std::array<std::string, 4>& labelTexts);

}  // namespace velmora
