#include "app/MainFrame.h"

#include <QMouseEvent>
#include <QScreen>

#include "app/CommandIds.h"
#include "app/MainLayout.h"

namespace velmora {

void MainFrame::PlaceCentred(bool maximise) {
    if (const QScreen* s = screen()) normalGeometry_ = QRect(s->availableGeometry().center() - rect().center(), size());
    // Centred first, so that restoring a window that started maximised brings it back there.
    setGeometry(normalGeometry_);
    if (maximise) Maximise();
}

void MainFrame::PlaceAt(const QRect& normal, bool maximise) {
    normalGeometry_ = normal;
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(normal);
    if (maximise) Maximise();
}

void MainFrame::BringToFront() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainFrame::Maximise() {
    if (!isMaximized()) normalGeometry_ = geometry();
    // The screen's size first: a geometry set after the state, while the window system has not
    // yet resized the window, drops the maximised state, and the next close would keep the
    // screen's size as the normal one.
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

void MainFrame::Restore() {
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    if (normalGeometry_.isValid()) setGeometry(normalGeometry_);
}

void MainFrame::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) UpdateWindowButtons();
    SkinWindow::changeEvent(e);
}

void MainFrame::UpdateWindowButtons() {
    const bool maximised = isMaximized();
    ShowControl(kCmdMaximise, !maximised);
    ShowControl(kCmdRestore, maximised);
}

HitArea MainFrame::HitAt(QPoint global) const {
    return MainHitTest(global, QRect(mapToGlobal(QPoint(0, 0)), size()));
}

void MainFrame::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        const HitArea a = HitAt(e->globalPosition().toPoint());
        // A maximised window keeps its size.
        if ((a == HitArea::Caption || !isMaximized()) && StartFrameDrag(this, a)) return;
    }
    SkinWindow::mousePressEvent(e);
}

void MainFrame::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && HitAt(e->globalPosition().toPoint()) == HitArea::Caption) {
        isMaximized() ? Restore() : Maximise();
        return;
    }
    SkinWindow::mouseDoubleClickEvent(e);
}

void MainFrame::mouseMoveEvent(QMouseEvent* e) {
    setCursor(ResizeCursor(isMaximized() ? Qt::Edges() : EdgesOf(HitAt(e->globalPosition().toPoint()))));
    SkinWindow::mouseMoveEvent(e);
}

}  // namespace velmora
