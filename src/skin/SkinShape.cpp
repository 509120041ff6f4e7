#include "skin/SkinShape.h"

#include <QPainter>
#include <algorithm>

#include "skin/SkinXml.h"

namespace velmora {

void FrameShape::Draw(Surface& dc) {
    if (!visible || !map) return;
    DrawImageMapFrame(dc, *map, rect, mode);
}

void ImageShape::Draw(Surface& dc) {
    if (!visible || bitmap.IsEmpty() || rect.isEmpty()) return;
    bitmap.DrawImage(dc, rect.left(), rect.top(), rect.width(), rect.height(), 0, 0);
}

void TextShape::Draw(Surface& dc) {
    if (!visible || caption.empty()) return;
    dc.DrawText(caption, rect, font ? *font : QFont(), color, align | kAlignVCenter);
}

void BoxShape::Draw(Surface& dc) {
    if (!visible) return;
    dc.Rectangle(rect, lineColor, 1, &fillColor);
}

void ListShape::Draw(Surface& dc) {
    if (!visible || cell < 0 || bitmap.IsEmpty() || rect.isEmpty()) return;
    const int srcX = SkinProduct(cell, rect.width());
    if (magentaKey)
        DrawKeyed(dc, bitmap, rect, srcX);
    else
        bitmap.DrawImage(dc, rect.left(), rect.top(), rect.width(), rect.height(), srcX, 0);
}

void ProgressShape::Draw(Surface& dc) {
    if (!visible || !map) return;
    DrawProgressBar(dc, *map, rect, std::clamp(value, 0, 100));
}

void TimerShape::Draw(Surface& dc) {
    if (!visible || !firstMap || !secondMap || rect.isEmpty()) return;
    const int w = rect.width(), h = rect.height();
    const Surface first = MakeStretchedBar(*firstMap, w, h);
    const Surface second = MakeStretchedBar(*secondMap, w, h);
    // A tick of 0 would divide by zero: such a countdown shows as run out.
    const int split = total > 0 ? std::clamp(SkinProduct(w, std::max(remaining, 0), total), 0, w) : 0;
    dc.BitBlt(rect.left(), rect.top(), split, h, first, 0, 0);
    dc.BitBlt(rect.left() + split, rect.top(), w - split, h, second, split, 0);
}

void AnimationView::Draw(Surface& dc) {
    if (!visible) return;
    anim.rect = rect;
    anim.Draw(dc);
}

}  // namespace velmora
