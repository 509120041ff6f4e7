#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "platform/Surface.h"
#include "richtext/HtmlImageLoader.h"
#include "richtext/HtmlLayout.h"
#include "richtext/HtmlStringLoader.h"
#include "richtext/HtmlStyle.h"
#include "richtext/HtmlTokens.h"

namespace velmora {

// A link run as last drawn: where it is, what it is and where it leads.
struct HtmlLink {
    QRect rect;          // in surface coordinates
    int kind = 0;        // 1 href (an address), 2 msg (a text for the owner)
    std::string target;  // the href or msg value
    int id = -1;         // ordinal of the link's `a` tag in the text
};

// A laid-out item as the layout placed it, for inspection.
struct HtmlItem {
    HtmlItemKind kind = HtmlItemKind::Text;
    QRect rect;  // on the surface of the last Draw (offset by its rectangle's corner)
    std::string text;
    int weight = 400;
    int fontHeight = 0;
    bool italic = false;
    bool underline = false;
    Rgb color = 0;
    int linkId = -1;
};

// Lays out and draws a short mark-up text (a tag set of its own with a small CSS subset).
// Use: Prepare(surface, text) for the size, then Draw(surface, rect) as often as needed.
class HtmlDrawer {
  public:
    // Creates the drawer with its tables and the default style sheet (calls Create).
    HtmlDrawer();

    // (Re)builds the tables, the default style sheet and the default font from the desktop's.
    void Create();

    // Sets the text and lays it out; returns the size it needs (capped at the maximum
    // width when one is set). An empty text gives 0 × 0 and leaves the stored text empty.
    QSize Prepare(const Surface& surface, const std::string& text);
    // Draws the prepared text into rect of surface (clipped to it) and records the links;
    // does nothing when the stored text is empty.
    void Draw(Surface& surface, const QRect& rect);

    // Wrapping width in pixels; 0 means no wrapping.
    void SetMaxWidth(int pixels);
    int MaxWidth() const { return maxWidth_; }
    // When set, line feeds and tabs of later texts become <br> and <t>; else they are dropped.
    void SetKeepLineBreaks(bool keep) { keepLineBreaks_ = keep; }
    bool KeepLineBreaks() const { return keepLineBreaks_; }
    // Replaces the style sheet by the parsed text; nullopt restores the default one.
    void SetStyleSheet(const std::optional<std::string>& text);
    const HtmlStyleSheet& StyleSheet() const { return sheet_; }

    // The image loader of this drawer (empty: the default loader, if one is installed).
    void SetImageLoader(HtmlImageLoader loader) {
        loader_ = std::move(loader);
        layoutKey_ = {};
    }

    // The links recorded by the last Draw.
    const std::vector<HtmlLink>& Links() const { return links_; }
    // The index into Links() of the link at p (surface coordinates), or -1.
    int LinkAt(QPoint p) const;
    // The link (by id) drawn with the a:hover style; -1 for none. True when it changed.
    bool SetHoverLink(int id);
    int HoverLink() const { return hover_; }
    // Makes the link at p (surface coordinates, from the last Draw) the hovered one, or none,
    // and likewise the image with a `hotstyle`; true when either changed, so the owner redraws.
    bool HoverAt(QPoint p);

    // The stored (preprocessed) text; empty when nothing is prepared.
    const std::string& Text() const { return text_; }
    // The items of the last layout (Prepare or Draw), tables and cells followed by their content.
    std::vector<HtmlItem> Items() const;
    // Whether an animated image list is shown (the owner redraws on a timer then).
    bool Animated() const { return layout_.animated; }
    // Runs animated image lists on by ms (each shows one frame per `speed` ms, from its
    // `index`, round and round); true when a shown frame changed, so the owner redraws.
    // A new text starts its animations from the beginning.
    bool AdvanceAnimation(int ms);
    // The state a text starts from (the desktop's font before the body rule).
    const HtmlTextState& BaseState() const { return base_; }

  private:
    HtmlLayoutContext Context(const Surface& surface) const;
    // Lays the text out for areaWidth unless the kept layout was made for the same width,
    // resolution, wrapping and hovered link (text and style changes drop it).
    void Layout(const Surface& surface, int areaWidth);
    // What the kept layout was made for; laidOut false when there is none.
    struct LayoutKey {
        bool laidOut = false;
        int areaWidth = 0;
        int maxWidth = 0;
        int dpi = 0;
        int hover = -1;
        bool operator==(const LayoutKey&) const = default;
    };

    HtmlStyleSheet sheet_;
    HtmlTextState base_;
    HtmlImageLoader loader_;
    int maxWidth_ = 0;
    bool keepLineBreaks_ = false;
    int hover_ = -1;
    std::string text_;
    std::vector<HtmlToken> tokens_;
    HtmlLayoutResult layout_;
    LayoutKey layoutKey_;
    QPoint origin_;
    std::vector<HtmlLink> links_;
    // Images whose hotstyle differs from their style, as last drawn: rectangle and image id.
    std::vector<std::pair<QRect, int>> hotImages_;
    int hoverImage_ = -1;
    long long animationMs_ = 0;  // how long image lists have been animated
};

}  // namespace velmora
