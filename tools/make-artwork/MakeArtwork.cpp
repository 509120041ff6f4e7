// Renders every bitmap of the skin as BMP files under <out>/image/... .
// Everything is drawn here from scratch: procedural wood, shaded stones, frames, bars and
// button strips (four states stacked vertically: normal, hover, pressed, disabled).
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "platform/BmpWriter.h"
#include "platform/Fonts.h"

namespace {

namespace fs = std::filesystem;
using velmora::MakeFont;

fs::path g_out;

void Save(const QImage& img, const std::string& rel) {
    const fs::path p = g_out / fs::path(rel);
    fs::create_directories(p.parent_path());
    if (!velmora::WriteBmp24(img, p.string())) {
        std::fprintf(stderr, "make-artwork: cannot write %s\n", p.string().c_str());
        std::exit(1);
    }
}

// --- noise ------------------------------------------------------------------------------

double Hash(int x, int y, int seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFFFF) / double(0xFFFFFF);
}

// Value noise on a lattice that wraps every px × py cells, so the result tiles.
double TiledNoise(double x, double y, int px, int py, int seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return Hash(((i % px) + px) % px, ((j % py) + py) % py, seed); };
    const double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return a + (b - a) * sy;
}

// Fractal tiled noise over the unit square (u, v in 0..1), base frequency fx × fy.
double TiledFbm(double u, double v, int fx, int fy, int octaves, int seed) {
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * TiledNoise(u * fx, v * fy, fx, fy, seed + o * 17);
        norm += amp;
        amp *= 0.5;
        fx *= 2;
        fy *= 2;
    }
    return sum / norm;
}

QRgb Mix(QRgb a, QRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(static_cast<int>(qRed(a) + (qRed(b) - qRed(a)) * t),
                static_cast<int>(qGreen(a) + (qGreen(b) - qGreen(a)) * t),
                static_cast<int>(qBlue(a) + (qBlue(b) - qBlue(a)) * t));
}

// --- board and stones -------------------------------------------------------------------

constexpr QRgb kWoodLight = 0xFFEEC484, kWoodDark = 0xFFBE8540;
constexpr QRgb kWoodAverage = 0xFFDDAE6C;

// Straight-grained kaya: vertical growth lines of uneven spacing that sway gently, finer
// secondary lines, long fibres and a soft cloudy figure. Every term repeats over the tile.
QImage Wood(int size) {
    QImage img(size, size, QImage::Format_RGB32);
    const int rings = 9;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = double(x) / size, v = double(y) / size;
            const double spacing = 1.6 * (TiledFbm(u, v, 2, 1, 3, 1) - 0.5);
            const double sway = 0.35 * (TiledFbm(u, v, 1, 2, 3, 2) - 0.5);
            const double r = u * rings + spacing + sway;
            const double late = std::pow(0.5 + 0.5 * std::cos(2 * M_PI * r), 10.0);
            const double fine = std::pow(0.5 + 0.5 * std::cos(2 * M_PI * (u * rings * 4 + 2 * spacing + sway)), 6.0);
            const double fibre = TiledFbm(u, v, 160, 5, 3, 7);
            const double figure = TiledFbm(u, v, 3, 3, 4, 11);
            const double t = 0.30 + 0.42 * late + 0.10 * fine + 0.30 * (fibre - 0.5) + 0.40 * (figure - 0.5);
            img.setPixel(x, y, Mix(kWoodLight, kWoodDark, t));
        }
    }
    return img;
}

// A go stone seen from above, lit from the upper left, anti-aliased against background.
QImage Stone(int size, bool black) {
    QImage img(size, size, QImage::Format_RGB32);
    const double R = size / 2.0;
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    const double ln = std::sqrt(lx * lx + ly * ly + lz * lz);
    const int ss = 4;  // supersampling per axis
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double acc[3] = {0, 0, 0};
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    const double px = (x + (sx + 0.5) / ss - R) / R;
                    const double py = (y + (sy + 0.5) / ss - R) / R;
                    const double d2 = px * px + py * py;
                    QRgb c = kWoodAverage;
                    if (d2 < 1.0) {
                        // A biconvex lens: flatter than a ball, steep near the rim.
                        const double h = std::sqrt(1.0 - d2);
                        double nx = px, ny = py, nz = h * 1.1 + 0.15;
                        const double nn = std::sqrt(nx * nx + ny * ny + nz * nz);
                        nx /= nn, ny /= nn, nz /= nn;
                        const double diff = std::max(0.0, (nx * lx + ny * ly + nz * lz) / ln);
                        const double hx = lx / ln, hy = ly / ln, hz = lz / ln + 1;
                        const double hn = std::sqrt(hx * hx + hy * hy + hz * hz);
                        const double specular = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hn);
                        double r, g, b;
                        if (black) {
                            const double grain = (Hash(x * 7 + sx, y * 7 + sy, 3) - 0.5) * 0.04;
                            const double base = 0.05 + 0.16 * diff + grain;
                            const double sheen = 0.55 * std::pow(specular, 28) + 0.12 * std::pow(specular, 6);
                            r = base + sheen, g = base + sheen, b = base * 1.08 + sheen;
                        } else {
                            // Clam-shell striations: fine arcs around a point below the stone.
                            const double sd = std::sqrt(px * px + (py - 2.4) * (py - 2.4));
                            const double wobble = 0.04 * std::sin(px * 5.0 + 1.3);
                            const double stria = 0.5 + 0.5 * std::sin((sd + wobble) * 2 * M_PI * 13);
                            const double band = TiledNoise(sd * 9, 0.5, 1000, 1, 5);
                            const double shell = 0.80 + 0.17 * diff - 0.035 * stria * band;
                            const double sheen = 0.22 * std::pow(specular, 22);
                            r = shell * 0.99 + sheen, g = shell * 0.975 + sheen, b = shell * 0.93 + sheen;
                        }
                        // A thin darker rim where the lens turns away.
                        const double rim = std::clamp((std::sqrt(d2) - 0.93) / 0.07, 0.0, 1.0);
                        const double k = 1.0 - 0.25 * rim;
                        c = qRgb(std::clamp(int(r * k * 255), 0, 255), std::clamp(int(g * k * 255), 0, 255),
                                 std::clamp(int(b * k * 255), 0, 255));
                    }
                    acc[0] += qRed(c), acc[1] += qGreen(c), acc[2] += qBlue(c);
                }
            }
            const double n = ss * ss;
            img.setPixel(x, y, qRgb(int(acc[0] / n + 0.5), int(acc[1] / n + 0.5), int(acc[2] / n + 0.5)));
        }
    }
    return img;
}

