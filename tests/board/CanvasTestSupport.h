#pragma once

#include <QRect>
#include <vector>

#include "board/BoardCanvas.h"
#include "game/BoardLogic.h"

namespace velmora::test {

// Flat test images: every pixel of the texture, the black and the white stone is one known
// colour, so a pixel tells what was drawn there.
constexpr Rgb kWood = 0xD0A050;
constexpr Rgb kStoneBlack = 0x101010;
constexpr Rgb kStoneWhite = 0xF0F0F0;

inline Surface Flat(int size, Rgb color) {
    Surface s(size, size);
    s.Fill(color);
    return s;
}

// A canvas over a board that remembers what it was asked to show.
struct RecordingCanvas : BoardCanvas {
    explicit RecordingCanvas(const BoardLogic& logic) : BoardCanvas(logic) {
        SetImages(Flat(64, kWood), Flat(48, kStoneBlack), Flat(48, kStoneWhite));
        SetBackground(0x203040);
    }
    std::vector<QRect> shown;
    int invalidations = 0;

    void ShowRect(const QRect& rect) override { shown.push_back(rect); }
    void Invalidate() override { ++invalidations; }
    void ClearLog() {
        shown.clear();
        invalidations = 0;
    }
};

// A board with a recording canvas of client size width × height, installed as its view.
struct CanvasBoard {
    BoardLogic logic;
    RecordingCanvas canvas{logic};

    explicit CanvasBoard(int width = 400, int height = 400) {
        logic.SetView(&canvas);
        canvas.SetClientSize(width, height);
        canvas.Relayout();
    }
    ~CanvasBoard() { logic.SetView(nullptr); }

    const Surface& Back() const { return canvas.BackBuffer(); }
    QRect Square(int i, int j) const { return canvas.Geometry().PointRect(i, j); }
    QPoint Centre(int i, int j) const { return canvas.Geometry().PointCentre(i, j); }
    // Pixel position of point (i, j), 0-based, for the input layer.
    QPoint Click(int i, int j) const { return Centre(i, j); }
};

// Number of pixels in r of s for which pred(colour) holds.
template <class Pred>
int CountPixels(const Surface& s, const QRect& r, Pred pred) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) n += pred(s.Pixel(x, y)) ? 1 : 0;
    }
    return n;
}

inline int Red(Rgb c) {
    return (c >> 16) & 0xFF;
}
inline int Green(Rgb c) {
    return (c >> 8) & 0xFF;
}
inline int Blue(Rgb c) {
    return c & 0xFF;
}

// True when square r of the back buffer equals the empty board's square of (i, j).
inline bool ShowsBareBoard(const CanvasBoard& b, int i, int j) {
    const BoardGeometry& g = b.canvas.Geometry();
    const QRect r = b.Square(i, j);
    for (int y = 0; y < g.cell; ++y) {
        for (int x = 0; x < g.cell; ++x) {
            if (b.Back().Pixel(r.x() + x, r.y() + y) !=
                b.canvas.BoardSurface().Pixel(g.pad + i * g.cell + x, g.pad + j * g.cell + y))
                return false;
        }
    }
    return true;
}

}  // namespace velmora::test
