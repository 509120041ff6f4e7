#pragma once

#include <QRect>
#include <vector>

#include "skin/SkinBitmap.h"

namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

// A frame-strip animation: frames stacked vertically in one bitmap, shown step by step for
// the step's interval. Used as a window shape, by animated buttons and as the entries of
// the animation image sets.
class AnimationShape {
public:
    struct Step {
        int frame = 0;     // frame index in the strip
        int interval = 0;  // ms the frame stays
    };

    // Reads an AnimationShape element: Position/Size, file, framewidth and Frames with its
    // Frame children. The strip is loaded through the resource lookup.
    void Build(const tinyxml2::XMLElement* el);

    // Advances by elapsedMs; returns the new step position, or −1 when a timed animation
    // has run out (the caller then stops its timer and calls Reset).
    int Tick(int elapsedMs);
    // Back to the first step with the full running time.
    void Reset();
    // Draws the current frame at the rectangle's top-left, as wide as the rectangle and
    // framewidth high; nothing when there are no steps or no strip.
    void Draw(Surface& dc) const;

    QRect rect;
    SkinBitmap strip;
    int frameWidth = 0;  // height of one frame, despite the attribute's name
    std::vector<Step> steps;
    int current = 0;
    int accumulated = 0;
    bool loopForever = true;
    int total = 0;
    int remaining = 0;
    int startIndex = 0;  // kept from the file, unused
};

}  // namespace velmora