// --- frames, bars and buttons -----------------------------------------------------------

QFont Font(int px, bool bold = true) { return MakeFont("굴림", px, bold ? 700 : 400); }

// A window frame laid out as a nine-slice sheet: pieces of edge × titleH (top row),
// edge × edge (middle and bottom rows) in three columns, and a title emblem strip below.
QImage FrameSheet(int edge, int titleH, QColor top, QColor bottom, QColor border,
                  const QString& title, int titleW) {
    const int w = std::max(3 * edge, titleW), h = titleH + 2 * edge + titleH;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Draw one small framed window over the 3 × 3 cells, then the emblem strip.
    QLinearGradient bar(0, 0, 0, titleH);
    bar.setColorAt(0, top.lighter(115));
    bar.setColorAt(0.5, top);
    bar.setColorAt(1, bottom);
    const QRect win(0, 0, 3 * edge, titleH + 2 * edge);
    p.fillRect(win, QColor(246, 242, 232));
    p.fillRect(QRect(0, 0, 3 * edge, titleH), bar);
    p.fillRect(QRect(0, titleH, edge, 2 * edge), bottom);
    p.fillRect(QRect(2 * edge, titleH, edge, 2 * edge), bottom);
    p.fillRect(QRect(0, titleH + edge, 3 * edge, edge), bottom);
    p.setPen(border);
    p.drawRect(QRectF(win).adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(top.lighter(160));
    p.drawLine(QPointF(1.5, 1.5), QPointF(3 * edge - 1.5, 1.5));
    // Emblem: a black and a white stone and the caption.
    const QRect strip(0, titleH + 2 * edge, titleW, titleH);
    QLinearGradient bar2(0, strip.top(), 0, strip.bottom());
    bar2.setStops(bar.stops());
    p.fillRect(strip, bar2);
    const int d = titleH - 10;
    p.setPen(Qt::NoPen);
    QRadialGradient bs(strip.left() + 6 + d * 0.35, strip.top() + 5 + d * 0.3, d * 0.8);
    bs.setColorAt(0, QColor(90, 90, 96));
    bs.setColorAt(1, QColor(8, 8, 10));
    p.setBrush(bs);
    p.drawEllipse(QRectF(strip.left() + 6, strip.top() + 5, d, d));
    QRadialGradient ws(strip.left() + 6 + d * 0.75, strip.top() + 5 + d * 0.3, d * 0.8);
    ws.setColorAt(0, QColor(255, 255, 252));
    ws.setColorAt(1, QColor(196, 194, 186));
    p.setBrush(ws);
    p.drawEllipse(QRectF(strip.left() + 6 + d * 0.6, strip.top() + 5, d, d));
    p.setFont(Font(titleH / 2 + 1));
    p.setPen(QColor(0, 0, 0, 90));
    const QRect text = strip.adjusted(int(d * 1.7) + 12, 1, 0, 1);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(text.adjusted(0, -1, 0, -1), Qt::AlignVCenter | Qt::AlignLeft, title);
    return img;
}

// A thin rounded pane border: 3 × 3 cells of edge pixels.
QImage PaneSheet(int edge, QColor border, QColor inside) {
    QImage img(3 * edge, 3 * edge, QImage::Format_RGB32);
    img.fill(inside);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), QColor(236, 230, 216));
    p.setBrush(inside);
    p.setPen(QPen(border, 1));
    p.drawRoundedRect(QRectF(img.rect()).adjusted(0.5, 0.5, -0.5, -0.5), edge - 1, edge - 1);
    return img;
}

enum State { kNormal, kHover, kPressed, kDisabled };

using Face = std::function<void(QPainter&, const QRectF&, State)>;

