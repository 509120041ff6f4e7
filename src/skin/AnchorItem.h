#pragma once

#include <QRect>
#include <string>

class QWidget;

namespace velmora {

// Anchor flags of a skin element: which window edges it follows when the window is resized.
enum AnchorFlag : unsigned {
    kAnchorTop = 1,
    kAnchorLeft = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
    kAnchorVCenter = 16,
    kAnchorHCenter = 32,
};
constexpr unsigned kAnchorDefault = kAnchorTop | kAnchorLeft;

// The flags of every anchor word found in text (case-sensitive substring tests, so any
// separator works); an empty text gives TOP + LEFT. Text without any word gives 0.
unsigned ParseAnchorFlags(const std::string& text);

class SkinShape;

// One anchored element with the rectangle it had in the skin file, which is never changed:
// every relayout starts from it, so the layout never drifts.
struct AnchorItem {
    SkinShape* shape = nullptr;  // exactly one of shape and control is set
    QWidget* control = nullptr;
    unsigned flags = kAnchorDefault;
    int left = 0, top = 0, right = 0, bottom = 0;
    int minWidth = 0, minHeight = 0;  // shapes' MinSize; 0 for controls
};

// The element's rectangle after the window grew by dx, dy (negative: shrank) from its file
// size, following the item's flags and keeping its minimum size. Returned as a QRect whose
// x, y, width, height are left, top, right − left, bottom − top.
QRect AnchoredRect(const AnchorItem& item, int dx, int dy);

}  // namespace velmora
