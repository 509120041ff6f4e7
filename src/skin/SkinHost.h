#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Surface.h"
#include "skin/AnchorItem.h"
#include "skin/SkinShape.h"

class QEvent;
class QWidget;
namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

class AnimationView;
class TimerSet;
class TimerShape;

// Window timer ids of skinned windows.
enum SkinTimer : int { COUNTDOWN_TIMER = 1001, ANIMATION_TIMER = 1002 };

// What SkinWindow and SkinDialog share: reading the window file, building shapes and
// controls, anchoring, painting, animation and the element helpers. The two classes differ
// only where IsDialog() is consulted.
class SkinHost {
public:
    struct ShapeEntry {
        std::unique_ptr<SkinShape> shape;
        AnchorItem anchor;
    };
    struct ControlEntry {
        int id = 0;
        QWidget* control = nullptr;  // a child of the window, destroyed with it
        int kind = 0;                // 2 for Button and AniButton, 0 otherwise
    };

    virtual ~SkinHost();

    // Remembers the window file; empty builds nothing.
    void SetSkinFile(const std::string& path) { skinFile_ = path; }
    const std::string& SkinFile() const { return skinFile_; }

    // The first shape in document order with id, or null.
    SkinShape* FindShape(int id) const;
    template <class T>
    T* FindShapeAs(int id) const { return dynamic_cast<T*>(FindShape(id)); }
    // Sets the caption of the Text shape id and repaints it; nothing without such a shape.
    void SetShapeText(int id, const std::string& text);
    // The caption of the Text shape id; "" without one.
    std::string GetShapeText(int id) const;
    // Shows or hides shape id and repaints it.
    void SetShapeVisible(int id, bool visible);
    // Sets the mark-up of the HtmlText shape id and lays it out again.
    void SetShapeHtml(int id, const std::string& markup);
    // Selects cell (−1: none) of the ListShape id.
    void SetListCell(int id, int cell);
    // Sets the value (clamped to 0..100) of the ProgressShape id.
    void SetProgressValue(int id, int value);

    // The child control with id, or null.
    QWidget* FindControl(int id) const;
    template <class T>
    T* FindControlAs(int id) const { return dynamic_cast<T*>(FindControl(id)); }
    // The text of control id (an edit's text, a combo box's current text, …); "" without one.
    std::string GetControlText(int id) const;
    // Sets the text of control id; nothing without one.
    void SetControlText(int id, const std::string& text);
    // Shows or hides control id.
    void ShowControl(int id, bool show);
    // Enables or disables control id.
    void EnableControl(int id, bool enable);
    // Enter in the edit control editId gives command commandId, as a click on that button
    // would (nothing while the button is disabled); nothing without such an edit.
    void SubmitOnEnter(int editId, int commandId);

    bool IsDialog() const { return dialog_; }
    Rgb BackColor() const { return backColor_; }
    // The window rectangle from the file (after the 1024 rule for windows).
    QRect FileRect() const { return fileRect_; }
    QSize MinSize() const { return {minWidth_, minHeight_}; }
    bool EdgeRegion() const { return edgeRegion_; }
    const std::vector<ShapeEntry>& Shapes() const { return shapes_; }
    const std::vector<AnchorItem>& AnchoredControls() const { return anchoredControls_; }
    const std::vector<ControlEntry>& Controls() const { return controls_; }

    // Moves every anchored shape and control for the window's current size, always from
    // the file rectangles, never below MinSize; then renews the window region.
    void RelayoutAnchors();
    // One animation timer event at the millisecond clock value now: advances every
    // animation by the time since the previous event (0 for the first).
    void AdvanceAnimations(std::uint32_t now);
    // (Re)starts the animation timer; its first event then counts no elapsed time.
    void StartAnimations();
    // Moves the hover of every HtmlText shape to window point p (outside all shapes when
    // the mouse left) and repaints the shapes whose look changed.
    void HoverShapesAt(QPoint p);
    // Draws the background and every shape into dc (the window's size).
    void RenderShapes(Surface& dc);
    // Whether the window's timer id is running.
    bool TimerRunning(int id) const;

protected:
    explicit SkinHost(bool dialog) : dialog_(dialog) {}

    // The widget this host draws into and parents the controls to.
    virtual QWidget* HostWidget() = 0;

    // Builders, replaceable by derived windows.
    virtual SkinShape* CreateFrameShape(const tinyxml2::XMLElement* el);
    virtual void BuildShapes(const tinyxml2::XMLElement* window);
    virtual void BuildControls(const tinyxml2::XMLElement* window);
    // Called last in every build, also when nothing could be built.
    virtual void OnSkinBuilt() {}

    // A click or menu command from control id (for dialogs after 100/101 ended it).
    virtual void onCommand(int id) { (void)id; }
    // Any other notification from control id (kCmdChanged, kCmdSelChanged).
    virtual void onNotify(int id, int code) { (void)id; (void)code; }
    // A numbered window message; return true when handled.
    virtual bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
        (void)message; (void)wParam; (void)lParam;
        return false;
    }
    // A timer id the framework does not use itself.
    virtual void onTimer(int id) { (void)id; }

    // Reads the file and builds the window; PlaceWindow puts the widget at the file
    // rectangle. Returns whether a document was read.
    bool BuildFromSkin();
    virtual void PlaceWindow(const QRect& rect) = 0;
    // Dialog countdown ticks (hook for SkinDialog).
    virtual void OnCountdownTimer() {}
    // Routes message and command (true: ev was one of them); mouse moves and leaving also
    // reach the HtmlText shapes' hover, and then go on to the window (false).
    bool DispatchEvent(QEvent* ev);
    // Timer event of id from the window's TimerSet.
    void HandleTimer(int id);
    // The double-buffered paint of the whole window.
    void PaintWindow();
    TimerSet& Timers();
    // The dialog's countdown state.
    int countdownId_ = 0;
    int countdownSeconds_ = 0;
    int countdownTicks_ = 0;
    int countdownRemaining_ = 0;

    bool colorKeyed_ = false;
    bool resizable_ = false;
    bool edgeRegion_ = false;

private:
    SkinShape* BuildShape(const tinyxml2::XMLElement* el);
    QWidget* BuildControl(const tinyxml2::XMLElement* el, const QRect& rect, int id);
    void UpdateRegion();
    void RepaintShape(const SkinShape* s);

    bool dialog_;
    std::string skinFile_;
    Rgb backColor_ = 0;
    QRect fileRect_;
    int minWidth_ = 0, minHeight_ = 0;
    std::vector<ShapeEntry> shapes_;
    std::vector<AnchorItem> anchoredControls_;
    std::vector<ControlEntry> controls_;
    std::vector<AnimationView*> animations_;
    std::uint32_t lastAnimationTick_ = 0;
    bool animationStarted_ = false;
    TimerSet* timers_ = nullptr;
};

}  // namespace velmora
