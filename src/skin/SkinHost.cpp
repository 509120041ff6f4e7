#include "skin/SkinHost.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <tinyxml2.h>

#include <algorithm>
#include <functional>

#include "platform/LocalTime.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "platform/Timers.h"
#include "platform/WindowFrame.h"
#include "skin/HtmlTextShape.h"
#include "skin/SkinCaption.h"
#include "skin/SkinControls.h"
#include "skin/SkinResources.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

using tinyxml2::XMLElement;

// The system's dialog-frame size, which a 1024-pixel main window is widened by twice.
constexpr int kDialogFrameWidth = 3;
constexpr int kDialogFrameHeight = 3;
constexpr int kAnimationPeriodMs = 33;

// Runs a callback when the mouse enters a watched widget.
class EnterWatch : public QObject {
public:
    EnterWatch(QObject* parent, std::function<void()> entered) : QObject(parent), entered_(std::move(entered)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Enter) entered_();
        return false;
    }

private:
    std::function<void()> entered_;
};

AnchorItem MakeAnchor(const XMLElement* el, const QRect& r) {
    AnchorItem a;
    a.flags = ParseAnchorFlags(AttrText(el, "anchor"));
    a.left = r.left();
    a.top = r.top();
    a.right = r.left() + r.width();
    a.bottom = r.top() + r.height();
    return a;
}

}  // namespace

SkinHost::~SkinHost() = default;

TimerSet& SkinHost::Timers() {
    if (!timers_) timers_ = new TimerSet(HostWidget(), [this](int id) { HandleTimer(id); });
    return *timers_;
}

bool SkinHost::TimerRunning(int id) const { return timers_ && timers_->IsRunning(id); }

bool SkinHost::BuildFromSkin() {
    if (skinFile_.empty()) {
        OnSkinBuilt();
        return false;
    }
    tinyxml2::XMLDocument doc;
    if (!LoadSkinXml(skinFile_, doc)) {
        OnSkinBuilt();
        return false;
    }
    // A dialog whose document holds nothing at all stays as it is, without the hook.
    if (dialog_ && !doc.FirstChild()) return true;
    const XMLElement* window = doc.FirstChildElement("Window");
    if (!window) {
        OnSkinBuilt();
        return true;
    }
    backColor_ = AttrColor(window, "color");
    QRect r = ElementRect(window);
    const std::string edge = AttrText(window, "edge");
    if (dialog_) {
        resizable_ = std::string(AttrText(window, "resize")) == "true";
        edgeRegion_ = edge != "false";
        colorKeyed_ = std::string(AttrText(window, "rgn")) == "true";
    } else {
        edgeRegion_ = edge == "true";
        if (r.width() == 1024)
            r.setSize({r.width() + 2 * kDialogFrameWidth, r.height() + 2 * kDialogFrameHeight});
    }
    fileRect_ = r;
    const XMLElement* minSize = window->FirstChildElement("MinSize");
    minWidth_ = AttrInt(minSize, "w");
    minHeight_ = AttrInt(minSize, "h");
    PlaceWindow(fileRect_);
    BuildShapes(window);
    BuildControls(window);
    RelayoutAnchors();
    OnSkinBuilt();
    return true;
}

SkinShape* SkinHost::CreateFrameShape(const XMLElement* el) {
    auto* s = new FrameShape;
    s->map = SkinResources::Instance().FindImageMap(AttrText(el, "class"));
    s->mode = FrameModeFromType(AttrText(el, "type"));
    return s;
}

