#include "skin/SkinDialog.h"

#include <QMouseEvent>

#include "platform/Messages.h"
#include "platform/Timers.h"
#include "platform/WindowFrame.h"
#include "skin/SkinShape.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

HitArea HitAt(const QDialog& d, QPoint global, bool resizable) {
    return DialogHitTest(global, QRect(d.mapToGlobal(QPoint(0, 0)), d.size()), resizable, d.isMaximized());
}

}  // namespace

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

int SkinDialog::ExecCentredOver(const QWidget* window) {
    EnsureBuilt();
    if (window) move(window->geometry().center() - rect().center());
    return exec();
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
        SkinProduct(countdownRemaining_, countdownSeconds_, countdownTicks_) + 1;
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
    if (e->button() == Qt::LeftButton && StartFrameDrag(this, HitAt(*this, e->globalPosition().toPoint(), resizable_)))
        return;
    QDialog::mousePressEvent(e);
}

void SkinDialog::mouseMoveEvent(QMouseEvent* e) {
    if (resizable_) setCursor(ResizeCursor(EdgesOf(HitAt(*this, e->globalPosition().toPoint(), true))));
    QDialog::mouseMoveEvent(e);
}

}  // namespace velmora
