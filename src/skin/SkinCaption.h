#pragma once

#include <QRect>
#include <string>
#include <vector>

#include "platform/Surface.h"

class QPainter;
namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

// A text drawn on a skinned static or button, set by code by its index.
struct SkinCaption {
    struct Offset {
        std::string type;  // "OVER", "DOWN", …
        int moveX = 0, moveY = 0;
        Rgb color = 0;
    };
    int index = 0;
    std::string font;      // font registry name, looked up when drawing
    int align = kAlignHCenter;
    Rgb color = 0;
    QRect rect;            // in the control's client coordinates
    std::vector<Offset> offsets;
    std::string text = "test";
};

// The rectangle of el's Position and Size children (missing values are 0).
QRect ElementRect(const tinyxml2::XMLElement* el);

// The text of caption index; "" when there is none.
std::string CaptionTextOf(const std::vector<SkinCaption>& captions, int index);
// Sets the text of caption index; false when there is none.
bool SetCaptionTextOf(std::vector<SkinCaption>& captions, int index, const std::string& text);

// The Caption children of a control element, in document order.
std::vector<SkinCaption> ReadCaptions(const tinyxml2::XMLElement* control);

// Draws the captions in index order 0, 1, 2, … stopping at the first missing index, on a
// transparent background; with hover, a caption with an OVER offset is shifted and recoloured.
void DrawCaptions(QPainter& p, const std::vector<SkinCaption>& captions, bool hover);

}  // namespace velmora
