#pragma once

#include <vector>

#include "richtext/HtmlDrawer.h"

namespace velmora {

// The laid-out items of one kind, in layout order.
inline std::vector<HtmlItem> ItemsOfKind(const HtmlDrawer& d, HtmlItemKind kind) {
    std::vector<HtmlItem> out;
    for (const HtmlItem& it : d.Items())
        if (it.kind == kind) out.push_back(it);
    return out;
}

}  // namespace velmora
