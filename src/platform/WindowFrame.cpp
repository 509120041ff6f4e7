#include "platform/WindowFrame.h"

#include <QBitmap>
#include <QPolygon>
#include <QWidget>
#include <QWindow>

namespace velmora {

HitArea DialogHitTest(QPoint p, const QRect& client, bool resizable, bool maximized) {
    const int L = client.left(), T = client.top();
    const int R = L + client.width(), B = T + client.height();
    const int x = p.x(), y = p.y();
    if (maximized || x < L || x >= R || y < T || y >= B) return HitArea::Client;
    HitArea a = (T < y && y < T + 30) ? HitArea::Caption : HitArea::Client;
    if (!resizable) return a;
    const bool top = T < y && y < T + 8;
    const bool bottom = B - 8 < y && y < B;
    if (L < x && x < L + 8) {
        a = HitArea::Left;
        if (top) a = HitArea::TopLeft;
        if (bottom) a = HitArea::BottomLeft;
    } else if (R - 8 < x && x < R) {
        a = HitArea::Right;
        if (top) a = HitArea::TopRight;
        if (bottom) a = HitArea::BottomRight;
    } else {
        if (top) a = HitArea::Top;
        if (bottom) a = HitArea::Bottom;
    }
    return a;
}

Qt::Edges EdgesOf(HitArea area) {
    switch (area) {
        case HitArea::Left: return Qt::LeftEdge;
        case HitArea::Right: return Qt::RightEdge;
        case HitArea::Top: return Qt::TopEdge;
        case HitArea::Bottom: return Qt::BottomEdge;
        case HitArea::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
        case HitArea::TopRight: return Qt::TopEdge | Qt::RightEdge;
        case HitArea::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
        case HitArea::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
        default: return {};
    }
}

Qt::CursorShape ResizeCursor(Qt::Edges edges) {
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge)) return Qt::SizeFDiagCursor;
    if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge)) return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) return Qt::SizeHorCursor;
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

std::vector<QPoint> EdgeOutline(int w, int h) {
    const int L = 0, T = 0, R = w, B = h;
    return {{L + 4, T}, {R - 4, T}, {R, T + 4}, {R, B - 5}, {R - 5, B},
            {L + 5, B}, {L, B - 5}, {L, T + 4}, {L + 4, T}};
}

QRegion PolygonRegion(const std::vector<QPoint>& pts) {
    QPolygon poly;
    for (const QPoint& p : pts) poly << p;
    return QRegion(poly, Qt::OddEvenFill);
}

QRegion RegionExcludingColor(const Surface& img, Rgb key) {
    if (img.isNull()) return {};
    // The mask's set bits become the region; MaskInColor leaves them on every pixel but key.
    const QImage mask = img.image().createMaskFromColor(0xFF000000u | key, Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask));
}

void SetWindowRegion(QWidget* w, const QRegion& region) {
    if (!w) return;
    if (region.isEmpty())
        w->clearMask();
    else
        w->setMask(region);
}

bool StartSystemMove(QWidget* w) {
    QWindow* win = w ? w->window()->windowHandle() : nullptr;
    return win && win->startSystemMove();
}

bool StartSystemResize(QWidget* w, Qt::Edges edges) {
    QWindow* win = w ? w->window()->windowHandle() : nullptr;
    return win && edges && win->startSystemResize(edges);
}

bool StartFrameDrag(QWidget* w, HitArea area) {
    return area == HitArea::Caption ? StartSystemMove(w) : StartSystemResize(w, EdgesOf(area));
}

}  // namespace velmora