SkinShape* SkinHost::BuildShape(const XMLElement* el) {
    const std::string name = el->Name();
    const SkinResources& res = SkinResources::Instance();
    if (name == "Frame") return CreateFrameShape(el);
    if (name == "ImageShape") {
        auto* s = new ImageShape;
        if (*AttrText(el, "file")) s->bitmap.Load(AttrText(el, "file"));
        return s;
    }
    if (name == "Text") {
        auto* s = new TextShape;
        if (const char* f = AttrText(el, "font"); *f)
            if (const QFont* font = res.FindFont(f)) s->font = *font;
        const std::string align = AttrText(el, "align");
        s->align = align == "RIGHT" ? kAlignRight : align == "CENTER" ? kAlignHCenter : kAlignLeft;
        s->color = AttrColor(el, "color");
        // Windows fill their numbered texts from code; dialogs keep the file's caption.
        if (dialog_ || AttrInt(el, "id") == 0) s->caption = AttrText(el, "caption");
        return s;
    }
    if (name == "HtmlText") {
        auto* s = new HtmlTextShape;
        s->rect = ElementRect(el);
        HostWidget()->setMouseTracking(true);  // links and hot images follow the pointer
        const XMLElement* context = el->FirstChildElement("Context");
        s->SetText(context && context->GetText() ? context->GetText() : "");
        if (s->Animated()) Timers().Start(ANIMATION_TIMER, kAnimationPeriodMs);
        return s;
    }
    if (name == "Box") {
        auto* s = new BoxShape;
        s->lineColor = AttrColor(el, "linecolor");
        s->fillColor = AttrColor(el, "fillcolor");
        return s;
    }
    if (name == "ListShape") {
        auto* s = new ListShape;
        if (*AttrText(el, "file")) s->bitmap.Load(AttrText(el, "file"));
        s->magentaKey = std::string(AttrText(el, "alpha")) == "true";
        return s;
    }
    if (name == "ProgressShape") {
        auto* s = new ProgressShape;
        s->map = res.FindImageMap(AttrText(el, "class"));
        return s;
    }
    if (name == "TimerShape") {
        auto* s = new TimerShape;
        s->firstMap = res.FindImageMap(AttrText(el, "firstClass"));
        s->secondMap = res.FindImageMap(AttrText(el, "secondClass"));
        s->seconds = AttrInt(el, "second");
        s->total = s->remaining = AttrInt(el, "tick");
        s->link = AttrInt(el, "link");
        if (countdownId_ != 0)
            Prompter::Current().MessageBox("두개 이상의 타이머는 존재할 수 없습니다.", "", kButtonsOk);
        countdownId_ = AttrInt(el, "id");
        countdownSeconds_ = s->seconds;
        countdownTicks_ = countdownRemaining_ = s->total;
        return s;
    }
    if (name == "AnimationShape") {
        auto* s = new AnimationView;
        s->anim.Build(el);
        animations_.push_back(s);
        StartAnimations();
        return s;
    }
    return nullptr;
}

void SkinHost::BuildShapes(const XMLElement* window) {
    const XMLElement* list = window->FirstChildElement("Shapes");
    for (const XMLElement* el = list ? list->FirstChildElement() : nullptr; el;
         el = el->NextSiblingElement()) {
        SkinShape* raw = BuildShape(el);
        if (!raw) continue;
        std::unique_ptr<SkinShape> shape(raw);
        shape->rect = ElementRect(el);
        shape->visible = std::string(AttrText(el, "visible")) != "false";
        shape->id = AttrInt(el, "id");
        AnchorItem a = MakeAnchor(el, shape->rect);
        a.shape = shape.get();
        const XMLElement* minSize = el->FirstChildElement("MinSize");
        a.minWidth = AttrInt(minSize, "w");
        a.minHeight = AttrInt(minSize, "h");
        shapes_.push_back({std::move(shape), a});
    }
    if (dialog_ && countdownId_ != 0 && countdownTicks_ > 0)
        Timers().Start(COUNTDOWN_TIMER, SkinProduct(countdownSeconds_, 1000, countdownTicks_));
}

