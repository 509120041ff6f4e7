#include "board/MarkLabels.h"

namespace velmora {

namespace {

// Bytes of one character of the label set: the syllables are two bytes in the program's
// own code page, and the steps below must count characters, so we walk UTF-8 sequences.
size_t CharLength(const std::string& s, size_t at) {
    const unsigned char c = static_cast<unsigned char>(s[at]);
    if (c < 0x80) return 1;
    if ((c >> 5) == 0x6) return 2;
    if ((c >> 4) == 0xE) return 3;
    return 4;
}

bool Contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

}  // namespace

std::string NextMarkLabel(int kind, const std::string& text) {
    if (kind < kNaviLabelSyllable || kind > kNaviLabelDigit) return {};
    const std::string set = kMarkLabelSets[kind - 1];
    const std::string first = set.substr(0, CharLength(set, 0));
    // The text is looked for at each character of the set; an empty text is found at the first
    // one, so an empty start text steps to the second character.
    for (size_t at = 0; at < set.size(); at += CharLength(set, at)) {
        if (set.compare(at, text.size(), text) != 0) continue;
        const size_t next = at + CharLength(set, at);
        if (next >= set.size()) return first;
        return set.substr(next, CharLength(set, next));
    }
    return first;
}

MarkTool AdvanceMarkTool(const MarkTool& tool, int underlay) {
    MarkTool next = tool;
    next.text = NextMarkLabel(tool.kind, tool.text);
    next.alternatingColour = underlay == kBlack ? kWhite : kBlack;
    return next;
}

int FixedUnderlayFromText(const std::string& text) {
    if (Contains(text, "흑만")) return kBlack;
    if (Contains(text, "백만")) return kWhite;
    // The mark alone, on plain wood ("문자만" is the older name of the choice).
    if (Contains(text, "기호만") || Contains(text, "문자만")) return -1;
    return 0;
}

int MarkKindFromOptions(const std::array<bool, 9>& selected) {
    for (int k = 0; k < 9; ++k) {
        if (selected[k]) return k;
    }
    return 0;
}

MarkTool ConfigureMarkTool(const MarkTool& tool, const std::string& underlayText, int kind,
                           const std::array<std::string, 4>& labelTexts) {
    MarkTool next = tool;
    next.fixedUnderlay = FixedUnderlayFromText(underlayText);
    next.kind = kind >= kNaviStoneOnly && kind <= kNaviCross ? kind : kNaviStoneOnly;
    next.text = next.kind >= kNaviLabelSyllable && next.kind <= kNaviLabelDigit
                    ? labelTexts[next.kind - 1]
                    : std::string();
    return next;
}

}  // namespace velmora
