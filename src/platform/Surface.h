#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <string>
#include <vector>

namespace velmora {

// A colour as 0xRRGGBB (the alpha byte is ignored).
using Rgb = unsigned int;

// Converts a Windows-style 0x00BBGGRR value, as skin files and mark-up numbers write
// colours, to Rgb; and back.
constexpr Rgb RgbFromBgr(unsigned int bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
constexpr unsigned int BgrFromRgb(Rgb rgb) { return RgbFromBgr(rgb); }
// The opaque Qt colour of c.
inline QColor ToQColor(Rgb c) { return QColor::fromRgb(static_cast<QRgb>(c | 0xFF000000u)); }

// Raster operations of a block copy: dst = src, dst ^= src, dst &= src.
enum class RasterOp { Copy, Xor, And };
// Stretching: plain picks the nearest pixel; halftone averages the covered area.
enum class StretchMode { Plain, Halftone };

// Text placement in a box (combine one horizontal and one vertical flag).
enum TextAlign {
    kAlignLeft = 0x0,
    kAlignHCenter = 0x1,
    kAlignRight = 0x2,
    kAlignTop = 0x0,
    kAlignVCenter = 0x4,
    kAlignBottom = 0x8,
};

// An off-screen drawing surface: a 32-bit RGB image with the drawing the program needs.
// Every operation clips to the surface; nothing outside it is touched.
class Surface {
public:
    Surface() = default;
    // A w × h surface filled with black; sizes below 1 give an empty surface.
    Surface(int w, int h);
    // Wraps a copy of img, converted to Format_RGB32.
    explicit Surface(const QImage& img);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool isNull() const { return image_.isNull(); }
    QRect rect() const { return image_.rect(); }
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

    // Re-creates the surface at w × h (contents lost, black).
    void Resize(int w, int h);

    // The pixel at (x, y) as 0xRRGGBB; 0 outside.
    Rgb Pixel(int x, int y) const;
    void SetPixel(int x, int y, Rgb c);

    // Fills r with c.
    void Fill(const QRect& r, Rgb c);
    void Fill(Rgb c) { Fill(rect(), c); }

    // Copies the w × h block of src at (sx, sy) to (dx, dy) with op.
    void BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
                RasterOp op = RasterOp::Copy);
    // Copies block sr of src stretched onto dr (outside src reads black; wholly outside: nothing).
    void StretchBlt(const QRect& dr, const Surface& src, const QRect& sr,
                    StretchMode mode = StretchMode::Plain);

    // A line of a pen of `width` pixels from a to b; the end pixel b is not drawn.
    void Line(QPoint a, QPoint b, Rgb c, int width = 1);
    // Outline (penWidth > 0) and fill (when fill is set) of a rectangle, ellipse or polygon.
    // The shape covers left..right-1, top..bottom-1 like a device context's shapes.
    void Rectangle(const QRect& r, Rgb pen, int penWidth, const Rgb* fill);
    void Ellipse(const QRect& r, Rgb pen, int penWidth, const Rgb* fill);
    void Polygon(const std::vector<QPoint>& pts, Rgb pen, int penWidth, const Rgb* fill);

    // One line of UTF-8 text in box r with align (TextAlign flags), clipped to r. With
    // background set the box is filled first (opaque), otherwise the text is drawn alone.
    void DrawText(const std::string& text, const QRect& r, const QFont& font, Rgb color,
                  int align, const Rgb* background = nullptr);

    // The width and height of text in font, in pixels.
    static QSize TextSize(const std::string& text, const QFont& font);

private:
    QImage image_;
};

}  // namespace velmora
