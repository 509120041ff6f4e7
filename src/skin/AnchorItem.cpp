#include "skin/AnchorItem.h"

namespace velmora {
namespace {

// One axis: lo/hi the file edges, d the change, m the minimum extent.
void Follow(bool nearEdge, bool farEdge, bool center, int d, int m, int& lo, int& hi) {
    if (nearEdge && farEdge) {
        hi += d;
        if (hi - lo < m) hi = lo + m;
    } else if (farEdge) {
        lo += d;
        hi += d;
        if (hi - lo < m) lo = hi - m;
    } else if (center) {
        lo += d / 2;  // C++ division truncates towards zero, as the layout expects
        hi += d / 2;
        if (hi - lo < m) hi = lo + m;
    }
}

}  // namespace

unsigned ParseAnchorFlags(const std::string& text) {
    if (text.empty()) return kAnchorDefault;
    static const struct {
        const char* word;
        unsigned flag;
    } words[] = {{"TOP", kAnchorTop},         {"LEFT", kAnchorLeft},
                 {"RIGHT", kAnchorRight},     {"BOTTOM", kAnchorBottom},
                 {"VCENTER", kAnchorVCenter}, {"HCENTER", kAnchorHCenter}};
    unsigned flags = 0;
    for (const auto& w : words)
        if (text.find(w.word) != std::string::npos) flags |= w.flag;
    return flags;
}

QRect AnchoredRect(const AnchorItem& item, int dx, int dy) {
    int l = item.left, r = item.right, t = item.top, b = item.bottom;
    Follow(item.flags & kAnchorLeft, item.flags & kAnchorRight, item.flags & kAnchorHCenter, dx,
           item.minWidth, l, r);
    Follow(item.flags & kAnchorTop, item.flags & kAnchorBottom, item.flags & kAnchorVCenter, dy,
           item.minHeight, t, b);
    return QRect(l, t, r - l, b - t);
}

}  // namespace velmora
