#pragma once

#include <QRect>

#include "platform/Surface.h"

namespace velmora {

// A skin bitmap and its size. Empty until a bitmap is attached; drawing an empty holder
// draws nothing. Copies share the pixels.
class SkinBitmap {
public:
    SkinBitmap() = default;
    explicit SkinBitmap(const Surface& bitmap) { Attach(bitmap); }

    // Takes bitmap and its size; false (holder left empty) for a null bitmap.
    bool Attach(const Surface& bitmap);
    // Loads path through ResourceArchive::LoadBitmapFile and attaches it; false when absent.
    bool Load(const std::string& path);

    bool IsEmpty() const { return bitmap_.isNull(); }
    int Width() const { return bitmap_.width(); }
    int Height() const { return bitmap_.height(); }
    const Surface& Bitmap() const { return bitmap_; }

    // Copies the w × h block at (srcX, srcY) to (x, y) of dc unscaled. w = 0 or h = 0 means
    // the bitmap's width or height; a source coordinate of −1 means 0.
    void DrawImage(Surface& dc, int x, int y, int w = 0, int h = 0, int srcX = -1,
                   int srcY = -1) const;

    // The one-bit mask of the bitmap as a surface: white where the bitmap is magenta,
    // black elsewhere; built on first use and kept.
    const Surface& MagentaMask() const;

private:
    Surface bitmap_;
    mutable Surface mask_;
};

// Copies the rect-sized block at (srcX, 0) of holder to rect's top-left in dc, leaving the
// destination unchanged under magenta (255, 0, 255) source pixels.
void DrawKeyed(Surface& dc, const SkinBitmap& holder, const QRect& rect, int srcX);

}  // namespace velmora
