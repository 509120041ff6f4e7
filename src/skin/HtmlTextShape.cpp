#include "skin/HtmlTextShape.h"

#include <algorithm>

#include "richtext/HtmlDrawer.h"
#include "skin/ResourceArchive.h"

namespace velmora {

HtmlTextShape::HtmlTextShape() : drawer_(std::make_unique<HtmlDrawer>()) {
    // Pictures named in the mark-up come from the skin's own lookup.
    drawer_->SetImageLoader([](const HtmlImageRequest& r) {
        return r.file.empty() ? QImage() : ResourceArchive::Instance().LoadBitmapFile(r.file).image();
    });
}
HtmlTextShape::~HtmlTextShape() = default;

void HtmlTextShape::SetText(const std::string& markup) {
    text_.clear();
    for (char c : markup)
        if (c != '\t' && c != '\n') text_ += c;
    // Laid out once here, against a surface like the window's. The text wraps inside the
    // shape, so a long notice never runs out of its box.
    drawer_->SetMaxWidth(rect.width());
    const Surface measure(std::max(1, rect.width()), std::max(1, rect.height()));
    drawer_->Prepare(measure, text_);
}

bool HtmlTextShape::HoverAt(QPoint p) {
    return drawer_->HoverAt(visible && rect.contains(p) ? p : QPoint(-1, -1));
}

bool HtmlTextShape::Animated() const {
    return drawer_->Animated();
}

bool HtmlTextShape::Animate(int ms) {
    return drawer_->AdvanceAnimation(ms) && visible;
}

void HtmlTextShape::Draw(Surface& dc) {
    if (!visible || text_.empty()) return;
    drawer_->SetMaxWidth(rect.width());  // anchoring may have resized the shape
    drawer_->Draw(dc, rect);
}

}  // namespace velmora
