#pragma once

#include <QRect>
#include <QSlider>
#include <QTextBrowser>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "skin/SkinBitmap.h"

class QWidget;
namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

// What a control builder gets: the element, its rectangle in the parent's client
// coordinates, the parent window, the element's id and whether the parent is a dialog.
struct ControlContext {
    const tinyxml2::XMLElement* element = nullptr;
    QRect rect;
    QWidget* parent = nullptr;
    int id = 0;
    bool dialog = false;
};

// Makes the control of one element name, or returns null to skip the element.
using ControlBuilder = std::function<QWidget*(const ControlContext&)>;

// Registers builder for the element name, replacing the built-in one (the board library
// registers "BadukPan" this way); an empty builder restores the built-in one.
void SetControlBuilder(const std::string& name, ControlBuilder builder);
// Builds the control for ctx.element's name; null for names the window type does not know
// (Slider, ListCtrl and ChatCtrl exist in windows only).
QWidget* BuildSkinControl(const ControlContext& ctx);

// The child-window id of a built control (the WebCtrl's is always 0xE900); 0 for others.
int ControlId(const QWidget* control);
// Tags w with its child-window id.
void SetControlId(QWidget* w, int id);
// Whether w is a skinned button (Button or AniButton).
bool IsSkinButton(const QWidget* w);
// The text of a control: an edit's text, a combo box's current text, a button's window text.
std::string ControlText(const QWidget* control);
// Sets the text of a control; a combo box selects the item with that text (or edits it).
void SetControlTextOf(QWidget* control, const std::string& text);

// The window-only trackbar. With a thumb or channel image it draws itself: the background
// colour, the channel image stretched across the width and centred in height, and the thumb
// (magenta transparent) at the value's place; without images it looks like a plain slider.
class SkinSlider : public QSlider {
    Q_OBJECT
public:
    SkinSlider(QWidget* parent, const SkinBitmap& thumb, const SkinBitmap& channel);
    // The thumb's left edge for the current value (0 when the range is empty).
    int ThumbLeft() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    bool Skinned() const { return !thumb_.IsEmpty() || !channel_.IsEmpty(); }
    int ThumbWidth() const { return thumb_.IsEmpty() ? 0 : std::min(thumb_.Width(), width()); }
    // Moves the value to the one whose thumb is centred nearest x.
    void SetValueAt(int x);

    SkinBitmap thumb_;
    SkinBitmap channel_;
};

// The WebCtrl's control id.
constexpr int kWebCtrlId = 0xE900;

// The embedded browser: local pages shown in place, web addresses handed to the system's
// browser.
class SkinWebView : public QTextBrowser {
    Q_OBJECT
public:
    explicit SkinWebView(QWidget* parent);
    // Shows the local file (a path or file: address), or a "not found" page naming it when
    // there is no such file; opens a web address externally.
    void Navigate(const std::string& address);
    // The last address navigated to.
    const std::string& Address() const { return address_; }

private:
    std::string address_;
};

}  // namespace velmora
