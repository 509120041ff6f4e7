#include "skin/AnimationShape.h"

#include <tinyxml2.h>

#include <algorithm>

#include "skin/SkinXml.h"

namespace velmora {

void AnimationShape::Build(const tinyxml2::XMLElement* el) {
    const tinyxml2::XMLElement* pos = el->FirstChildElement("Position");
    const tinyxml2::XMLElement* size = el->FirstChildElement("Size");
    const int x = AttrInt(pos, "x"), y = AttrInt(pos, "y");
    rect = QRect(x, y, AttrInt(size, "w"), AttrInt(size, "h"));
    const std::string file = AttrText(el, "file");
    if (!file.empty()) strip.Load(file);
    frameWidth = AttrInt(el, "framewidth");
    steps.clear();
    total = 0;
    startIndex = 0;
    if (const tinyxml2::XMLElement* frames = el->FirstChildElement("Frames")) {
        startIndex = AttrInt(frames, "index");
        total = AttrInt(frames, "time");
        for (const auto* f = frames->FirstChildElement("Frame"); f; f = f->NextSiblingElement("Frame"))
            steps.push_back({AttrInt(f, "index"), std::max(0, AttrInt(f, "interval"))});
    }
    loopForever = total == 0;
    Reset();
}

int AnimationShape::Tick(int elapsedMs) {
    if (!loopForever) {
        remaining -= elapsedMs;
        if (remaining < 0) return -1;
    }
    if (steps.empty()) return current;
    accumulated += elapsedMs;
    // Steps of zero length all round would never use up the time.
    long cycle = 0;
    for (const Step& s : steps) cycle += s.interval;
    if (cycle == 0) {
        accumulated = 0;
        return current;
    }
    // Whole cycles bring the same step back; skip them in one go.
    if (accumulated > cycle) accumulated -= static_cast<int>((accumulated - 1) / cycle * cycle);
    while (steps[static_cast<size_t>(current)].interval < accumulated) {
        accumulated -= steps[static_cast<size_t>(current)].interval;
        current = (current + 1) % static_cast<int>(steps.size());
    }
    return current;
}

void AnimationShape::Reset() {
    current = 0;
    accumulated = 0;
    remaining = total;
}

void AnimationShape::Draw(Surface& dc) const {
    if (steps.empty() || strip.IsEmpty()) return;
    const int frame = steps[static_cast<size_t>(current)].frame;
    strip.DrawImage(dc, rect.x(), rect.y(), rect.width(), frameWidth, 0,
                    SkinProduct(frameWidth, frame));
}

}  // namespace velmora
