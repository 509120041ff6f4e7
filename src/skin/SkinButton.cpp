#include "skin/SkinButton.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <tinyxml2.h>

#include "platform/LocalTime.h"
#include "platform/Messages.h"
#include "platform/Timers.h"
#include "skin/SkinResources.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

using tinyxml2::XMLElement;

bool g_tooltipsEnabled = false;
constexpr int kTooltipShowMs = 5000;
constexpr int kButtonTimer = 1002;
constexpr int kAnimationPeriodMs = 33;

bool Has(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

}  // namespace

void SetTooltipsEnabled(bool on) { g_tooltipsEnabled = on; }
bool TooltipsEnabled() { return g_tooltipsEnabled; }

std::string TooltipDisplayText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

SkinButton::SkinButton(QWidget* parent, int id, const QRect& rect, const XMLElement* el)
    : QWidget(parent), id_(id) {
    setGeometry(rect);
    setVisible(false);
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    const std::string style = AttrText(el, "style");
    if (Has(style, "option") && Has(style, "group")) {
        kind_ = Kind::Radio;
        startsGroup_ = checked_ = true;
    } else if (Has(style, "option")) {
        kind_ = Kind::Radio;
    } else if (Has(style, "check")) {
        kind_ = Kind::Check;
        startsGroup_ = true;
    } else if (Has(style, "push")) {
        startsGroup_ = true;
    }
    if (Has(AttrText(el, "setcheck"), "true")) checked_ = true;
    if (const XMLElement* img = el->FirstChildElement("Image"); img && *AttrText(img, "file")) {
        SkinBitmap bmp;
        bmp.Load(AttrText(img, "file"));
        SetImage(bmp);
    }
    ReadTooltip(el);
    captions_ = ReadCaptions(el);
}

SkinButton::~SkinButton() = default;

void SkinButton::ReadTooltip(const XMLElement* el) {
    const XMLElement* tip = el->FirstChildElement("Tooltip");
    if (!tip) return;
    // Only plain buttons may show their tip before the switch is on.
    if (std::string(el->Name()) == "Button") alwaysShow_ = std::string(AttrText(tip, "alwaysshow")) == "TRUE";
    if (*AttrText(tip, "text")) tooltip_ = TooltipDisplayText(AttrText(tip, "text"));
}

bool SkinButton::SetImage(const SkinBitmap& image) {
    if (image.IsEmpty()) return false;
    image_ = image;
    frameWidth_ = image.Width();
    frameHeight_ = image.Height() / 4;
    resize(frameWidth_, frameHeight_);
    update();
    return true;
}

bool SkinButton::TooltipActive() const { return g_tooltipsEnabled || alwaysShow_; }

int SkinButton::StateFrame() const {
    if (!isEnabled()) return (pressed_ || checked_) ? 2 : 3;
    if (pressed_ || checked_) return 2;
    return hover_ ? 1 : 0;
}

std::string SkinButton::CaptionText(int index) const { return CaptionTextOf(captions_, index); }

void SkinButton::SetCaptionText(int index, const std::string& text) {
    if (SetCaptionTextOf(captions_, index, text)) update();
}

std::vector<SkinButton*> SkinButton::GroupButtons() {
    std::vector<SkinButton*> all;
    if (parentWidget())
        for (QObject* o : parentWidget()->children())
            if (auto* b = qobject_cast<SkinButton*>(o)) all.push_back(b);
    size_t self = 0;
    while (self < all.size() && all[self] != this) ++self;
    if (self == all.size()) return {this};
    size_t first = self;
    while (first > 0 && !all[first]->startsGroup_) --first;
    size_t end = self + 1;
    while (end < all.size() && !all[end]->startsGroup_) ++end;
    return {all.begin() + static_cast<long>(first), all.begin() + static_cast<long>(end)};
}

void SkinButton::SetChecked(bool checked) {
    if (checked_ != checked) {
        checked_ = checked;
        update();
        StateChanged();
    }
    if (checked && kind_ == Kind::Radio)
        for (SkinButton* b : GroupButtons())
            if (b != this) SendMessage(b, UM_RADIO_UNCHECK);
}

void SkinButton::SetPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    update();
    StateChanged();
}

void SkinButton::PaintFace(QPainter& p) {
    if (!image_.IsEmpty())
        p.drawImage(QPoint(0, 0), image_.Bitmap().image(),
                    QRect(0, StateFrame() * frameHeight_, frameWidth_, frameHeight_));
    DrawCaptions(p, captions_, hover_ && isEnabled());
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintFace(p);
}

bool SkinButton::event(QEvent* e) {
    if (e->type() == static_cast<QEvent::Type>(UM_RADIO_UNCHECK)) {
        if (checked_) {
            checked_ = false;
            update();
            StateChanged();
        }
        return true;
    }
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        if (TooltipActive() && !tooltip_.empty())
            QToolTip::showText(he->globalPos(), QString::fromStdString(tooltip_), this, {},
                               kTooltipShowMs);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void SkinButton::enterEvent(QEnterEvent*) {
    if (hover_) return;
    SendMessage(parentWidget(), UM_BUTTON_HOVER, id_, menu_ ? 1 : 0);
    hover_ = true;
    update();
    StateChanged();
}

void SkinButton::leaveEvent(QEvent*) {
    hover_ = false;
    update();
    StateChanged();
}

void SkinButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) SetPressed(true);
}

void SkinButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) return;
    SetPressed(false);
    if (!rect().contains(e->position().toPoint())) return;
    if (kind_ == Kind::Check) SetChecked(!checked_);
    if (kind_ == Kind::Radio) SetChecked(true);
    SendCommand(parentWidget(), id_);
}

void SkinButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) {
        update();
        StateChanged();
    }
    QWidget::changeEvent(e);
}

// ---- animated button

SkinAniButton::SkinAniButton(QWidget* parent, int id, const QRect& rect, const XMLElement* el)
    : SkinButton(parent, id, rect, el) {
    const SkinResources& res = SkinResources::Instance();
    if (const XMLElement* images = el->FirstChildElement("Images")) {
        for (const XMLElement* img = images->FirstChildElement("Image"); img;
             img = img->NextSiblingElement("Image")) {
            if (!*AttrText(img, "file")) continue;
            Strip s;
            s.image.Load(AttrText(img, "file"));
            if (const XMLElement* anims = img->FirstChildElement("AnimationShapes")) {
                for (const XMLElement* a = anims->FirstChildElement("AnimationShape"); a;
                     a = a->NextSiblingElement("AnimationShape")) {
                    const int state = AttrInt(a, "event");
                    const AniImageSet* set = res.FindAniImageSet(AttrText(a, "class"));
                    if (set && state >= 0 && state < 4) s.animations[static_cast<size_t>(state)] = *set;
                }
            }
            strips_.push_back(std::move(s));
            SetImage(strips_.back().image);
        }
    }
    if (!strips_.empty()) SetImage(strips_[0].image);
    if (const XMLElement* icon = el->FirstChildElement("AniIconList")) {
        iconRect = ElementRect(icon);
        if (*AttrText(icon, "file")) iconStrip.Load(AttrText(icon, "file"));
        iconAlpha = std::string(AttrText(icon, "alpha")) == "true";
    }
}

SkinAniButton::~SkinAniButton() = default;

void SkinAniButton::SetCurrentImage(int index) {
    if (index < 0 || index >= ImageCount()) return;
    currentImage_ = index;
    SetImage(strips_[static_cast<size_t>(index)].image);
    shownState_ = -1;
    StateChanged();
}

AnimationShape* SkinAniButton::StateAnimation(int state) {
    if (currentImage_ >= ImageCount() || state < 0 || state > 3) return nullptr;
    auto& a = strips_[static_cast<size_t>(currentImage_)].animations[static_cast<size_t>(state)];
    return a ? &*a : nullptr;
}

bool SkinAniButton::TimerRunning() const { return timer_ && timer_->IsRunning(kButtonTimer); }

void SkinAniButton::SetAnimating(bool on) {
    animating_ = on;
    shownState_ = -1;
    if (on)
        StateChanged();
    else if (timer_)
        timer_->Stop(kButtonTimer);
    update();
}

void SkinAniButton::StateChanged() {
    if (!animating_) return;
    const int state = StateFrame();
    if (state == shownState_) return;
    shownState_ = state;
    RestartStateAnimation();
}

void SkinAniButton::RestartStateAnimation() {
    AnimationShape* anim = StateAnimation(shownState_);
    if (!anim) return;
    anim->Reset();
    ticked_ = false;
    if (!timer_)
        timer_ = new TimerSet(this, [this](int) { AdvanceAnimation(TickCountMs()); });
    timer_->Start(kButtonTimer, kAnimationPeriodMs);
    update();
}

void SkinAniButton::AdvanceAnimation(std::uint32_t now) {
    const std::uint32_t elapsed = ticked_ ? now - lastTick_ : 0;
    ticked_ = true;
    lastTick_ = now;
    AnimationShape* anim = animating_ ? StateAnimation(StateFrame()) : nullptr;
    if (!anim) return;
    const int before = anim->current;
    const int step = anim->Tick(static_cast<int>(elapsed));
    if (step < 0) {
        if (timer_) timer_->Stop(kButtonTimer);
        animating_ = false;
        anim->Reset();
        update();
    } else if (step != before) {
        update();
    }
}

int SkinAniButton::IconCell(const AnimationShape* anim) const {
    const int cell = anim && !anim->steps.empty()
                         ? anim->steps[static_cast<size_t>(anim->current) % anim->steps.size()].frame
                         : StateFrame();
    // A strip with fewer cells shows its first one rather than a black block.
    const long long right = (static_cast<long long>(cell) + 1) * iconRect.width();
    return cell >= 0 && right <= iconStrip.Width() ? cell : 0;
}

void SkinAniButton::PaintFace(QPainter& p) {
    AnimationShape* anim = animating_ ? StateAnimation(StateFrame()) : nullptr;
    if (anim && anim->steps.empty()) anim = nullptr;
    const bool icon = !iconStrip.IsEmpty() && iconRect.width() > 0 && iconRect.height() > 0;
    if (!anim && !icon) {
        SkinButton::PaintFace(p);
        return;
    }
    Surface frame(width(), height());
    if (!Image().IsEmpty())
        frame.BitBlt(0, 0, width(), height(), Image().Bitmap(), 0, StateFrame() * FrameHeight());
    if (anim) {
        anim->rect = QRect(0, 0, width(), height());
        anim->Draw(frame);
    }
    if (icon) {
        const int srcX = IconCell(anim) * iconRect.width();
        if (iconAlpha)
            DrawKeyed(frame, iconStrip, iconRect, srcX);
        else
            frame.BitBlt(iconRect.x(), iconRect.y(), iconRect.width(), iconRect.height(), iconStrip.Bitmap(),
                         srcX, 0);
    }
    p.drawImage(0, 0, frame.image());
    DrawCaptions(p, captions_, IsHover() && isEnabled());
}

}  // namespace velmora
