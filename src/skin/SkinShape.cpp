#include "skin/SkinShape.h"

#include <QFontMetrics>
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
    const QFont f = font ? *font : QFont();
    // A text longer than its place (a long event or player name) ends in "…" rather than
    // being cut off mid-letter, so the reader sees that there is more.
    const QString text = QString::fromStdString(caption);
    const QFontMetrics metrics(f, &dc.image());
    std::string shown = caption;
    if (metrics.horizontalAdvance(text) > rect.width())
        shown = metrics.elidedText(text, Qt::ElideRight, rect.width()).toStdString();
    dc.DrawText(shown, rect, f, color, align | kAlignVCenter);
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
