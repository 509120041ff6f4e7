#pragma once

#include <QFont>
#include <QRect>
#include <memory>
#include <optional>
#include <string>

#include "platform/Surface.h"
#include "skin/AnimationShape.h"
#include "skin/ImageMap.h"
#include "skin/SkinBitmap.h"

namespace velmora {

// A windowless element of a skin window, drawn into the window's off-screen surface in
// document order and moved by anchoring. Every Draw does nothing while the shape is hidden.
class SkinShape {
public:
    virtual ~SkinShape() = default;
    // Draws the shape into dc at its current rectangle (nothing when hidden).
    virtual void Draw(Surface& dc) = 0;

    bool visible = true;
    int id = 0;
    QRect rect;  // current rectangle in client coordinates
};

// A frame or bar cut from an image map; draws nothing when the map is unknown.
class FrameShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    const ImageMap* map = nullptr;
    FrameMode mode = FrameMode::NineSlice;
};

// The top-left part of a bitmap, the size of the rectangle, unscaled.
class ImageShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    SkinBitmap bitmap;
};

// One line of text, vertically centred, on a transparent background; a text wider than the
// shape ends in "…".
class TextShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    std::string caption;
    Rgb color = 0;
    int align = kAlignLeft;  // kAlignLeft, kAlignHCenter or kAlignRight
    std::optional<QFont> font;  // none: the application's default font
};

// A rectangle outlined with a 1-pixel pen and filled.
class BoxShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    Rgb lineColor = 0;
    Rgb fillColor = 0;
};

// One cell of a strip of cells as wide as the shape; cell −1 (the start) draws nothing.
class ListShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    SkinBitmap bitmap;
    bool magentaKey = false;
    int cell = -1;
};

// A progress bar from an image map at value 0..100.
class ProgressShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    const ImageMap* map = nullptr;
    int value = 50;
};

// A dialog's countdown: the first map's bar over the part still remaining, the second
// map's bar over the rest.
class TimerShape : public SkinShape {
public:
    void Draw(Surface& dc) override;
    const ImageMap* firstMap = nullptr;
    const ImageMap* secondMap = nullptr;
    int seconds = 0;
    int total = 0;      // ticks
    int remaining = 0;  // ticks
    int link = 0;       // id of the Text shape showing the seconds left
};

// A frame-strip animation: draws the current frame of its animation data.
class AnimationView : public SkinShape {
public:
    void Draw(Surface& dc) override;
    AnimationShape anim;
};

}  // namespace velmora