void SkinHost::BuildControls(const XMLElement* window) {
    const XMLElement* list = window->FirstChildElement("Controls");
    // The window sees no move when the mouse goes straight onto a control, so entering one
    // ends the hover of the rich texts.
    EnterWatch* watch = nullptr;
    for (const ShapeEntry& e : shapes_)
        if (!watch && dynamic_cast<const HtmlTextShape*>(e.shape.get()))
            watch = new EnterWatch(HostWidget(), [this] { HoverShapesAt(QPoint(-1, -1)); });
    for (const XMLElement* el = list ? list->FirstChildElement() : nullptr; el;
         el = el->NextSiblingElement()) {
        const QRect rect = ElementRect(el);
        const int id = AttrInt(el, "id");
        QWidget* c = BuildSkinControl({el, rect, HostWidget(), id, dialog_});
        if (!c) continue;
        AnchorItem a = MakeAnchor(el, c->geometry());  // a button may have resized itself
        if (a.flags != kAnchorDefault) {
            a.control = c;
            anchoredControls_.push_back(a);
        }
        if (const char* f = AttrText(el, "font"); *f) {
            const QFont* font = SkinResources::Instance().FindFont(f);
            c->setFont(font ? *font : QFont());
        }
        c->setVisible(std::string(AttrText(el, "visible")) != "false");
        const bool enable = std::string(AttrText(el, "enable")) != "false";
        if (enable || dialog_) c->setEnabled(enable);
        if (watch) c->installEventFilter(watch);
        controls_.push_back({id, c, IsSkinButton(c) ? 2 : 0});
    }
}

void SkinHost::RelayoutAnchors() {
    QWidget* w = HostWidget();
    if (w->isMinimized()) return;
    const int W = std::max(w->width(), minWidth_), H = std::max(w->height(), minHeight_);
    const int dx = W - fileRect_.width(), dy = H - fileRect_.height();
    for (ShapeEntry& e : shapes_) e.shape->rect = AnchoredRect(e.anchor, dx, dy);
    for (const AnchorItem& a : anchoredControls_) a.control->setGeometry(AnchoredRect(a, dx, dy));
    UpdateRegion();
    w->update();
}

void SkinHost::UpdateRegion() {
    QWidget* w = HostWidget();
    QRegion region;
    if (edgeRegion_) region = PolygonRegion(EdgeOutline(w->width(), w->height()));
    if (colorKeyed_) {
        Surface dc(w->width(), w->height());
        RenderShapes(dc);
        const QRegion keyed = RegionExcludingColor(dc, backColor_);
        region = edgeRegion_ ? region.intersected(keyed) : keyed;
    }
    if (edgeRegion_ || colorKeyed_) SetWindowRegion(w, region);
}

void SkinHost::RenderShapes(Surface& dc) {
    dc.Fill(backColor_);
    for (ShapeEntry& e : shapes_) e.shape->Draw(dc);
}

void SkinHost::PaintWindow() {
    QWidget* w = HostWidget();
    Surface dc(w->width(), w->height());
    if (dc.isNull()) return;
    RenderShapes(dc);
    QPainter p(w);
    p.drawImage(0, 0, dc.image());
}

void SkinHost::RepaintShape(const SkinShape* s) {
    if (s) HostWidget()->update(s->rect);
}

SkinShape* SkinHost::FindShape(int id) const {
    for (const ShapeEntry& e : shapes_)
        if (e.shape->id == id) return e.shape.get();
    return nullptr;
}

void SkinHost::SetShapeText(int id, const std::string& text) {
    if (auto* s = FindShapeAs<TextShape>(id)) {
        s->caption = text;
        RepaintShape(s);
    }
}

std::string SkinHost::GetShapeText(int id) const {
    const auto* s = FindShapeAs<TextShape>(id);
    return s ? s->caption : std::string();
}

void SkinHost::SetShapeVisible(int id, bool visible) {
    if (SkinShape* s = FindShape(id)) {
        s->visible = visible;
        RepaintShape(s);
    }
}

void SkinHost::SetShapeHtml(int id, const std::string& markup) {
    if (auto* s = FindShapeAs<HtmlTextShape>(id)) {
        s->SetText(markup);
        if (s->Animated() && !TimerRunning(ANIMATION_TIMER)) {
            animationStarted_ = false;
            Timers().Start(ANIMATION_TIMER, kAnimationPeriodMs);
        }
        RepaintShape(s);
    }
}

