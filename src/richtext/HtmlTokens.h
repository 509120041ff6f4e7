#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora {

// Tag numbers of the mark-up; the table tags are handled by the layout, not the tag table.
enum HtmlTag {
    kTagNone = 0,
    kTagBold = 1,
    kTagIndent = 2,
    kTagItalic = 3,
    kTagUnderline = 4,
    kTagStrike = 5,
    kTagFont = 6,
    kTagRule = 7,
    kTagBreak = 8,
    kTagTab = 9,
    kTagLeft = 10,
    kTagCenter = 11,
    kTagRight = 12,
    kTagJustify = 13,
    kTagBaseline = 14,
    kTagTop = 15,
    kTagVCenter = 16,
    kTagBottom = 17,
    kTagBitmap = 18,
    kTagIcon = 19,
    kTagImageList = 20,
    kTagString = 21,
    kTagStyle = 22,
    kTagSpan = 23,
    kTagLink = 24,
    kTagTable = 100,
    kTagRow = 101,
    kTagCell = 102,
};

// A text run or a tag of the mark-up.
struct HtmlToken {
    bool isTag = false;
    std::string text;  // the run's text, or the tag's name without '/'
    int tag = kTagNone;
    bool closing = false;
    int count = 1;                                           // br and t: how many
    std::vector<std::pair<std::string, std::string>> attrs;  // names lower-case
    int linkId = -1;  // opening `a` tags: ordinal in the text

    // The value of attribute `name`, or `fallback` when absent.
    std::string Attr(const std::string& name, const std::string& fallback = {}) const;
    bool HasAttr(const std::string& name) const;
};

// The tag number of a name (exact, case-sensitive); kTagNone when not a tag.
int HtmlTagNumber(const std::string& name);

// Replaces entities, drops carriage returns, and turns line feeds and tabs into <br> and
// <t> when keepLineBreaks is set (else drops them).
std::string PreprocessHtml(const std::string& text, bool keepLineBreaks);

// Splits preprocessed mark-up into runs and tags; "<<" is a literal '<'; a '<' without
// a closing '>' is kept as text.
std::vector<HtmlToken> TokenizeHtml(const std::string& text);

}  // namespace velmora
