#include "platform/Surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velmora {
namespace {

void SetupPainter(QPainter& p, Rgb pen, int penWidth, const Rgb* fill) {
    if (penWidth > 0) {
        QPen qp(ToQColor(pen));
        qp.setWidth(penWidth);
        qp.setJoinStyle(Qt::MiterJoin);
        p.setPen(qp);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(fill ? QBrush(ToQColor(*fill)) : QBrush(Qt::NoBrush));
}

}  // namespace

Surface::Surface(int w, int h) { Resize(w, h); }

Surface::Surface(const QImage& img) : image_(img.convertToFormat(QImage::Format_RGB32)) {}

void Surface::Resize(int w, int h) {
    if (w < 1 || h < 1) {
        image_ = QImage();
        return;
    }
    image_ = QImage(w, h, QImage::Format_RGB32);
    image_.fill(0xFF000000u);
}

Rgb Surface::Pixel(int x, int y) const {
    if (!image_.valid(x, y)) return 0;
    return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x] & 0xFFFFFFu;
}

void Surface::SetPixel(int x, int y, Rgb c) {
    if (!image_.valid(x, y)) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = 0xFF000000u | c;
}

void Surface::Fill(const QRect& r, Rgb c) {
    const QRect clip = r.intersected(rect());
    if (clip.isEmpty()) return;
    const QRgb v = 0xFF000000u | c;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + clip.left(), line + clip.right() + 1, v);
    }
}

void Surface::BitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
                     RasterOp op) {
    // Clip against both surfaces, moving source and destination together.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, width() - dx, src.width() - sx});
    h = std::min({h, height() - dy, src.height() - sy});
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.image_.constScanLine(sy + y)) + sx;
        QRgb* d = reinterpret_cast<QRgb*>(image_.scanLine(dy + y)) + dx;
        switch (op) {
            case RasterOp::Copy: std::copy(s, s + w, d); break;
            case RasterOp::Xor:
                for (int x = 0; x < w; ++x) d[x] = 0xFF000000u | ((d[x] ^ s[x]) & 0xFFFFFFu);
                break;
            case RasterOp::And:
                for (int x = 0; x < w; ++x) d[x] = 0xFF000000u | (d[x] & s[x]);
                break;
        }
    }
}

void Surface::StretchBlt(const QRect& dr, const Surface& src, const QRect& sr, StretchMode mode) {
    if (dr.isEmpty() || sr.isEmpty() || src.isNull() || isNull()) return;
    if (sr.intersected(src.rect()).isEmpty()) return;
    // Where the block reaches outside the source, the copy reads black.
    QImage part = src.image_.copy(sr);
    QImage scaled = part.scaled(dr.size(), Qt::IgnoreAspectRatio,
                                mode == StretchMode::Halftone ? Qt::SmoothTransformation
                                                              : Qt::FastTransformation);
    Surface tmp(scaled);
    BitBlt(dr.x(), dr.y(), dr.width(), dr.height(), tmp, 0, 0);
}

void Surface::Line(QPoint a, QPoint b, Rgb c, int width) {
    if (isNull() || a == b) return;
    QPainter p(&image_);
    QPen pen(ToQColor(c));
    pen.setWidth(std::max(1, width));
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    // Qt draws the end pixel; shorten by one pixel along the main axis to leave it out.
    QPoint end = b;
    const int ddx = b.x() - a.x(), ddy = b.y() - a.y();
    if (std::abs(ddx) >= std::abs(ddy))
        end.rx() -= (ddx > 0 ? 1 : -1);
    else
        end.ry() -= (ddy > 0 ? 1 : -1);
    if (width <= 1) {
        p.setPen(QPen(ToQColor(c), 0));
        p.drawLine(a, end);
    } else {
        p.drawLine(QLineF(a, QPointF(b)));
    }
}

void Surface::Rectangle(const QRect& r, Rgb pen, int penWidth, const Rgb* fill) {
    if (isNull() || r.isEmpty()) return;
    if (fill) Fill(r, *fill);
    if (penWidth <= 0) return;
    // The outline lies inside r, penWidth pixels thick.
    const int pw = std::min(penWidth, std::min(r.width(), r.height()));
    Fill(QRect(r.left(), r.top(), r.width(), pw), pen);
    Fill(QRect(r.left(), r.bottom() - pw + 1, r.width(), pw), pen);
    Fill(QRect(r.left(), r.top(), pw, r.height()), pen);
    Fill(QRect(r.right() - pw + 1, r.top(), pw, r.height()), pen);
}

void Surface::Ellipse(const QRect& r, Rgb pen, int penWidth, const Rgb* fill) {
    if (isNull() || r.isEmpty()) return;
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    SetupPainter(p, pen, penWidth, fill);
    const qreal inset = penWidth > 0 ? penWidth / 2.0 : 0.0;
    p.drawEllipse(QRectF(r).adjusted(inset, inset, -inset, -inset));
}

void Surface::Polygon(const std::vector<QPoint>& pts, Rgb pen, int penWidth, const Rgb* fill) {
    if (isNull() || pts.size() < 2) return;
    QPainter p(&image_);
    SetupPainter(p, pen, penWidth, fill);
    p.drawPolygon(pts.data(), static_cast<int>(pts.size()));
}

void Surface::DrawText(const std::string& text, const QRect& r, const QFont& font, Rgb color,
                       int align, const Rgb* background) {
    if (isNull() || r.isEmpty()) return;
    if (background) Fill(r, *background);
    QPainter p(&image_);
    p.setClipRect(r);
    p.setFont(font);
    p.setPen(ToQColor(color));
    int flags = Qt::TextSingleLine;
    flags |= (align & kAlignHCenter) ? Qt::AlignHCenter
             : (align & kAlignRight) ? Qt::AlignRight
                                     : Qt::AlignLeft;
    flags |= (align & kAlignVCenter) ? Qt::AlignVCenter
             : (align & kAlignBottom) ? Qt::AlignBottom
                                      : Qt::AlignTop;
    p.drawText(r, flags, QString::fromStdString(text));
}

QSize Surface::TextSize(const std::string& text, const QFont& font) {
    QFontMetrics fm(font);
    return QSize(fm.horizontalAdvance(QString::fromStdString(text)), fm.height());
}

}  // namespace velmora
