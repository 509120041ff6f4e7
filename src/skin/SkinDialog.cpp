#include "skin/SkinDialog.h"

#include <QMouseEvent>

#include "platform/Messages.h"
#include "platform/Timers.h"
#include "platform/WindowFrame.h"
#include "skin/SkinShape.h"

namespace velmora {

SkinDialog::SkinDialog(QWidget* parent, const std::string& skinFile)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), SkinHost(true) {
    SetSkinFile(skinFile);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the resize cursor follows the pointer over the borders
}

SkinDialog::~SkinDialog() = default;

void SkinDialog::EnsureBuilt() {
    if (built_) return;
    built_ = true;
    BuildFromSkin();
}

void SkinDialog::PlaceWindow(const QRect& rect) { setGeometry(rect); }

void SkinDialog::showEvent(QShowEvent* e) {
    EnsureBuilt();
    QDialog::showEvent(e);
}

void SkinDialog::reject() { done(kResultCancel); }

bool SkinDialog::event(QEvent* e) {
    if (e->type() == CommandEvent::Type()) {
        auto* c = static_cast<CommandEvent*>(e);
        if (c->code() == kCmdClicked && c->id() == 100) done(kResultCancel);
        if (c->code() == kCmdClicked && c->id() == 101) done(kResultOk);
    }
    if (DispatchEvent(e)) return true;
    return QDialog::event(e);
}

void SkinDialog::CountdownTick() {
    --countdownRemaining_;
    if (countdownRemaining_ < 0) {
        Timers().Stop(COUNTDOWN_TIMER);
        OnTimerShapeExpired();
    }
    auto* shape = FindShapeAs<TimerShape>(countdownId_);
    if (!shape) return;
    shape->remaining = countdownRemaining_;
    const int shown =
        (countdownTicks_ != 0 ? countdownRemaining_ * countdownSeconds_ / countdownTicks_ : 0) + 1;
    if (shape->link != 0 && FindShape(shape->link))
        SetShapeText(shape->link, std::to_string(shown) + "초");
    update(shape->rect);
}

void SkinDialog::paintEvent(QPaintEvent*) { PaintWindow(); }

void SkinDialog::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    RelayoutAnchors();
}

void SkinDialog::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        const HitArea a = DialogHitTest(e->globalPosition().toPoint(), QRect(mapToGlobal(QPoint(0, 0)), size()),
                                        resizable_, isMaximized());
        if (a == HitArea::Caption && StartSystemMove(this)) return;
        if (a != HitArea::Client && a != HitArea::Caption && StartSystemResize(this, EdgesOf(a))) return;
    }
    QDialog::mousePressEvent(e);
}

void SkinDialog::mouseMoveEvent(QMouseEvent* e) {
    if (resizable_) {
        const HitArea a = DialogHitTest(e->globalPosition().toPoint(), QRect(mapToGlobal(QPoint(0, 0)), size()),
                                        true, isMaximized());
        const Qt::Edges edges = EdgesOf(a);
        setCursor(ResizeCursor(edges));
    }
    QDialog::mouseMoveEvent(e);
}

}  // namespace velmora
