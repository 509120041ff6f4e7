#pragma once

#include <QFont>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"

namespace velmora {

// The text state of the mark-up: saved when a tag opens and restored when it closes.
struct HtmlTextState {
    int fontHeight = 16;  // pixels (the em height)
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    std::string face = "Verdana";
    Rgb color = 0x000000;
    Rgb background = 0xFFFFFF;
    bool opaque = false;  // background mode
    Rgb borderColor = 0x000000;
    int borderWidth = 0;
    int borderStyle = 0;  // 0 none, 1 solid, 2 dashed, 3 dotted, 6 double
    int align = 0;        // 0 left, 1 center, 2 right, 3 justify
    int valign = 3;       // 0 top, 1 middle, 2 bottom, 3 baseline
    int transform = 0;    // 0 none, 1 uppercase, 2 lowercase, 3 capitalize
    int indent = 0;       // pixels
    int margin = 0;
    int padding = 0;
    int linkKind = 0;  // 0 none, 1 href, 2 msg
    std::string linkTarget;
    int linkId = -1;  // ordinal of the link in the text

    bool operator==(const HtmlTextState&) const = default;
};

// One CSS declaration: name and value, both trimmed (quotes removed from the value).
using HtmlDeclarations = std::vector<std::pair<std::string, std::string>>;
// Selector (tag name, "a:link", ".class") → declarations.
using HtmlStyleSheet = std::map<std::string, HtmlDeclarations>;

// What sizes are measured against: the surface's pixels per inch and the current font.
struct HtmlMetrics {
    int dpi = 96;
};

// The style sheet every drawer starts with.
const char* DefaultHtmlStyleSheetText();

// Parses "sel {decl; decl} sel {…}"; empty selectors and empty bodies are skipped.
HtmlStyleSheet ParseHtmlStyleSheet(const std::string& text);
// Splits "a: b; c: d" into declarations; entries without ':' are dropped.
HtmlDeclarations ParseHtmlDeclarations(const std::string& text);

// A colour value: "#rrggbb", a C-notation number as 0x00BBGGRR, or a named colour
// (the CSS names and the desktop's system colours); anything else gives `current`.
Rgb ParseHtmlColor(const std::string& value, Rgb current);
// Looks up a colour name (case-insensitive); false when unknown.
bool LookupHtmlColorName(const std::string& name, Rgb& out);

// The largest size, in pixels, a mark-up text may ask for; sums over a text's lines,
// rows and columns then stay far inside int.
constexpr int kMaxHtmlSize = 32767;

// A size in pixels relative to `current` (see the units below); empty keeps current.
// fontSize enables the 1..7 HTML font sizes; border enables thin/medium/thick. The result
// is clamped to ±kMaxHtmlSize (a number that is not a number keeps current).
int ParseHtmlSize(const std::string& value, int current, const HtmlTextState& st,
                  const HtmlMetrics& m, bool fontSize = false, bool border = false);
// "normal" 400, "bold" 700, "bolder" 900, "lighter" 100, else the number; 0 when not a weight.
int ParseHtmlWeight(const std::string& value);

// Applies declarations to the state; unknown names and values leave it unchanged.
void ApplyHtmlDeclarations(HtmlTextState& st, const HtmlDeclarations& decls, const HtmlMetrics& m);

// The Qt font of a state (underline is drawn by the renderer, not the font).
QFont HtmlFont(const HtmlTextState& st);

}  // namespace velmora