void SkinHost::SetListCell(int id, int cell) {
    if (auto* s = FindShapeAs<ListShape>(id)) {
        s->cell = std::max(cell, -1);
        RepaintShape(s);
    }
}

void SkinHost::SetProgressValue(int id, int value) {
    if (auto* s = FindShapeAs<ProgressShape>(id)) {
        s->value = std::clamp(value, 0, 100);
        RepaintShape(s);
    }
}

QWidget* SkinHost::FindControl(int id) const {
    for (const ControlEntry& c : controls_)
        if (ControlId(c.control) == id) return c.control;
    return nullptr;
}

std::string SkinHost::GetControlText(int id) const {
    QWidget* c = FindControl(id);
    return c ? ControlText(c) : std::string();
}

void SkinHost::SetControlText(int id, const std::string& text) {
    if (QWidget* c = FindControl(id)) SetControlTextOf(c, text);
}

void SkinHost::ShowControl(int id, bool show) {
    if (QWidget* c = FindControl(id)) c->setVisible(show);
}

void SkinHost::EnableControl(int id, bool enable) {
    if (QWidget* c = FindControl(id)) c->setEnabled(enable);
}

void SkinHost::SubmitOnEnter(int editId, int commandId) {
    auto* edit = FindControlAs<QLineEdit>(editId);
    if (!edit) return;
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this, commandId] {
        // As the button would: not while it is disabled.
        const QWidget* button = FindControl(commandId);
        if (button && !button->isEnabled()) return;
        SendCommand(HostWidget(), commandId);
    });
}

void SkinHost::AdvanceAnimations(std::uint32_t now) {
    const std::uint32_t elapsed = animationStarted_ ? now - lastAnimationTick_ : 0;
    animationStarted_ = true;
    lastAnimationTick_ = now;
    for (ShapeEntry& e : shapes_)
        if (auto* html = dynamic_cast<HtmlTextShape*>(e.shape.get());
            html && html->Animate(static_cast<int>(elapsed)))
            RepaintShape(html);
    for (AnimationView* v : animations_) {
        const int before = v->anim.current;
        const int step = v->anim.Tick(static_cast<int>(elapsed));
        if (step < 0) {
            // A timed animation ran out: it stops the whole window's animation timer.
            if (timers_) timers_->Stop(ANIMATION_TIMER);
            animationStarted_ = false;
            v->anim.Reset();
            RepaintShape(v);
            return;
        }
        if (step != before) RepaintShape(v);
    }
}

void SkinHost::StartAnimations() {
    if (animations_.empty()) return;
    animationStarted_ = false;
    Timers().Start(ANIMATION_TIMER, kAnimationPeriodMs);
}

void SkinHost::HandleTimer(int id) {
    if (id == ANIMATION_TIMER)
        AdvanceAnimations(TickCountMs());
    else if (id == COUNTDOWN_TIMER && dialog_)
        OnCountdownTimer();
    else
        onTimer(id);
}

void SkinHost::HoverShapesAt(QPoint p) {
    for (ShapeEntry& e : shapes_)
        if (auto* html = dynamic_cast<HtmlTextShape*>(e.shape.get()); html && html->HoverAt(p)) RepaintShape(html);
}

bool SkinHost::DispatchEvent(QEvent* ev) {
    if (ev->type() == QEvent::MouseMove)
        HoverShapesAt(static_cast<QMouseEvent*>(ev)->position().toPoint());
    else if (ev->type() == QEvent::Leave)
        HoverShapesAt(QPoint(-1, -1));
    if (ev->type() == CommandEvent::Type()) {
        auto* c = static_cast<CommandEvent*>(ev);
        if (c->code() == kCmdClicked)
            onCommand(c->id());
        else
            onNotify(c->id(), c->code());
        return true;
    }
    if (ev->type() >= QEvent::User && ev->type() <= QEvent::MaxUser) {
        if (auto* m = dynamic_cast<MessageEvent*>(ev)) {
            m->setAccepted(onMessage(m->message(), m->wParam(), m->lParam()));
            return true;
        }
    }
    return false;
}

}  // namespace velmora
