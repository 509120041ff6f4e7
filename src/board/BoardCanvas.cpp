#include "board/BoardCanvas.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/Fonts.h"
#include "record/BoardLines.h"
#include "record/SgfReader.h"
#include "skin/ResourceArchive.h"

namespace velmora {

namespace {

constexpr Rgb kBlackRgb = 0x000000;
constexpr Rgb kWhiteRgb = 0xFFFFFF;

constexpr const char* kTexturePath = "image\\Board\\바둑판_01.bmp";
constexpr const char* kBlackStonePath = "image\\Board\\흑바둑알_01.bmp";
constexpr const char* kWhiteStonePath = "image\\Board\\백바둑알_01.bmp";

bool lastMoveMarkShown = true;
CoordinateStyle coordinateStyle = CoordinateStyle::kClassic;

}  // namespace

bool LastMoveMarkShown() {
    return lastMoveMarkShown;
}
void SetLastMoveMarkShown(bool on) {
    lastMoveMarkShown = on;
}

CoordinateStyle BoardCoordinateStyle() {
    return coordinateStyle;
}
void SetBoardCoordinateStyle(CoordinateStyle style) {
    // A board always names its points when it shows coordinates at all.
    coordinateStyle = style == CoordinateStyle::kUsual ? style : CoordinateStyle::kClassic;
}

// --- geometry ---

BoardGeometry BoardGeometry::Compute(int width, int height, bool coordinates, int lines) {
    BoardGeometry g;
    g.width = width;
    g.height = height;
    g.coordinates = coordinates;
    g.lines = IsBoardSize(lines) ? lines : kDefaultBoardSize;
    g.cell = (std::min(width, height) - 24 - (coordinates ? 20 : 0)) /
             std::max(g.lines, kSmallestUnitLines);
    g.pad = g.cell / 4;
    if (g.pad > 8) g.pad = 9;
    g.side = g.lines * g.cell + 2 * g.pad;
    g.x0 = (width - g.side) / 2 - (coordinates ? 10 : 0);
    g.y0 = (height - g.side) / 2 - (coordinates ? 10 : 0);
    return g;
}

QRect BoardGeometry::PointRect(int i, int j) const {
    return QRect(i * cell + x0 + pad, j * cell + y0 + pad, cell, cell);
}

QPoint BoardGeometry::PointCentre(int i, int j) const {
    return PointRect(i, j).topLeft() + QPoint(cell / 2, cell / 2);
}

GridPoint BoardGeometry::HitTest(int x, int y) const {
    if (cell <= 0) return {};
    // C division truncates toward zero: up to a cell left of or above the grid still hits 1.
    const int i = (x - x0 - pad) / cell;
    const int j = (y - y0 - pad) / cell;
    if (i < 0 || j < 0 || i >= lines || j >= lines) return {};
    return ToGridPoint(PointIndex{i, j});
}

// --- canvas ---

BoardCanvas::BoardCanvas(const BoardLogic& logic) : logic_(logic) {
    defaultFont_ = MakeFont("Arial", 12, 700);
}

bool BoardCanvas::LoadImages() {
    ResourceArchive& archive = ResourceArchive::Instance();
    SetImages(archive.LoadBitmapFile(kTexturePath), archive.LoadBitmapFile(kBlackStonePath),
              archive.LoadBitmapFile(kWhiteStonePath));
    return !texture_.isNull() && !blackStone_.isNull() && !whiteStone_.isNull();
}

void BoardCanvas::SetImages(const Surface& texture, const Surface& black, const Surface& white) {
    texture_ = texture;
    wood_ = Surface();
    blackStone_ = black;
    whiteStone_ = white;
    builtCell_ = 0;  // the next re-layout rebuilds from the new images
}

void BoardCanvas::SetDeviceScale(int scale) {
    scale = std::max(1, scale);
    if (scale == scale_) return;
    scale_ = scale;
    defaultFont_ = MakeFont("Arial", 12 * scale_, 700);
    builtCell_ = 0;  // the next re-layout rebuilds everything at the new resolution
    fontCell_ = 0;
    wood_ = Surface();
}

void BoardCanvas::SetClientSize(int width, int height) {
    geometry_.width = width;
    geometry_.height = height;
}

const QFont& BoardCanvas::NumberFont(int shownNumber) const {
    return shownNumber / 10 < 10 ? wideFont_ : narrowFont_;
}

void BoardCanvas::BuildFonts() {
    const float f = static_cast<float>(pix_.cell * 0.625);
    const int height = static_cast<int>(f);
    wideFont_ = CellSizedFont("Arial", height, static_cast<int>(f * 0.4545454545454546), 600);
    narrowFont_ = CellSizedFont("Arial", height, static_cast<int>(f * 0.4), 600);
}

void BoardCanvas::Relayout() {
    geometry_ = BoardGeometry::Compute(geometry_.width, geometry_.height,
                                       logic_.CoordinatesShown(), logic_.BoardSize());
    // The pictures are drawn in device pixels: every length of the layout times the scale.
    pix_ = geometry_;
    for (int* length : {&pix_.width, &pix_.height, &pix_.cell, &pix_.pad, &pix_.side, &pix_.x0,
                        &pix_.y0})
        *length *= scale_;
    const int cell = pix_.cell;
    if (pix_.width > 0 && pix_.height > 0 &&
        (back_.width() != pix_.width || back_.height() != pix_.height))
        back_.Resize(pix_.width, pix_.height);
    if (cell <= 0) {
        if (!back_.isNull()) back_.Fill(background_);
        looks_.clear();
        return;
    }
    if (cell != fontCell_) {
        // Sizing the fonts probes their metrics: too slow for every refresh.
        BuildFonts();
        markR_ = cell / 3;
        markS_ = static_cast<int>(markR_ * std::sin(M_PI / 3));
        markH_ = static_cast<int>(markR_ * std::cos(M_PI / 3));
        markA_ = static_cast<int>(markR_ * std::sin(M_PI / 4));
        fontCell_ = cell;
    }
    if ((cell != builtCell_ || geometry_.lines != builtLines_) && !texture_.isNull() &&
        !blackStone_.isNull()) {
        if (scale_ == 1) {
            wood_ = texture_;
        } else if (wood_.width() != texture_.width() * scale_) {
            wood_ = Surface(texture_.width() * scale_, texture_.height() * scale_);
            wood_.StretchBlt(wood_.rect(), texture_, texture_.rect(), StretchMode::Halftone);
        }
        BuildBoardSurface();
        BuildStoneStrip();
        builtCell_ = cell;
        builtLines_ = geometry_.lines;
        ++rebuilds_;
    }
    composePending_ = true;
}

void BoardCanvas::BuildBoardSurface() {
    const int cell = pix_.cell;
    const int pad = pix_.pad;
    const int side = pix_.side;
    // The tiles below cover every pixel: a board of the same side is drawn over as it is.
    if (board_.width() != side || board_.height() != side)
        board_.image() = QImage(side, side, QImage::Format_RGB32);
    for (int col = 0; col <= side / wood_.width(); ++col) {
        for (int row = 0; row <= side / wood_.height(); ++row)
            board_.BitBlt(col * wood_.width(), row * wood_.height(), wood_.width(),
                          wood_.height(), wood_, 0, 0);
    }

    const int lines = pix_.lines;
    const int first = cell / 2 + pad;
    const int last = lines * cell - cell / 2 + pad;
    // Colours and pens follow the cell in points; pens are as many pixels wide as a point.
    const int unit = scale_;
    const Rgb inner = geometry_.cell <= 17 ? board_colors::kGreyLine : kBlackRgb;
    for (int k = 1; k <= lines - 2; ++k) {
        const int p = k * cell + cell / 2 + pad;
        board_.Line(QPoint(p, first), QPoint(p, last), inner, unit);
        board_.Line(QPoint(first, p), QPoint(last, p), inner, unit);
    }

    const int e = pad + cell / 2;
    const int g = (lines - 1) * cell + cell / 2 + pad;
    const int t = lines * cell - cell / 2 + pad - 1;
    const int edge = (geometry_.cell <= 17 ? 1 : 2) * unit;
    board_.Line(QPoint(e, e), QPoint(e, t), kBlackRgb, edge);
    board_.Line(QPoint(e, e), QPoint(t, e), kBlackRgb, edge);
    board_.Line(QPoint(g, e), QPoint(g, t), kBlackRgb, edge);
    board_.Line(QPoint(e, g), QPoint(t, g), kBlackRgb, edge);

    const int o = cell / 9;
    const Rgb fill = kBlackRgb;
    for (const GridPoint& p : StarPoints(lines)) {
        const int x = (p.x - 1) * cell + cell / 2 + pad;
        const int y = (p.y - 1) * cell + cell / 2 + pad;
        board_.Ellipse(QRect(QPoint(x - o, y - o), QPoint(x + o, y + o)), kBlackRgb, unit, &fill);
    }
}

void BoardCanvas::BuildStoneStrip() {
    const int cell = pix_.cell;
    strip_.Resize(5 * cell, cell);
    const QRect mask(kSlotMask * cell, 0, cell, cell);
    strip_.Fill(mask, kWhiteRgb);
    const Rgb fill = kBlackRgb;
    strip_.Ellipse(mask, kBlackRgb, cell / 8 == 0 ? 2 : cell / 8, &fill);

    const int source = blackStone_.width();
    strip_.StretchBlt(QRect(kSlotBlack * cell, 0, cell, cell), blackStone_,
                      QRect(0, 0, source, source), StretchMode::Halftone);
    strip_.StretchBlt(QRect(kSlotWhite * cell, 0, cell, cell), whiteStone_,
                      QRect(0, 0, source, source), StretchMode::Halftone);

    // Drawing through a mask of only black and white, one black run a row, copies that run.
    maskSpans_.assign(static_cast<std::size_t>(cell), {0, 0});
    for (int row = 0; row < cell; ++row) {
        const QRgb* m = reinterpret_cast<const QRgb*>(strip_.image().constScanLine(row)) +
                        kSlotMask * cell;
        int from = -1;
        int to = -1;
        for (int col = 0; col < cell; ++col) {
            const QRgb rgb = m[col] & 0xFFFFFFu;
            const bool black = rgb == 0;
            if (!black && rgb != 0xFFFFFFu) from = -2;  // grey: no runs
            if (from == -2) break;
            if (black && from == -1) from = col;
            if (black && to != -1) from = -2;  // a second run
            if (!black && from >= 0 && to == -1) to = col;
        }
        if (from == -2) {
            maskSpans_.clear();
            break;
        }
        if (from >= 0) maskSpans_[static_cast<std::size_t>(row)] = {from, to == -1 ? cell : to};
    }
}

void BoardCanvas::Compose() {
    composePending_ = false;
    if (back_.isNull()) return;
    if (!Ready()) {
        back_.Fill(background_);
        plainSize_ = QSize();
        looks_.clear();
        return;
    }
    const BoardGeometry& g = pix_;
    const int x0 = g.x0;
    const int y0 = g.y0;
    const int s = g.side;
    // The background only where the board picture does not cover it.
    const QRect board = QRect(x0, y0, std::min(s, board_.width()), std::min(s, board_.height()))
                            .intersected(back_.rect());
    // Around the board only the frame (drawn again below, opaque) and the coordinates change
    // it: without coordinates, a buffer of the same size and board place keeps its background.
    const bool plain = !g.coordinates && plainAround_ == board && plainColour_ == background_ &&
                       plainSize_ == back_.image().size();
    if (!plain) {
        if (board.isEmpty()) back_.Fill(background_);
        back_.Fill(QRect(0, 0, back_.width(), board.top()), background_);
        back_.Fill(QRect(0, board.bottom() + 1, back_.width(), back_.height()), background_);
        back_.Fill(QRect(0, board.top(), board.left(), board.height()), background_);
        back_.Fill(QRect(board.right() + 1, board.top(), back_.width(), board.height()), background_);
    }
    plainAround_ = g.coordinates ? QRect() : board;
    plainColour_ = background_;
    plainSize_ = back_.image().size();
    // The board with its stones in one pass when it can; otherwise the stones go on after.
    stonesComposed_ = CopyBoardWithStones();
    if (!stonesComposed_) back_.BitBlt(x0, y0, s, s, board_, 0, 0);

    using namespace board_colors;
    // The frame: lines one point wide around the board, in points from its corner.
    const int u = scale_;
    const auto frame = [&](int x, int y, int w, int h, Rgb colour) {
        back_.Fill(QRect(x0 + x * u, y0 + y * u, w * u, h * u), colour);
    };
    const int side = geometry_.side;
    frame(-1, -1, 1, side + 2, kFrameLight);
    frame(0, -1, side + 1, 1, kFrameLight);
    frame(side, 0, 1, side + 1, kFrameDark);
    frame(0, side, side + 1, 1, kFrameDark);
    frame(side + 1, 1, 1, side + 1, kFrameShadow);
    frame(1, side + 1, side + 1, 1, kFrameShadow);
    frame(side + 2, 2, 1, side + 1, kFrameShadow);
    frame(2, side + 2, side + 1, 1, kFrameShadow);

    if (g.coordinates) {
        for (int k = 0; k < g.lines; ++k) {
            back_.DrawText(ColumnLabel(coordinateStyle, k + 1, g.lines),
                           QRect(k * g.cell + g.cell / 2 + g.pad + x0 - 10 * u,
                                 s + y0 + 3 * u, 20 * u, 20 * u),
                           defaultFont_, kCoordinate, kAlignHCenter | kAlignVCenter);
            back_.DrawText(RowLabel(coordinateStyle, k + 1, g.lines),
                           QRect(g.pad + s + x0, k * g.cell + g.pad + g.cell / 2 + y0 - 10 * u,
                                 20 * u, 20 * u),
                           defaultFont_, kCoordinate, kAlignLeft | kAlignVCenter);
        }
    }

    for (int i = 0; i < g.lines; ++i) {
        for (int j = 0; j < g.lines; ++j) DrawPoint(i, j);
    }
    stonesComposed_ = false;

    if (logic_.ShowHints()) {
        for (const GridPoint& hint : logic_.Hints()) {
            if (hint.x == -1 || hint.y == -1) continue;
            const PointIndex cell = ToPointIndex(hint);
            back_.DrawText("X", g.PointRect(cell.x, cell.y), defaultFont_, kHint,
                           kAlignHCenter | kAlignVCenter);
        }
    }

    for (const NaviStone& mark : logic_.Marks()) DrawMark(mark);
    for (const KeptProperty& drawing : logic_.Drawings()) DrawDrawing(drawing);
    DrawPreviewIfHovering();
    // Lines and arrows cross squares: a picture with drawings is only ever composed whole.
    looks_ = logic_.Drawings().empty() ? PointLooks() : std::vector<std::string>();
    lookBackground_ = background_;
    lookGeometry_ = geometry_;
    lookCoordinates_ = coordinateStyle;
}

bool BoardCanvas::CopyBoardWithStones() {
    // Each row of the board is copied around the stones' runs, which come from the strip: the
    // pixels DrawThroughMask would leave, written once.
    const BoardGeometry& g = pix_;
    if (maskSpans_.empty() || board_.width() != g.side || board_.height() != g.side ||
        !back_.rect().contains(QRect(g.x0, g.y0, g.side, g.side)))
        return false;
    const QImage& board = board_.image();
    const QImage& strip = strip_.image();
    QImage& back = back_.image();
    std::vector<int> stoneSlot(static_cast<std::size_t>(g.lines));
    int band = -1;
    for (int y = 0; y < g.side; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(board.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(back.scanLine(g.y0 + y)) + g.x0;
        const int grid = y - g.pad;
        const int j = grid >= 0 ? grid / g.cell : -1;
        if (j < 0 || j >= g.lines) {
            std::copy(from, from + g.side, to);
            continue;
        }
        if (j != band) {
            band = j;
            for (int i = 0; i < g.lines; ++i) {
                const int stone = logic_.Cell(i, j).stone;
                stoneSlot[static_cast<std::size_t>(i)] =
                    stone == 0 ? -1 : (stone == kBlack ? kSlotBlack : kSlotWhite);
            }
        }
        const int row = grid - j * g.cell;
        const auto [left, right] = maskSpans_[static_cast<std::size_t>(row)];
        const QRgb* stones = reinterpret_cast<const QRgb*>(strip.constScanLine(row));
        int done = 0;
        if (left < right) {
            for (int i = 0; i < g.lines; ++i) {
                const int slot = stoneSlot[static_cast<std::size_t>(i)];
                if (slot < 0) continue;
                const int a = g.pad + i * g.cell + left;
                const int b = g.pad + i * g.cell + right;
                std::copy(from + done, from + a, to + done);
                std::copy(stones + slot * g.cell + left, stones + slot * g.cell + right, to + a);
                done = b;
            }
        }
        std::copy(from + done, from + g.side, to + done);
    }
    return true;
}

std::vector<std::string> BoardCanvas::PointLooks() const {
    const int lines = geometry_.lines;
    std::vector<std::string> looks(static_cast<std::size_t>(lines * lines));
    const auto put = [](std::string& look, int value) {
        look.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    const int display = logic_.NumberDisplay();
    const RangeNumbering& range = logic_.Range();
    for (int i = 0; i < lines; ++i) {
        for (int j = 0; j < lines; ++j) {
            const PointCell& cell = logic_.Cell(i, j);
            std::string& look = looks[static_cast<std::size_t>(i * lines + j)];
            put(look, cell.stone);
            put(look, cell.flags);
            put(look, lastMoveMarkShown ? 1 : 0);
            if (cell.stone != 0) {
                put(look, cell.number);
                put(look, display);
                if (range.on) {
                    put(look, range.first);
                    put(look, range.last);
                    put(look, range.start);
                }
            }
        }
    }
    const auto at = [&](int i, int j) -> std::string* {
        if (!OnBoard(PointIndex{i, j}, lines)) return nullptr;
        return &looks[static_cast<std::size_t>(i * lines + j)];
    };
    if (logic_.ShowHints()) {
        for (const GridPoint& hint : logic_.Hints()) {
            if (hint.x == -1 || hint.y == -1) continue;
            const PointIndex p = ToPointIndex(hint);
            if (std::string* look = at(p.x, p.y)) look->append("\x01hint");
        }
    }
    for (const NaviStone& mark : logic_.Marks()) {
        if (std::string* look = at(mark.x, mark.y)) {
            look->append("\x02");
            put(*look, mark.kind);
            put(*look, mark.underlay);
            put(*look, static_cast<int>(mark.text.size()));
            look->append(mark.text);
        }
    }
    const PointIndex hover = logic_.HoverPoint();
    const int mode = logic_.Mode();
    if ((mode == kModePlay || mode == kModeDiagram)) {
        if (std::string* look = at(hover.x, hover.y); look && logic_.Cell(hover.x, hover.y).stone == 0) {
            look->append("\x03");
            put(*look, logic_.NextStoneColour());
        }
    }
    return looks;
}

void BoardCanvas::ForgetLook(int i, int j) {
    const int lines = geometry_.lines;
    if (!OnBoard(PointIndex{i, j}, lines) || looks_.size() != static_cast<std::size_t>(lines * lines))
        return;
    // No look of PointLooks is ever empty.
    looks_[static_cast<std::size_t>(i * lines + j)].clear();
}

void BoardCanvas::RedrawSquare(int i, int j) {
    // The steps of Compose that touch this square, in its order; each keeps to the square.
    RestorePoint(i, j);
    DrawPoint(i, j);
    if (logic_.ShowHints()) {
        for (const GridPoint& hint : logic_.Hints()) {
            if (hint.x == -1 || hint.y == -1) continue;
            const PointIndex p = ToPointIndex(hint);
            if (p.x == i && p.y == j)
                back_.DrawText("X", pix_.PointRect(i, j), defaultFont_, board_colors::kHint,
                               kAlignHCenter | kAlignVCenter);
        }
    }
    for (const NaviStone& mark : logic_.Marks())
        if (mark.x == i && mark.y == j) DrawMark(mark);
    const PointIndex hover = logic_.HoverPoint();
    if (hover.x == i && hover.y == j) DrawPreviewIfHovering();
}

bool BoardCanvas::RefreshChangedPoints() {
    if (composePending_ || !Ready() || looks_.empty() || !logic_.Drawings().empty()) return false;
    const BoardGeometry g = BoardGeometry::Compute(geometry_.width, geometry_.height,
                                                   logic_.CoordinatesShown(), logic_.BoardSize());
    const BoardGeometry& was = lookGeometry_;
    if (g.width != was.width || g.height != was.height || g.coordinates != was.coordinates ||
        g.lines != was.lines || g.cell != was.cell || g.x0 != was.x0 || g.y0 != was.y0 ||
        g.cell * scale_ != builtCell_ || g.lines != builtLines_ || g.cell * scale_ != fontCell_ ||
        background_ != lookBackground_ || (g.coordinates && coordinateStyle != lookCoordinates_) ||
        back_.width() != pix_.width ||
        back_.height() != pix_.height)
        return false;
    std::vector<std::string> looks = PointLooks();
    if (looks.size() != looks_.size()) return false;
    for (int i = 0; i < g.lines; ++i) {
        for (int j = 0; j < g.lines; ++j) {
            const std::size_t k = static_cast<std::size_t>(i * g.lines + j);
            if (looks[k] == looks_[k]) continue;
            RedrawSquare(i, j);
            ShowPoint(i, j);
        }
    }
    looks_ = std::move(looks);
    return true;
}

void BoardCanvas::DrawThroughMask(int slot, int x, int y) {
    // XOR the stone, AND the mask, XOR the stone again, in one pass over the square: the mask's
    // white keeps the board, its black leaves the stone.
    const int cell = pix_.cell;
    int sx = slot * cell, mx = kSlotMask * cell, w = cell, h = cell, sy = 0;
    if (x < 0) { sx -= x; mx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min(w, back_.width() - x);
    h = std::min(h, std::min(back_.height() - y, strip_.height() - sy));
    if (w <= 0 || h <= 0) return;
    const QImage& strip = strip_.image();
    QImage& back = back_.image();
    if (!maskSpans_.empty()) {
        // The mask is one run of black a row: the stone's run is copied, the rest kept.
        const int left = sx - slot * cell;  // columns of the square cut off on the left
        for (int row = 0; row < h; ++row) {
            const auto [from, to] = maskSpans_[static_cast<std::size_t>(sy + row)];
            const int a = std::max(from, left);
            const int b = std::min(to, left + w);
            if (a >= b) continue;
            const QRgb* stone = reinterpret_cast<const QRgb*>(strip.constScanLine(sy + row)) +
                                slot * cell + a;
            QRgb* d = reinterpret_cast<QRgb*>(back.scanLine(y + row)) + x + (a - left);
            std::copy(stone, stone + (b - a), d);
        }
        return;
    }
    for (int row = 0; row < h; ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(strip.constScanLine(sy + row));
        const QRgb* __restrict stone = line + sx;
        const QRgb* __restrict mask = line + mx;
        QRgb* __restrict d = reinterpret_cast<QRgb*>(back.scanLine(y + row)) + x;
        for (int col = 0; col < w; ++col)
            d[col] = 0xFF000000u | ((((d[col] ^ stone[col]) & mask[col]) ^ stone[col]) & 0xFFFFFFu);
    }
}

void BoardCanvas::DrawPoint(int i, int j) {
    ComposeIfPending();
    ForgetLook(i, j);
    if (!Ready() || !OnBoard(PointIndex{i, j}, geometry_.lines)) return;
    const PointCell& cell = logic_.Cell(i, j);
    const QRect square = pix_.PointRect(i, j);
    bool numbered = false;
    if (cell.stone != 0) {
        if (!stonesComposed_)
            DrawThroughMask(cell.stone == kBlack ? kSlotBlack : kSlotWhite, square.x(), square.y());

        const int display = logic_.NumberDisplay();
        const RangeNumbering& range = logic_.Range();
        const bool highlight = (cell.flags & kFlagHighlight) != 0;
        int shown = 0;
        if (display != kNumbersNone) {
            if (range.on) {
                numbered = range.first <= cell.number && cell.number <= range.last;
                shown = cell.number + (range.start - range.first);
            } else {
                numbered = cell.number > 0 && (highlight || display == kNumbersAll);
                shown = cell.number;
            }
        }
        if (numbered) {
            using namespace board_colors;
            const Rgb color = cell.stone == kBlack ? (highlight ? kHighlightOnBlack : kWhiteRgb)
                                                   : (highlight ? kHighlightOnWhite : kBlackRgb);
            back_.DrawText(std::to_string(shown), square, NumberFont(shown), color,
                           kAlignHCenter | kAlignVCenter);
        }
    }

    const QPoint c = pix_.PointCentre(i, j);
    const int g = pix_.cell / 6;
    const int squares = cell.flags & (kFlagBlackSquare | kFlagWhiteSquare);
    if (squares == kFlagBlackSquare) {
        back_.Fill(QRect(c.x() - g, c.y() - g, 2 * g, 2 * g), kBlackRgb);
    } else if (squares == kFlagWhiteSquare) {
        back_.Fill(QRect(c.x() - g, c.y() - g, 2 * g, 2 * g), kWhiteRgb);
    } else if (squares == 0 && (cell.flags & kFlagLastMove) && lastMoveMarkShown) {
        const Rgb color = cell.stone == kBlack ? board_colors::kHighlightOnBlack
                                               : board_colors::kHighlightOnWhite;
        if (numbered) {
            // The number fills the middle of the stone: a ring just inside its edge marks it.
            const int r = pix_.cell * 7 / 16;
            back_.Ellipse(QRect(c.x() - r, c.y() - r, 2 * r, 2 * r), color,
                          std::max(scale_, pix_.cell / 14), nullptr);
        } else {
            const int leg = static_cast<int>(2.5 * g);
            back_.Polygon({c, c + QPoint(leg, 0), c + QPoint(0, leg)}, color, scale_, &color);
        }
    }
}

void BoardCanvas::RestorePoint(int i, int j) {
    ComposeIfPending();
    ForgetLook(i, j);
    if (!Ready() || !OnBoard(PointIndex{i, j}, geometry_.lines)) return;
    const int cell = pix_.cell;
    const QRect square = pix_.PointRect(i, j);
    back_.BitBlt(square.x(), square.y(), cell, cell, board_, pix_.pad + i * cell,
                 pix_.pad + j * cell);
}

void BoardCanvas::UpdatePoint(int i, int j) {
    ComposeIfPending();
    // Restoring first also clears what a smaller picture (a number, a mark) left outside the disc.
    RestorePoint(i, j);
    const PointCell& cell = logic_.Cell(i, j);
    if (cell.stone != 0 || cell.flags != 0) DrawPoint(i, j);
}

void BoardCanvas::ShowPoint(int i, int j) {
    if (!Ready() || !OnBoard(PointIndex{i, j}, geometry_.lines)) return;
    ShowRect(geometry_.PointRect(i, j));
}

void BoardCanvas::DrawPreviewStone(int i, int j, int kind) {
    ComposeIfPending();
    ForgetLook(i, j);
    if (kind < 0 || kind > 3 || !OnBoard(PointIndex{i, j}, geometry_.lines) || !Ready()) return;
    const int cell = pix_.cell;
    strip_.BitBlt(kSlotScratch * cell, 0, cell, cell, board_, pix_.pad + i * cell,
                  pix_.pad + j * cell);
    strip_.BitBlt(kSlotPreview * cell, 0, cell, cell, strip_, kSlotScratch * cell, 0);
    if (kind == 1 || kind == 2) {
        const int stone = (kind == 1 ? kSlotBlack : kSlotWhite) * cell;
        QImage& image = strip_.image();
        for (int y = 0; y < cell; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < cell; ++x) {
                const QRgb s = line[stone + x];
                QRgb& d = line[kSlotPreview * cell + x];
                // 40 percent stone over 60 percent board, each channel truncated.
                const int r = (4 * qRed(s) + 6 * qRed(d)) / 10;
                const int gr = (4 * qGreen(s) + 6 * qGreen(d)) / 10;
                const int b = (4 * qBlue(s) + 6 * qBlue(d)) / 10;
                d = qRgb(r, gr, b);
            }
        }
    }
    const QRect square = pix_.PointRect(i, j);
    DrawThroughMask(kSlotPreview, square.x(), square.y());
    ShowPoint(i, j);
}

void BoardCanvas::RemovePreviewStone(int i, int j) {
    ComposeIfPending();
    RestorePoint(i, j);
    ShowPoint(i, j);
}

void BoardCanvas::DrawPreviewIfHovering() {
    // A recomposed picture keeps the preview the pointer still rests on.
    const PointIndex hover = logic_.HoverPoint();
    const int mode = logic_.Mode();
    if ((mode != kModePlay && mode != kModeDiagram) || !OnBoard(hover, geometry_.lines)) return;
    if (logic_.Cell(hover.x, hover.y).stone != 0) return;
    DrawPreviewStone(hover.x, hover.y, logic_.NextStoneColour() == kBlack ? 1 : 2);
}

void BoardCanvas::DrawMark(const NaviStone& mark) {
    ComposeIfPending();
    ForgetLook(mark.x, mark.y);
    if (!Ready() || !OnBoard(PointIndex{mark.x, mark.y}, geometry_.lines)) return;
    RestorePoint(mark.x, mark.y);
    const QRect square = pix_.PointRect(mark.x, mark.y);
    // The point's other marks (a label beside a shape, a shape on a set-up stone) are drawn
    // with it; one of the same class is the one mark replaces.
    std::vector<const NaviStone*> others;
    for (const NaviStone& other : logic_.Marks())
        if (other.x == mark.x && other.y == mark.y && MarkClass(other.kind) != MarkClass(mark.kind))
            others.push_back(&other);
    // A mark without a stone of its own on a stone of the position, or of another mark at
    // its point, is drawn on that stone: wiping the stone would show a position that is not
    // there.
    const auto isStone = [](int u) { return u == kWhite || u == kBlack; };
    int underlay = mark.underlay;
    for (const NaviStone* other : others)
        if (!isStone(underlay) && isStone(other->underlay)) underlay = other->underlay;
    const int stone = logic_.Cell(mark.x, mark.y).stone;
    if ((underlay == -1 || underlay == 0) && stone != 0) underlay = stone;
    if (underlay == kWhite) {
        DrawThroughMask(kSlotWhite, square.x(), square.y());
    } else if (underlay == kBlack) {
        DrawThroughMask(kSlotBlack, square.x(), square.y());
    } else if (underlay == -1) {
        CopyPlainWood(mark.x, mark.y);
    }
    for (const NaviStone* other : others) DrawMarkShape(*other, square);
    DrawMarkShape(mark, square);
    ShowPoint(mark.x, mark.y);
}

void BoardCanvas::CopyPlainWood(int i, int j) {
    // The texture as it lies under this square, without the lines: the patch blends in.
    const int cell = pix_.cell;
    const QRect square = pix_.PointRect(i, j);
    const int bx = pix_.pad + i * cell;
    const int by = pix_.pad + j * cell;
    const int tw = wood_.width();
    const int th = wood_.height();
    for (int dy = 0; dy < cell;) {
        const int ty = (by + dy) % th;
        const int h = std::min(cell - dy, th - ty);
        for (int dx = 0; dx < cell;) {
            const int tx = (bx + dx) % tw;
            const int w = std::min(cell - dx, tw - tx);
            back_.BitBlt(square.x() + dx, square.y() + dy, w, h, wood_, tx, ty);
            dx += w;
        }
        dy += h;
    }
}

void BoardCanvas::DrawDrawing(const KeptProperty& drawing) {
    // The value's two points ("aa:cc"; one point twice when it has no colon), 0-based.
    const std::string_view value = drawing.value;
    const std::size_t colon = value.find(':');
    PointIndex from;
    SgfPointOf(value.substr(0, colon), from.x, from.y);
    PointIndex to = from;
    if (colon != std::string_view::npos) SgfPointOf(value.substr(colon + 1), to.x, to.y);
    for (PointIndex* p : {&from, &to}) {
        --p->x;
        --p->y;
    }
    if (!OnBoard(from, geometry_.lines) || !OnBoard(to, geometry_.lines)) return;
    using board_colors::kMark;
    if (drawing.id == "TB" || drawing.id == "TW") {
        // Territory: a small square on each point of the rectangle, in its owner's colour.
        const Rgb fill = drawing.id == "TB" ? kBlackRgb : kWhiteRgb;
        const Rgb edge = drawing.id == "TB" ? kWhiteRgb : kBlackRgb;
        const int g = std::max(2 * scale_, pix_.cell / 6);
        for (int i = std::min(from.x, to.x); i <= std::max(from.x, to.x); ++i) {
            for (int j = std::min(from.y, to.y); j <= std::max(from.y, to.y); ++j) {
                const QPoint c = pix_.PointCentre(i, j);
                back_.Rectangle(QRect(c.x() - g, c.y() - g, 2 * g, 2 * g), edge, scale_, &fill);
            }
        }
        return;
    }
    if (from == to) return;  // a line or arrow needs two points
    const QPoint a = pix_.PointCentre(from.x, from.y);
    const QPoint b = pix_.PointCentre(to.x, to.y);
    back_.Line(a, b, kMark, 3 * scale_);
    if (drawing.id != "AR") return;
    // The head: two sides of a third of a point's width, at 30 degrees to the shaft.
    const double angle = std::atan2(b.y() - a.y(), b.x() - a.x());
    const double length = pix_.cell * 0.45;
    const auto corner = [&](double turn) {
        return b - QPoint(static_cast<int>(std::lround(length * std::cos(angle + turn))),
                          static_cast<int>(std::lround(length * std::sin(angle + turn))));
    };
    const Rgb fill = kMark;
    back_.Polygon({b, corner(M_PI / 6), corner(-M_PI / 6)}, kMark, scale_, &fill);
}

void BoardCanvas::DrawMarkShape(const NaviStone& mark, const QRect& square) {
    using board_colors::kMark;
    const QPoint c = square.topLeft() + QPoint(pix_.cell / 2, pix_.cell / 2);
    const int cx = c.x();
    const int cy = c.y();
    const int r = markR_;
    const int s = markS_;
    const int h = markH_;
    const int a = markA_;
    switch (mark.kind) {
        case kNaviLabelSyllable:
        case kNaviLabelCapital:
        case kNaviLabelSmall:
        case kNaviLabelDigit:
            back_.DrawText(mark.text, square, wideFont_, kMark, kAlignHCenter | kAlignVCenter);
            break;
        case kNaviTriangle:
            back_.Polygon({QPoint(cx, cy - r), QPoint(cx + s, cy + h), QPoint(cx - s, cy + h)},
                          kMark, 2 * scale_, nullptr);
            break;
        case kNaviSquare:
            back_.Rectangle(QRect(cx - a, cy - a, 2 * a, 2 * a), kMark, 2 * scale_,
                            nullptr);
            break;
        case kNaviCircle: {
            const int q = pix_.cell / 4 + 1;
            back_.Ellipse(QRect(cx - q, cy - q, 2 * q, 2 * q), kMark, 2 * scale_, nullptr);
            break;
        }
        case kNaviCross:
            back_.Line(QPoint(cx - a, cy - a), QPoint(cx + a, cy + a), kMark, 2 * scale_);
            back_.Line(QPoint(cx + a, cy - a), QPoint(cx - a, cy + a), kMark, 2 * scale_);
            break;
        default:
            break;
    }
}

// --- the logic's changes ---

void BoardCanvas::OnPointChanged(int column, int row, bool show) {
    UpdatePoint(column, row);
    if (show) ShowPoint(column, row);
}

void BoardCanvas::OnRefresh() {
    // A step redraws only the squares whose look changed.
    if (RefreshChangedPoints()) return;
    Relayout();
    Invalidate();
}

void BoardCanvas::OnRedrawPoints() {
    // Each changed square is restored before it is drawn: numbers now hidden are wiped.
    if (RefreshChangedPoints()) return;
    composePending_ = true;
    Invalidate();
}

}  // namespace velmora
