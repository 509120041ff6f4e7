#include "skin/ImageMap.h"

#include <algorithm>

namespace velmora {
namespace {

// Copies slot r of the map unscaled to (x, y), cut to w × h when those are given.
void Piece(Surface& dc, const ImageMap& map, const ImageRect& r, int x, int y, int w = -1,
           int h = -1) {
    if (map.bitmap.IsEmpty()) return;
    dc.BitBlt(x, y, w < 0 ? r.w() : w, h < 0 ? r.h() : h, map.bitmap.Bitmap(), r.left, r.top);
}

// Copies source block s of the map stretched onto the destination block d.
void Stretch(Surface& dc, const ImageMap& map, const QRect& d, const QRect& s) {
    if (map.bitmap.IsEmpty() || d.width() <= 0 || d.height() <= 0) return;
    dc.StretchBlt(d, map.bitmap.Bitmap(), s);
}

QRect Source(const ImageRect& r) { return QRect(r.left, r.top, r.w(), r.h()); }

// A bar along x (VertStart, tiles of VertFill, VertEnd) or along y (the Horz pieces):
// the start cap, whole tiles, a cut last tile, then the end cap flush with the far side.
void DrawBar(Surface& dc, const ImageMap& map, const QRect& rect, bool alongX) {
    const ImageRect& start = map.rects[alongX ? kVertStart : kHorzStart];
    const ImageRect& end = map.rects[alongX ? kVertEnd : kHorzEnd];
    const ImageRect& fill = map.rects[alongX ? kVertFill : kHorzFill];
    auto len = [alongX](const ImageRect& r) { return alongX ? r.w() : r.h(); };
    // Position along the bar → destination corner.
    auto at = [&](int offset) {
        return alongX ? QPoint(rect.left() + offset, rect.top()) : QPoint(rect.left(), rect.top() + offset);
    };
    const int total = alongX ? rect.width() : rect.height();
    Piece(dc, map, start, at(0).x(), at(0).y());
    if (len(fill) > 0) {
        const int middle = total - len(start) - len(end);
        const int count = middle > 0 ? middle / len(fill) : 0;
        const int rest = middle > 0 ? middle % len(fill) : 0;
        // Only the tiles that reach the surface: a huge bar of thin tiles costs nothing.
        const int origin = (alongX ? rect.left() : rect.top()) + len(start);
        const int limit = alongX ? dc.width() : dc.height();
        const int first = std::clamp((-origin) / len(fill) - 1, 0, count);
        const int last = std::clamp((limit - origin) / len(fill) + 1, first, count);
        for (int i = first; i < last; ++i) {
            const QPoint p = at(len(start) + i * len(fill));
            Piece(dc, map, fill, p.x(), p.y());
        }
        if (rest > 0) {
            const QPoint p = at(len(start) + count * len(fill));
            Piece(dc, map, fill, p.x(), p.y(), alongX ? rest : -1, alongX ? -1 : rest);
        }
    }
    const QPoint e = at(total - len(end));
    Piece(dc, map, end, e.x(), e.y());
}

}  // namespace

std::array<ImageRect, kImageMapSlots> ImageMap::DefaultRects() {
    return {{{0, 0, 25, 20},     {26, 0, 126, 20},   {127, 0, 152, 20},  {153, 0, 178, 20},
             {0, 21, 25, 41},    {26, 21, 126, 41},  {127, 21, 152, 41}, {153, 21, 178, 41},
             {0, 72, 125, 110},  {126, 72, 276, 110}, {179, 0, 204, 38}, {0, 42, 25, 71},
             {26, 42, 51, 71},   {52, 42, 61, 51},   {62, 42, 71, 51},   {52, 53, 60, 71},
             {61, 53, 69, 71},   {72, 42, 97, 56},   {99, 42, 149, 56},  {72, 57, 97, 71},
             {99, 57, 149, 71},  {150, 42, 158, 51}}};
}

FrameMode FrameModeFromType(const std::string& type) {
    if (type == "HORZ") return FrameMode::HorzBar;
    if (type == "VERT") return FrameMode::VertBar;
    return FrameMode::NineSlice;
}

void DrawImageMapFrame(Surface& dc, const ImageMap& map, const QRect& rect, FrameMode mode) {
    dc.Fill(rect, RgbFromBgr(map.fillColor));
    const int L = rect.left(), T = rect.top(), W = rect.width(), H = rect.height();
    const int R = L + W, B = T + H;
    const auto& s = map.rects;
    switch (mode) {
        case FrameMode::NineSlice: {
            const ImageRect &lt = s[kLeftTop], &rt = s[kRightTop], &lb = s[kLeftBottom],
                            &rb = s[kRightBottom], &ct = s[kCenterTop], &cb = s[kCenterBottom],
                            &lc = s[kLeftCenter], &rc = s[kRightCenter], &title = s[kTitle];
            Piece(dc, map, lt, L, T);
            Piece(dc, map, rt, R - rt.w(), T);
            Piece(dc, map, lb, L, B - lb.h());
            Piece(dc, map, rb, R - rb.w(), B - rb.h());
            Stretch(dc, map, QRect(L + lt.w(), T, W - lt.w() - rt.w(), ct.h()), Source(ct));
            if (title.w() != 0) Piece(dc, map, title, L + lt.w(), T);
            Stretch(dc, map, QRect(L + lb.w(), B - cb.h(), W - lb.w() - rb.w(), cb.h()), Source(cb));
            Stretch(dc, map, QRect(L, T + lt.h(), lc.w(), H - lt.h() - lb.h()), Source(lc));
            Stretch(dc, map, QRect(R - rc.w(), T + rt.h(), rc.w(), H - rt.h() - rb.h()), Source(rc));
            break;
        }
        case FrameMode::HorzBar:
            DrawBar(dc, map, rect, true);
            break;
        case FrameMode::VertBar:
            DrawBar(dc, map, rect, false);
            break;
    }
}

void DrawProgressBar(Surface& dc, const ImageMap& map, const QRect& rect, int value) {
    dc.Fill(rect, RgbFromBgr(map.fillColor));
    const int L = rect.left(), T = rect.top(), R = rect.left() + rect.width();
    const ImageRect &start = map.rects[kVertStart], &end = map.rects[kVertEnd],
                    &knob = map.rects[kVertCenter];
    const int s = start.w(), e = end.w();
    const int track = rect.width() - 2 * (s + e);
    const int filled = value * track / 100;
    Piece(dc, map, start, L, T);
    Piece(dc, map, end, R - e, T);
    Stretch(dc, map, QRect(L + s, T, filled + s, knob.h()), QRect(knob.left, knob.top, 1, knob.h()));
    Stretch(dc, map, QRect(L + 2 * s + filled, T, track - filled + e, knob.h()),
            QRect(knob.right - 1, knob.top, 1, knob.h()));
    Piece(dc, map, knob, L + 2 * s + filled - knob.w() / 2, T);
}

Surface MakeStretchedBar(const ImageMap& map, int w, int h) {
    Surface bar(w, h);
    if (bar.isNull()) return bar;
    bar.Fill(RgbFromBgr(map.fillColor));
    const ImageRect &start = map.rects[kVertStart], &end = map.rects[kVertEnd],
                    &center = map.rects[kVertCenter];
    Piece(bar, map, start, 0, 0);
    Stretch(bar, map, QRect(start.w(), 0, w - start.w() - end.w(), center.h()), Source(center));
    Piece(bar, map, end, w - end.w(), 0);
    return bar;
}

}  // namespace velmora
