#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <vector>

#include "platform/Surface.h"

class QWidget;

namespace velmora {

// Where a point of a frameless window acts like a part of a normal window frame.
enum class HitArea { Client, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The hit test of a frameless skinned dialog: p and client in the same (screen) coordinates,
// client spanning L..R, T..B as right/bottom-exclusive edges. The top 30 pixels drag the
// window; with resizable the 8-pixel bands along the edges resize it. A maximised window
// and points outside the client area answer Client.
HitArea DialogHitTest(QPoint p, const QRect& client, bool resizable, bool maximized);

// The Qt edges for a resize area; empty for Client and Caption.
Qt::Edges EdgesOf(HitArea area);

// The pointer shape over a resize area: a diagonal, horizontal or vertical double arrow, or
// the plain arrow for no edges.
Qt::CursorShape ResizeCursor(Qt::Edges edges);

// The bevelled outline of a w × h window: corners cut by 4 pixels at the top, 5 at the bottom.
std::vector<QPoint> EdgeOutline(int w, int h);
// The region inside a closed polygon, filled in alternate (odd-even) mode.
QRegion PolygonRegion(const std::vector<QPoint>& pts);
// The region of every pixel of img whose colour is not key.
QRegion RegionExcludingColor(const Surface& img, Rgb key);

// Sets the window's visible region (QWidget::setMask); an empty region removes the mask.
void SetWindowRegion(QWidget* w, const QRegion& region);
// Hands a drag of the window to the window system; false when the platform cannot.
bool StartSystemMove(QWidget* w);
// Hands a resize by the given edges to the window system; false when the platform cannot.
bool StartSystemResize(QWidget* w, Qt::Edges edges);
// Hands a press on area to the window system: Caption moves the window, an edge area resizes
// it; false for Client or when the platform cannot.
bool StartFrameDrag(QWidget* w, HitArea area);

}  // namespace velmora
