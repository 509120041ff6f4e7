#include "skin/SkinBitmap.h"

#include "skin/ResourceArchive.h"

namespace velmora {

bool SkinBitmap::Attach(const Surface& bitmap) {
    bitmap_ = bitmap;
    mask_ = Surface();
    return !bitmap_.isNull();
}

bool SkinBitmap::Load(const std::string& path) {
    return Attach(ResourceArchive::Instance().LoadBitmapFile(path));
}

void SkinBitmap::DrawImage(Surface& dc, int x, int y, int w, int h, int srcX, int srcY) const {
    if (IsEmpty()) return;
    dc.BitBlt(x, y, w == 0 ? Width() : w, h == 0 ? Height() : h, bitmap_, srcX == -1 ? 0 : srcX,
              srcY == -1 ? 0 : srcY);
}

const Surface& SkinBitmap::MagentaMask() const {
    if (mask_.isNull() && !IsEmpty()) {
        mask_ = Surface(Width(), Height());
        for (int y = 0; y < Height(); ++y) {
            const QRgb* s = reinterpret_cast<const QRgb*>(bitmap_.image().constScanLine(y));
            QRgb* m = reinterpret_cast<QRgb*>(mask_.image().scanLine(y));
            for (int x = 0; x < Width(); ++x)
                m[x] = (s[x] & 0xFFFFFFu) == 0xFF00FFu ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    return mask_;
}

void DrawKeyed(Surface& dc, const SkinBitmap& holder, const QRect& rect, int srcX) {
    if (holder.IsEmpty()) return;
    const Surface& src = holder.Bitmap();
    const Surface& mask = holder.MagentaMask();
    // dst ^ src, & mask, ^ src: magenta keeps dst, everything else becomes src.
    dc.BitBlt(rect.x(), rect.y(), rect.width(), rect.height(), src, srcX, 0, RasterOp::Xor);
    dc.BitBlt(rect.x(), rect.y(), rect.width(), rect.height(), mask, srcX, 0, RasterOp::And);
    dc.BitBlt(rect.x(), rect.y(), rect.width(), rect.height(), src, srcX, 0, RasterOp::Xor);
}

}  // namespace velmora