// Four states of a button of w × h, stacked vertically.
QImage ButtonStrip(int w, int h, QColor base, const Face& face, double radius = 4) {
    QImage img(w, 4 * h, QImage::Format_RGB32);
    img.fill(QColor(236, 230, 216));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int s = 0; s < 4; ++s) {
        const State st = static_cast<State>(s);
        const QRectF r(0.5, s * h + 0.5, w - 1, h - 1);
        QColor c = st == kHover ? base.lighter(112) : st == kPressed ? base.darker(118) : base;
        if (st == kDisabled) c = QColor::fromHsv(c.hue(), c.saturation() / 4, std::min(255, c.value() + 20));
        QLinearGradient g(0, r.top(), 0, r.bottom());
        g.setColorAt(0, st == kPressed ? c.darker(108) : c.lighter(125));
        g.setColorAt(0.48, c);
        g.setColorAt(0.52, c.darker(104));
        g.setColorAt(1, st == kPressed ? c.lighter(106) : c.darker(112));
        p.setBrush(g);
        p.setPen(QPen(st == kDisabled ? QColor(160, 156, 148) : c.darker(170), 1));
        p.drawRoundedRect(r, radius, radius);
        if (st != kPressed) {
            p.setPen(QPen(QColor(255, 255, 255, 90), 1));
            p.drawLine(QPointF(r.left() + radius, r.top() + 1), QPointF(r.right() - radius, r.top() + 1));
        }
        face(p, st == kPressed ? r.translated(1, 1) : r, st);
    }
    return img;
}

Face Caption(const QString& text, int px, QColor ink = QColor(30, 30, 34)) {
    return [=](QPainter& p, const QRectF& r, State s) {
        p.setFont(Font(px));
        if (s != kDisabled) {
            p.setPen(QColor(255, 255, 255, 110));
            p.drawText(r.translated(0, 1), Qt::AlignCenter, text);
        }
        p.setPen(s == kDisabled ? QColor(150, 146, 140) : ink);
        p.drawText(r, Qt::AlignCenter, text);
    };
}

Face Glyph(std::function<void(QPainterPath&, const QRectF&)> shape) {
    return [=](QPainter& p, const QRectF& r, State s) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);  // overlapping strokes stay filled
        shape(path, r);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? QColor(160, 156, 150) : QColor(40, 40, 46));
        p.drawPath(path);
    };
}

// A close cross: two strokes of the given width, half arms long, through the centre.
Face Cross(double half, double width) {
    return Glyph([=](QPainterPath& path, const QRectF& r) {
        QPainterPathStroker st;
        st.setWidth(width);
        QPainterPath x;
        const QPointF c = r.center();
        x.moveTo(c + QPointF(-half, -half)); x.lineTo(c + QPointF(half, half));
        x.moveTo(c + QPointF(half, -half)); x.lineTo(c + QPointF(-half, half));
        path.addPath(st.createStroke(x).simplified());
    });
}

void Triangle(QPainterPath& path, double cx, double cy, double size, bool left) {
    const double d = left ? -1 : 1;
    QPolygonF t;
    t << QPointF(cx + d * size * 0.5, cy) << QPointF(cx - d * size * 0.5, cy - size * 0.6)
      << QPointF(cx - d * size * 0.5, cy + size * 0.6);
    path.addPolygon(t);
    path.closeSubpath();
}

// Navigation glyphs: count triangles, an optional bar at the outer end.
Face Arrows(int count, bool left, bool bar) {
    return Glyph([=](QPainterPath& path, const QRectF& r) {
        const double s = r.height() * 0.42, cy = r.center().y();
        const double total = count * s * 0.75 + (bar ? 3 : 0);
        double x = r.center().x() - total / 2 + s * 0.375;
        if (bar && left) {
            path.addRect(QRectF(x - s * 0.375, cy - s * 0.6, 2.5, s * 1.2));
            x += 3;
        }
        for (int i = 0; i < count; ++i, x += s * 0.75) Triangle(path, x + s * 0.1, cy, s, left);
        if (bar && !left) path.addRect(QRectF(x - s * 0.375 + 0.5, cy - s * 0.6, 2.5, s * 1.2));
    });
}

