#pragma once

#include <QRect>
#include <array>

#include "skin/SkinBitmap.h"

namespace velmora {

// A colour word as the skin files give it: 0x00BBGGRR, red in the lowest byte.
// Convert with RgbFromBgr (platform/Surface.h) before drawing.
using ColorRef = unsigned int;

// A source rectangle in bitmap pixels (right and bottom exclusive).
struct ImageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int w() const { return right - left; }
    int h() const { return bottom - top; }
};

// Slots of ImageMap::rects. Nine-slice frames use the first names, bars the second.
enum ImageMapSlot {
    kLeftTop = 0, kTitle = 1, kCenterTop = 2, kRightTop = 3,
    kLeftBottom = 8, kRightBottom = 9, kCenterBottom = 10, kLeftCenter = 11, kRightCenter = 12,
    kHorzStart = 0, kHorzEnd = 1, kHorzFill = 2, kHorzCenter = 3,
    kVertStart = 4, kVertEnd = 5, kVertFill = 6, kVertCenter = 7,
    kImageMapSlots = 22,
};

// Corner, edge and fill pieces cut out of one bitmap, with a colour drawn behind them.
struct ImageMap {
    SkinBitmap bitmap;
    ColorRef fillColor = 0;
    std::array<ImageRect, kImageMapSlots> rects = DefaultRects();

    // The slot contents before a skin file sets them.
    static std::array<ImageRect, kImageMapSlots> DefaultRects();
};

// How DrawImageMapFrame lays the pieces out.
enum class FrameMode { NineSlice, HorzBar, VertBar };

// The Frame shape's type attribute as a mode: "HORZ", "VERT", anything else nine-slice.
FrameMode FrameModeFromType(const std::string& type);

// Fills rect of dc with map's fill colour and draws the pieces of mode over it:
// NineSlice the corners and stretched edges (no centre piece); HorzBar VertStart, tiles of
// VertFill and VertEnd along x; VertBar HorzStart, tiles of HorzFill and HorzEnd along y.
void DrawImageMapFrame(Surface& dc, const ImageMap& map, const QRect& rect, FrameMode mode);

// A progress bar at value (0..100) over rect: caps VertStart and VertEnd, the track drawn
// from VertCenter's first and last columns, and VertCenter whole as the knob.
void DrawProgressBar(Surface& dc, const ImageMap& map, const QRect& rect, int value);

// A w × h picture of a bar: VertStart, VertCenter stretched, VertEnd, over the fill colour.
Surface MakeStretchedBar(const ImageMap& map, int w, int h);

}  // namespace velmora
