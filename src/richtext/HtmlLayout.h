#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <string>
#include <vector>

#include "richtext/HtmlImageLoader.h"
#include "richtext/HtmlStringLoader.h"
#include "richtext/HtmlStyle.h"
#include "richtext/HtmlTokens.h"

namespace velmora {

enum class HtmlItemKind { Text, Rule, Image, Table, Cell };

// Background and border of a table or a cell.
struct HtmlBoxStyle {
    int bgEffect = -1;  // -1 transparent, 0 solid, 1..6 the gradients
    Rgb bgColor = 0xFFFFFF;
    Rgb bgMidColor = 0xFFFFFF;
    Rgb bgEndColor = 0xFFFFFF;
    QImage background;  // drawn instead of the effect when loaded
    int borderWidth = 0;
    int borderStyle = 1;  // as the CSS border-style numbers
    Rgb borderColor = 0x808080;
    bool threeD = false;  // light top-left, dark bottom-right
    Rgb borderLight = 0xFFFFFF;
    Rgb borderDark = 0x404040;
};

// One laid-out item; rect is relative to its parent (the layout origin for top-level items).
struct HtmlBox {
    HtmlItemKind kind = HtmlItemKind::Text;
    QRect rect;
    std::string text;  // text runs
    HtmlTextState st;  // font, colours and decoration of the run
    int ascent = 0;   // from the top of rect, inset included
    int descent = 0;
    int inset = 0;    // text runs: margin + padding on every side of the text
    int margin = 0;   // text runs: the outer part of inset, outside background and border
    QImage image;  // images
    bool shadow = false;     // images: the shadow of `style`
    bool hotShadow = false;  // images: the shadow of `hotstyle`, under the mouse
    int imageId = -1;        // images: the position of the image's tag in the text
    int frames = 1;          // image lists: square frames along image's long side
    int frame = 0;           // image lists: the frame shown first
    int speed = 0;           // image lists: ms per frame when animated, else 0
    int ruleThickness = 1;
    Rgb ruleColor = 0x808080;
    int rulePercent = -1;           // rules sized by percent until the line is placed
    HtmlBoxStyle deco;              // tables and cells
    std::vector<HtmlBox> children;  // table → cells → content
};

// What a layout needs besides the mark-up.
struct HtmlLayoutContext {
    const HtmlStyleSheet* sheet = nullptr;
    HtmlMetrics metrics;
    int hoverLink = -1;
    const HtmlImageLoader* loader = nullptr;
    const HtmlStringLoader* strings = nullptr;  // the program's string table, for `string`
    int tabWidth = 48;
    // Image shadows: offset in pixels.
    int shadowOffsetX = 4;
    int shadowOffsetY = 4;
};

struct HtmlLayoutResult {
    std::vector<HtmlBox> boxes;
    int width = 0;   // right edge of the content
    int height = 0;  // bottom of the last line
    int lines = 0;
    bool animated = false;  // an image list with a speed was placed
};

// Lays out tokens [begin, end) from state `base`. wrapWidth 0 means no wrapping; areaWidth is
// the width lines are aligned in and percentages refer to (0: the widest line).
HtmlLayoutResult LayoutHtml(const std::vector<HtmlToken>& tokens, size_t begin, size_t end,
                            const HtmlTextState& base, const HtmlLayoutContext& ctx, int wrapWidth,
                            int areaWidth);

}  // namespace velmora
