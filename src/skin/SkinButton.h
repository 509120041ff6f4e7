#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/AnimationShape.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinCaption.h"

namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

class TimerSet;

// The application-wide switch for button tooltips, off until the main window is built.
void SetTooltipsEnabled(bool on);
bool TooltipsEnabled();
// A tooltip text as shown: every two-character sequence backslash-n becomes a line break.
std::string TooltipDisplayText(const std::string& text);

// A skinned owner-drawn button: four frames of one image strip (normal, hover, pressed or
// checked, disabled), captions set by index, hover notification and tooltips. A click is
// sent to the parent as a command with the button's id.
class SkinButton : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Push, Check, Radio };

    // Builds from a Button (or AniButton) element: style words, check, image, tooltip and
    // captions. Created hidden and disabled; the window builder shows and enables it.
    SkinButton(QWidget* parent, int id, const QRect& rect, const tinyxml2::XMLElement* el);
    ~SkinButton() override;

    int Id() const { return id_; }
    Kind ButtonKind() const { return kind_; }
    bool StartsGroup() const { return startsGroup_; }
    bool IsMenuButton() const { return menu_; }
    // A menu button names itself in its hover message.
    void SetMenuButton(bool menu) { menu_ = menu; }
    bool IsChecked() const { return checked_; }
    // Sets the check; checking a radio button clears every other radio button of its group.
    void SetChecked(bool checked);
    bool IsHover() const { return hover_; }
    bool IsPressed() const { return pressed_; }
    // Shows the button pressed or not, as if the mouse held it.
    void SetPressed(bool pressed);

    // The text of caption index; "" when there is none.
    std::string CaptionText(int index) const;
    // Sets the text of caption index; nothing when there is none.
    void SetCaptionText(int index, const std::string& text);
    // The window text (not drawn); "버튼" at creation.
    const std::string& WindowText() const { return windowText_; }
    void SetWindowText(const std::string& text) { windowText_ = text; }

    const std::string& TooltipText() const { return tooltip_; }  // with line breaks
    bool TooltipAlwaysShown() const { return alwaysShow_; }
    // Whether the tooltip is shown now (the global switch or alwaysshow).
    bool TooltipActive() const;

    // Frame shown for the current state: 0 normal, 1 hover, 2 pressed or checked, 3 disabled.
    int StateFrame() const;

protected:
    // Sizes the button to one frame of image (a quarter of its height); false for no image.
    bool SetImage(const SkinBitmap& image);
    const SkinBitmap& Image() const { return image_; }
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    // Paints the button's current look (the still frame, then the captions).
    virtual void PaintFace(QPainter& p);
    virtual void StateChanged() {}

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;

    std::vector<SkinCaption> captions_;

private:
    void ReadTooltip(const tinyxml2::XMLElement* el);
    // The buttons of this button's group, in creation order.
    std::vector<SkinButton*> GroupButtons();

    int id_;
    Kind kind_ = Kind::Push;
    bool startsGroup_ = false;
    bool menu_ = false;
    bool checked_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    bool alwaysShow_ = false;
    std::string tooltip_;
    std::string windowText_ = "버튼";
    SkinBitmap image_;
    int frameWidth_ = 0, frameHeight_ = 0;
};

// A skinned button with several image strips and per-state animations from the animation
// image sets. The owning window switches the animation on; a timed animation that ends
// switches it off again and the still frame returns.
class SkinAniButton : public SkinButton {
    Q_OBJECT
public:
    SkinAniButton(QWidget* parent, int id, const QRect& rect, const tinyxml2::XMLElement* el);
    ~SkinAniButton() override;

    int ImageCount() const { return static_cast<int>(strips_.size()); }
    // Shows strip index (out of range: ignored).
    void SetCurrentImage(int index);
    int CurrentImage() const { return currentImage_; }
    // Switches animation on (restarting the current state's animation) or off.
    void SetAnimating(bool on);
    bool IsAnimating() const { return animating_; }
    bool TimerRunning() const;
    // One timer event at clock value now (ms).
    void AdvanceAnimation(std::uint32_t now);
    // The animation of the current strip for state (0..3), or null.
    AnimationShape* StateAnimation(int state);

    // The icon strip given by AniIconList: cells as wide as iconRect side by side, drawn at
    // iconRect (button coordinates) over the face, magenta transparent when iconAlpha is set.
    QRect iconRect;
    SkinBitmap iconStrip;
    bool iconAlpha = false;

protected:
    void PaintFace(QPainter& p) override;
    void StateChanged() override;

private:
    struct Strip {
        SkinBitmap image;
        std::array<std::optional<AnimationShape>, 4> animations;
    };
    void RestartStateAnimation();
    // The icon cell shown: the frame of anim (the running animation, or null), else the
    // state's frame.
    int IconCell(const AnimationShape* anim) const;

    std::vector<Strip> strips_;
    int currentImage_ = 0;
    bool animating_ = false;
    int shownState_ = -1;
    std::uint32_t lastTick_ = 0;
    bool ticked_ = false;
    TimerSet* timer_ = nullptr;
};

}  // namespace velmora