// A bar sheet: horizontal pieces (start cap, end cap, tile, knob) in the top row and
// vertical pieces (start, end, tile) in a column at the right.
QImage BarSheet(int cap, int tile, int h, QColor fill, QColor track) {
    const int knob = h;
    const int w = 2 * cap + tile + knob + h;
    QImage img(w, std::max(h, 2 * cap + tile), QImage::Format_RGB32);
    img.fill(QColor(236, 230, 216));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto groove = [&](QRectF r, QColor c, bool vertical) {
        QLinearGradient g(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
        g.setColorAt(0, c.darker(125));
        g.setColorAt(0.45, c.lighter(120));
        g.setColorAt(1, c.darker(110));
        p.fillRect(r, g);
    };
    // Caps: the ends of the track.
    groove(QRectF(0, 0, 2 * cap + tile, h), track, false);
    groove(QRectF(2 * cap, 0, tile, h), fill, false);
    // The knob: first column in the filled colour, last in the track colour.
    const double kx = 2 * cap + tile;
    groove(QRectF(kx, 0, knob / 2.0, h), fill, false);
    groove(QRectF(kx + knob / 2.0, 0, knob / 2.0, h), track, false);
    QRadialGradient kg(kx + knob * 0.4, h * 0.35, knob * 0.6);
    kg.setColorAt(0, QColor(255, 255, 255));
    kg.setColorAt(1, QColor(150, 146, 140));
    p.setBrush(kg);
    p.setPen(QPen(QColor(90, 86, 80), 1));
    p.drawEllipse(QRectF(kx + 1.5, 1.5, knob - 3, h - 3));
    p.setPen(QPen(track.darker(170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(0, 0.5), QPointF(kx, 0.5));
    p.drawLine(QPointF(0, h - 0.5), QPointF(kx, h - 0.5));
    p.drawLine(QPointF(0.5, 0), QPointF(0.5, h));
    p.drawLine(QPointF(2 * cap - 0.5, 0), QPointF(2 * cap - 0.5, h));
    // Vertical pieces in the last column.
    const double vx = kx + knob;
    groove(QRectF(vx, 0, h, 2 * cap + tile), track, true);
    p.drawLine(QPointF(vx + 0.5, 0), QPointF(vx + 0.5, 2 * cap + tile));
    p.drawLine(QPointF(vx + h - 0.5, 0), QPointF(vx + h - 0.5, 2 * cap + tile));
    p.drawLine(QPointF(vx, 0.5), QPointF(vx + h, 0.5));
    p.drawLine(QPointF(vx, 2 * cap - 0.5), QPointF(vx + h, 2 * cap - 0.5));
    return img;
}

// The header strip of a reference-diagram pane: four 17-pixel states with an expand arrow.
QImage ReferenceHeader(int w) {
    const int h = 17;
    return ButtonStrip(w, h, QColor(214, 200, 170), [](QPainter& p, const QRectF& r, State s) {
        QPainterPath path;
        const double cx = r.left() + 10, cy = r.center().y();
        QPolygonF t;
        if (s == kPressed)
            t << QPointF(cx - 4, cy - 2) << QPointF(cx + 4, cy - 2) << QPointF(cx, cy + 3);
        else
            t << QPointF(cx - 2, cy - 4) << QPointF(cx - 2, cy + 4) << QPointF(cx + 3, cy);
        path.addPolygon(t);
        p.setPen(Qt::NoPen);
        p.setBrush(s == kDisabled ? QColor(160, 156, 150) : QColor(120, 70, 20));
        p.drawPath(path);
    }, 2);
}

// A glowing ring, frames stacked vertically.
QImage GlowStrip(int size, int frames) {
    QImage img(size, size * frames, QImage::Format_RGB32);
    img.fill(QColor(250, 247, 240));  // the panel colour: animations are block-copied, not keyed
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int f = 0; f < frames; ++f) {
        const double phase = 0.5 - 0.5 * std::cos(2 * M_PI * f / frames);
        const QRectF r(2, f * size + 2, size - 4, size - 4);
        p.setPen(QPen(QColor::fromHsvF(0.11, 0.7, 0.6 + 0.4 * phase), 2 + 2 * phase));
        p.setBrush(QColor::fromHsvF(0.11, 0.5, 0.7 + 0.3 * phase));
        p.drawEllipse(r.adjusted(3, 3, -3, -3));
    }
    return img;
}


// --- the editor's main window, panes and dialogs ----------------------------------------

const QColor kBarTop(120, 74, 36), kBarBottom(86, 52, 24);

// The caption bar behind window titles: the frame's gradient, wide enough for any screen,
// with the two-stone emblem at the left. Titles are drawn over it by the skin's text shapes.
QImage TitleStrip(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bar(0, 0, 0, h);
    bar.setColorAt(0, kBarTop.lighter(115));
    bar.setColorAt(0.5, kBarTop);
    bar.setColorAt(1, kBarBottom);
    p.fillRect(img.rect(), bar);
    p.setPen(kBarTop.lighter(160));
    p.drawLine(QPointF(0, 1.5), QPointF(w, 1.5));
    const double d = h - 10;
    p.setPen(Qt::NoPen);
    QRadialGradient bs(6 + d * 0.35, 5 + d * 0.3, d * 0.8);
    bs.setColorAt(0, QColor(90, 90, 96));
    bs.setColorAt(1, QColor(8, 8, 10));
    p.setBrush(bs);
    p.drawEllipse(QRectF(6, 5, d, d));
    QRadialGradient ws(6 + d * 0.75, 5 + d * 0.3, d * 0.8);
    ws.setColorAt(0, QColor(255, 255, 252));
    ws.setColorAt(1, QColor(196, 194, 186));
    p.setBrush(ws);
    p.drawEllipse(QRectF(6 + d * 0.6, 5, d, d));
    return img;
}

// A tab of w × h: rounded top corners; the selected (pressed) frame takes the pane's ivory
// and loses its bottom edge so that it joins the pane below.
QImage TabStrip(int w, int h, const QString& text, QColor window, QColor pane) {
    QImage img(w, 4 * h, QImage::Format_RGB32);
    img.fill(window);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor base(200, 178, 138), border(150, 124, 84);
    for (int s = 0; s < 4; ++s) {
        const State st = static_cast<State>(s);
        const QRectF r(0.5, s * h + 2.5, w - 1, h + 6);
        QColor top = st == kHover ? base.lighter(112) : base;
        QColor bottom = top.darker(110);
        if (st == kPressed) top = bottom = pane;
        if (st == kDisabled) top = bottom = QColor(226, 220, 208);
        QLinearGradient g(0, r.top(), 0, s * h + h);
        g.setColorAt(0, top.lighter(st == kPressed ? 100 : 115));
        g.setColorAt(1, bottom);
        p.save();
        p.setClipRect(QRect(0, s * h, w, st == kPressed ? h : h - 1));
        p.setBrush(g);
        p.setPen(QPen(border, 1));
        p.drawRoundedRect(r, 5, 5);
        p.restore();
        if (st != kPressed) {
            p.setPen(border);
            p.drawLine(QPointF(0, s * h + h - 0.5), QPointF(w, s * h + h - 0.5));
        } else {
            p.setPen(QPen(QColor(176, 92, 20), 2));
            p.drawLine(QPointF(6, s * h + 3.5), QPointF(w - 6, s * h + 3.5));
        }
        p.setFont(Font(12));
        p.setPen(st == kDisabled ? QColor(150, 146, 140) : st == kPressed ? QColor(92, 52, 16) : QColor(48, 36, 24));
        p.drawText(QRectF(0, s * h + 3, w, h - 3), Qt::AlignCenter, text);
    }
    return img;
}

// A tall link button with its caption written top to bottom, one syllable a line.
QImage VerticalLink(int w, int h, const QString& text, QColor base) {
    return ButtonStrip(w, h, base, [=](QPainter& p, const QRectF& r, State s) {
        p.setFont(Font(12));
        const double line = 15;
        double y = r.center().y() - line * text.size() / 2.0;
        for (const QChar c : text) {
            const QRectF cell(r.left(), y, r.width(), line);
            if (s != kDisabled) {
                p.setPen(QColor(0, 0, 0, 80));
                p.drawText(cell.translated(0, 1), Qt::AlignCenter, QString(c));
            }
            p.setPen(s == kDisabled ? QColor(200, 196, 190) : QColor(255, 248, 232));
            p.drawText(cell, Qt::AlignCenter, QString(c));
            y += line;
        }
    }, 5);
}

// The maker's logo: a stone pair and the name on a dark wooden plate.
QImage Logo(int w, int h) {
    return ButtonStrip(w, h, QColor(104, 64, 30), [=](QPainter& p, const QRectF& r, State s) {
        const double d = r.height() * 0.56;
        const double x = r.left() + 10, y = r.center().y() - d / 2;
        p.setPen(Qt::NoPen);
        QRadialGradient bs(x + d * 0.35, y + d * 0.3, d * 0.8);
        bs.setColorAt(0, QColor(90, 90, 96));
        bs.setColorAt(1, QColor(8, 8, 10));
        p.setBrush(bs);
        p.drawEllipse(QRectF(x, y, d, d));
        QRadialGradient ws(x + d * 0.95, y + d * 0.3, d * 0.8);
        ws.setColorAt(0, QColor(255, 255, 252));
        ws.setColorAt(1, QColor(196, 194, 186));
        p.setBrush(ws);
        p.drawEllipse(QRectF(x + d * 0.62, y, d, d));
        const QColor ink = s == kDisabled ? QColor(200, 190, 176) : QColor(255, 236, 196);
        p.setFont(Font(17));
        p.setPen(ink);
        const QRectF text(x + d * 1.8, r.top() + 4, r.width() - d * 1.8 - 14, r.height() * 0.58);
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("젤로네바둑"));
        p.setFont(Font(10, false));
        p.setPen(ink.darker(120));
        p.drawText(QRectF(text.left(), text.bottom() - 2, text.width(), r.height() * 0.32),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("velmora.example"));
    }, 6);
}

// A small round indicator (on = pressed frame: an amber dot lit up).
// A check box with its caption on the panel's ground: the box is ticked in the pressed frame,
// which a check button shows while it is on.
QImage CheckStrip(int w, int h, const QString& text, int px) {
    QImage img(w, 4 * h, QImage::Format_RGB32);
    img.fill(QColor(250, 247, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int s = 0; s < 4; ++s) {
        const int side = std::min(h - 8, 14);
        const QRectF box(2.5, s * h + (h - side) / 2.0 + 0.5, side - 1, side - 1);
        const bool disabled = s == kDisabled;
        p.setPen(QPen(disabled ? QColor(170, 164, 154) : QColor(120, 92, 60), 1));
        p.setBrush(s == kHover ? QColor(255, 244, 222) : Qt::white);
        p.drawRoundedRect(box, 2, 2);
        if (s == kPressed) {
            QPainterPath tick;
            tick.moveTo(box.left() + side * 0.2, box.center().y());
            tick.lineTo(box.left() + side * 0.42, box.bottom() - side * 0.22);
            tick.lineTo(box.right() - side * 0.18, box.top() + side * 0.2);
            p.setPen(QPen(QColor(200, 110, 30), 2.2,
                          Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
        p.setFont(Font(px, false));
        p.setPen(disabled ? QColor(150, 146, 140) : QColor(30, 30, 34));
        p.drawText(QRectF(side + 8, s * h, w - side - 8, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    return img;
}

QImage Indicator(int size) {
    QImage img(size, 4 * size, QImage::Format_RGB32);
    img.fill(QColor(250, 247, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int s = 0; s < 4; ++s) {
        const QRectF r(1.5, s * size + 1.5, size - 3, size - 3);
        QRadialGradient g(r.center() - QPointF(size * 0.15, size * 0.15), size * 0.6);
        const QColor c = s == kPressed ? QColor(236, 150, 40) : s == kHover ? QColor(220, 206, 180)
                                                                           : QColor(204, 194, 176);
        g.setColorAt(0, c.lighter(140));
        g.setColorAt(1, c);
        p.setBrush(g);
        p.setPen(QPen(QColor(130, 104, 70), 1));
        p.drawEllipse(r);
    }
    return img;
}


// The program's icon for the desktop: a corner of the wooden board with a black and a white
// stone, on a transparent ground, drawn at each size rather than scaled from one picture.
QImage AppIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double m = size / 16.0;
    const QRectF board(m, m, size - 2 * m, size - 2 * m);
    QPainterPath outline;
    outline.addRoundedRect(board, size / 9.0, size / 9.0);
    p.setClipPath(outline);
    p.drawImage(board, Wood(256));
    p.setPen(QPen(QColor(60, 40, 20), std::max(1.0, size / 64.0)));
    const double step = board.width() / 4;
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(board.left() + i * step, board.top()), QPointF(board.left() + i * step, board.bottom()));
        p.drawLine(QPointF(board.left(), board.top() + i * step), QPointF(board.right(), board.top() + i * step));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(90, 58, 28), std::max(1.0, size / 48.0)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    const double d = step * 1.8;
    for (const auto& [black, cx, cy] : {std::tuple{false, 3, 1}, std::tuple{true, 1, 2}}) {
        const QRectF r(board.left() + cx * step - d / 2, board.top() + cy * step - d / 2, d, d);
        QPainterPath disc;
        disc.addEllipse(r);
        p.setClipPath(disc);
        p.drawImage(r, Stone(std::max(32, static_cast<int>(d)), black));
        p.setClipping(false);
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-artwork <output folder>\n");
        return 2;
    }
    g_out = fs::path(argv[1]);
    velmora::RegisterFontSubstitutions();

    // Board and stones.
    Save(Wood(512), "image/Board/바둑판_01.bmp");
    Save(Stone(96, true), "image/Board/흑바둑알_01.bmp");
    Save(Stone(96, false), "image/Board/백바둑알_01.bmp");

    // Frames.
    Save(FrameSheet(8, 28, QColor(120, 74, 36), QColor(86, 52, 24), QColor(50, 30, 14), "Velmora 기보편집기", 200),
         "image/Frame/메인창틀.bmp");
    Save(FrameSheet(6, 24, QColor(72, 96, 120), QColor(48, 66, 86), QColor(30, 40, 52), "Velmora", 120),
         "image/Frame/대화상자틀.bmp");
    Save(PaneSheet(6, QColor(150, 124, 84), QColor(250, 247, 240)), "image/Frame/패널틀.bmp");

    // Bars.
    Save(BarSheet(6, 10, 14, QColor(214, 140, 40), QColor(210, 204, 192)), "image/Bar/진행막대.bmp");
    Save(BarSheet(6, 10, 14, QColor(70, 130, 200), QColor(200, 200, 204)), "image/Bar/타이머막대.bmp");
    Save(BarSheet(4, 8, 8, QColor(160, 120, 70), QColor(200, 186, 160)), "image/Bar/구분막대.bmp");

    // Buttons with captions (four states stacked vertically).
    const QColor warm(222, 206, 172), accent(196, 150, 80), cool(190, 200, 214);
    const struct { const char* file; const char* text; int w; QColor c; } captioned[] = {
        {"image/Button/확인.bmp", "확인", 72, accent},
        {"image/Button/취소.bmp", "취소", 72, warm},
        {"image/Button/예.bmp", "예", 72, accent},
        {"image/Button/아니오.bmp", "아니오", 72, warm},
        {"image/Button/적용.bmp", "적용", 72, warm},
        {"image/Button/탭_기보보기.bmp", "기보 보기", 84, cool},
        {"image/Button/탭_정보입력.bmp", "정보 입력", 84, cool},
        {"image/Button/탭_참고도.bmp", "참고도", 84, cool},
        {"image/Button/메뉴_파일.bmp", "파일", 56, warm},
        {"image/Button/메뉴_편집.bmp", "편집", 56, warm},
        {"image/Button/메뉴_보기.bmp", "보기", 56, warm},
        {"image/Button/메뉴_도움말.bmp", "도움말", 56, warm},
    };
    for (const auto& b : captioned)
        Save(ButtonStrip(b.w, 24, b.c, Caption(QString::fromUtf8(b.text), 12)), b.file);
    Save(ButtonStrip(80, 24, warm, [](QPainter&, const QRectF&, State) {}), "image/Button/기본버튼.bmp");

    // Navigation buttons.
    Save(ButtonStrip(30, 24, warm, Arrows(1, true, true)), "image/Button/처음.bmp");
    Save(ButtonStrip(30, 24, warm, Arrows(2, true, false)), "image/Button/이전10.bmp");
    Save(ButtonStrip(30, 24, warm, Arrows(1, true, false)), "image/Button/이전.bmp");
    Save(ButtonStrip(30, 24, warm, Arrows(1, false, false)), "image/Button/다음.bmp");
    Save(ButtonStrip(30, 24, warm, Arrows(2, false, false)), "image/Button/다음10.bmp");
    Save(ButtonStrip(30, 24, warm, Arrows(1, false, true)), "image/Button/끝.bmp");
    Save(ButtonStrip(44, 24, warm, Caption(QString::fromUtf8("패스"), 12)), "image/Button/패스.bmp");

    // Caption-bar buttons.
    auto cross = Cross(4, 2.2);
    auto minimise = Glyph([](QPainterPath& path, const QRectF& r) {
        path.addRect(QRectF(r.center().x() - 4, r.center().y() + 2, 8, 2));
    });
    auto maximise = Glyph([](QPainterPath& path, const QRectF& r) {
        path.addRect(QRectF(r.center().x() - 4.5, r.center().y() - 4.5, 9, 9));
        path.addRect(QRectF(r.center().x() - 3, r.center().y() - 2.5, 6, 6));
    });
    Save(ButtonStrip(20, 20, QColor(200, 120, 100), cross, 3), "image/Button/닫기.bmp");
    Save(ButtonStrip(20, 20, warm, minimise, 3), "image/Button/최소화.bmp");
    Save(ButtonStrip(20, 20, warm, maximise, 3), "image/Button/최대화.bmp");

    // The reference pane header and an animation strip.
    Save(ReferenceHeader(320), "image/Reference/기보편집기데이타_참고도확장버튼.bmp");
    Save(GlowStrip(24, 8), "image/Ani/반짝임.bmp");

    // The editor's main window: caption bar, restore button, tabs, menu and link buttons.
    const QColor window(246, 242, 232), pane(250, 247, 240);
    Save(TitleStrip(2560, 28), "image/Frame/제목바탕.bmp");
    auto restore = Glyph([](QPainterPath& path, const QRectF& r) {
        // Two window outlines, the front one hiding part of the back one.
        const QPointF c = r.center();
        QPainterPath lines;
        lines.addRect(QRectF(c.x() - 5, c.y() - 1.5, 7, 7));
        lines.moveTo(c.x() - 2, c.y() - 1.5);
        lines.lineTo(c.x() - 2, c.y() - 4.5);
        lines.lineTo(c.x() + 5, c.y() - 4.5);
        lines.lineTo(c.x() + 5, c.y() + 2.5);
        lines.lineTo(c.x() + 2, c.y() + 2.5);
        QPainterPathStroker st;
        st.setWidth(1.6);
        path.addPath(st.createStroke(lines).simplified());
    });
    Save(ButtonStrip(20, 20, warm, restore, 3), "image/Button/이전크기.bmp");
    Save(TabStrip(78, 26, QString::fromUtf8("기보 보기"), window, pane), "image/Main/탭_기보보기.bmp");
    Save(TabStrip(78, 26, QString::fromUtf8("정보 입력"), window, pane), "image/Main/탭_정보입력.bmp");
    Save(TabStrip(78, 26, QString::fromUtf8("참고도"), window, pane), "image/Main/탭_참고도.bmp");
    Save(ButtonStrip(26, 24, warm, Glyph([](QPainterPath& path, const QRectF& r) {
             for (int i = -1; i <= 1; ++i) path.addRect(QRectF(r.center().x() - 6, r.center().y() + i * 4 - 1, 12, 2));
         })), "image/Main/메뉴.bmp");
    Save(ButtonStrip(26, 24, warm, Caption("?", 15, QColor(120, 70, 20))), "image/Main/도움말.bmp");
    const struct { const char* file; const char* text; } links[] = {
        {"image/Main/링크_젤로네바둑.bmp", "젤로네바둑"}, {"image/Main/링크_이달의기사.bmp", "이달의기사"},
        {"image/Main/링크_신예기사.bmp", "신예기사"},   {"image/Main/링크_바둑칼럼.bmp", "바둑칼럼"},
        {"image/Main/링크_바둑강좌.bmp", "바둑강좌"},
    };
    for (const auto& l : links) Save(VerticalLink(36, 112, QString::fromUtf8(l.text), QColor(150, 96, 46)), l.file);
    Save(Logo(148, 48), "image/Main/로고.bmp");
    Save(Indicator(14), "image/Main/표시등.bmp");
    Save(ButtonStrip(14, 14, QColor(200, 120, 100), Cross(3, 1.6), 2), "image/Main/작은닫기.bmp");

    // Captioned buttons of the board panel, the side panes and the dialogs.
    const struct { const char* file; const char* text; int w, h; QColor c; int px; } tools[] = {
        {"image/Pan/열기.bmp", "열기", 50, 24, warm, 12},
        {"image/Pan/저장.bmp", "저장", 50, 24, warm, 12},
        {"image/Pan/인쇄.bmp", "인쇄", 50, 24, warm, 12},
        {"image/Pan/화면저장.bmp", "화면 저장", 68, 24, warm, 12},
        {"image/Pan/놓아보기.bmp", "놓아보기", 68, 24, warm, 12},
        {"image/Pan/스토리추가.bmp", "스토리 추가", 80, 24, accent, 12},
        {"image/Pane/표시설정.bmp", "표시 설정 ▾", 84, 22, warm, 11},
        {"image/Pane/이동.bmp", "이동", 44, 22, warm, 11},
        {"image/Pane/흑맞히기.bmp", "흑 맞히기", 68, 22, warm, 11},
        {"image/Pane/백맞히기.bmp", "백 맞히기", 68, 22, warm, 11},
        {"image/Pane/모두맞히기.bmp", "모두", 52, 22, warm, 11},
        {"image/Pane/힌트끄기.bmp", "힌트 없이", 68, 22, accent, 11},
        {"image/Pane/힌트켜기.bmp", "힌트 보기", 68, 22, accent, 11},
        {"image/Pane/그만.bmp", "그만", 52, 22, warm, 11},
        {"image/Pane/바로_기보보기.bmp", "기보 보기", 64, 20, cool, 11},
        {"image/Pane/바로_정보입력.bmp", "정보 입력", 64, 20, cool, 11},
        {"image/Pane/바로_참고도.bmp", "참고도", 64, 20, cool, 11},
        {"image/Pane/새기보.bmp", "새 기보", 72, 24, accent, 12},
        {"image/Pane/총보나누기.bmp", "총보 나누기", 84, 24, warm, 12},
        {"image/Pane/참고도추가.bmp", "추가", 56, 22, accent, 11},
        {"image/Pane/참고도저장.bmp", "저장", 56, 22, warm, 11},
        {"image/Pane/돌입력.bmp", "수순 입력", 76, 22, warm, 11},
        {"image/Pane/기호입력.bmp", "기호 입력", 76, 22, warm, 11},
        {"image/Pane/기호_돌.bmp", "●", 22, 22, warm, 11},
        {"image/Pane/기호_가.bmp", "가", 22, 22, warm, 11},
        {"image/Pane/기호_대문자.bmp", "A", 22, 22, warm, 11},
        {"image/Pane/기호_소문자.bmp", "a", 22, 22, warm, 11},
        {"image/Pane/기호_1.bmp", "1", 22, 22, warm, 11},
        {"image/Pane/기호_세모.bmp", "△", 22, 22, warm, 11},
        {"image/Pane/기호_네모.bmp", "□", 22, 22, warm, 11},
        {"image/Pane/기호_동그라미.bmp", "○", 22, 22, warm, 11},
        {"image/Pane/기호_엑스.bmp", "X", 22, 22, warm, 11},
        {"image/Dialog/메일보내기.bmp", "메일 보내기", 88, 24, warm, 12},
        {"image/Dialog/홈페이지.bmp", "홈페이지", 88, 24, warm, 12},
        {"image/Dialog/닫기.bmp", "닫기", 72, 24, warm, 12},
        {"image/Dialog/인쇄.bmp", "인쇄", 72, 24, accent, 12},
        {"image/Dialog/그림저장.bmp", "그림 저장", 80, 24, warm, 12},
        {"image/Dialog/미리보기.bmp", "미리 보기", 80, 24, warm, 12},
        {"image/Dialog/수순표시.bmp", "수순", 48, 22, warm, 11},
        {"image/Dialog/좌표표시.bmp", "좌표", 48, 22, warm, 11},
        {"image/Dialog/원래대로.bmp", "원래대로", 64, 22, warm, 11},
        {"image/Dialog/전체기보.bmp", "전체 기보", 112, 22, warm, 11},
        {"image/Dialog/현재수순.bmp", "현재 수순까지", 112, 22, warm, 11},
        {"image/Dialog/수순범위.bmp", "수순 범위", 112, 22, warm, 11},
        {"image/Dialog/나누어인쇄.bmp", "총보 나누기", 112, 22, warm, 11},
        {"image/Dialog/기보열기.bmp", "열기", 72, 24, accent, 12},
        {"image/Dialog/판19줄.bmp", "19줄", 100, 22, warm, 11},
        {"image/Dialog/판13줄.bmp", "13줄", 100, 22, warm, 11},
        {"image/Dialog/판9줄.bmp", "9줄", 100, 22, warm, 11},
        {"image/Dialog/판다른크기.bmp", "다른 크기", 100, 22, warm, 11},
        {"image/Dialog/새기보시작.bmp", "시작", 72, 24, accent, 12},        {"image/Dialog/파일추가.bmp", "파일 추가…", 112, 22, warm, 11},
        {"image/Dialog/폴더추가.bmp", "폴더 추가…", 96, 22, warm, 11},
        {"image/Dialog/다시읽기.bmp", "다시 읽기", 80, 22, warm, 11},
        {"image/Dialog/읽기멈춤.bmp", "멈춤", 56, 22, warm, 11},
        {"image/Dialog/찾기.bmp", "찾기", 64, 22, accent, 11},
        {"image/Dialog/조건지우기.bmp", "조건 지우기", 88, 22, warm, 11},
    };
    for (const auto& b : tools)
        Save(ButtonStrip(b.w, b.h, b.c, Caption(QString::fromUtf8(b.text), b.px)), b.file);

    Save(CheckStrip(100, 22, QString::fromUtf8("좌표 표시"), 12), "image/Dialog/좌표체크.bmp");

    // The desktop icons, in the layout of the hicolor theme.
    for (int size : {48, 128, 256}) {
        const std::string dir = "icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        fs::create_directories(g_out / dir);
        if (!AppIcon(size).save(QString::fromStdString((g_out / dir / "velmora.png").string()), "PNG")) {
            std::fprintf(stderr, "make-artwork: cannot write the %d-pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}
