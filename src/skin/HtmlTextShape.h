#pragma once

#include <memory>
#include <string>

#include "skin/SkinShape.h"

namespace velmora {

class HtmlDrawer;

// Mark-up text laid out by its own HtmlDrawer inside the rectangle.
class HtmlTextShape : public SkinShape {
public:
    HtmlTextShape();
    ~HtmlTextShape() override;
    void Draw(Surface& dc) override;
    // Replaces the text, with every tab and line feed removed, and lays it out again.
    void SetText(const std::string& markup);
    const std::string& Text() const { return text_; }
    // Moves the hover (links, hot images) to window point p of the last drawing; a hidden
    // shape hovers nothing. True when the shape needs repainting.
    bool HoverAt(QPoint p);
    // Whether the text shows an animated image list (the window's animation timer runs then).
    bool Animated() const;
    // Runs the text's animations on by ms; true when the shape needs repainting.
    bool Animate(int ms);
    // The drawer, for reading the last layout.
    const HtmlDrawer& Drawer() const { return *drawer_; }

private:
    std::string text_;
    std::unique_ptr<HtmlDrawer> drawer_;
};

}  // namespace velmora
