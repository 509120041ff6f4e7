#include "skin/SkinWindow.h"

#include "skin/SkinControls.h"

namespace velmora {

SkinWindow::SkinWindow(QWidget* parent) : QWidget(parent), SkinHost(false) {
    if (!parent) setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Every pixel is painted from the off-screen surface; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

SkinWindow::~SkinWindow() = default;

bool SkinWindow::CreateFromSkin(int id, const std::string& title) {
    if (id) SetControlId(this, id);
    if (!title.empty()) setWindowTitle(QString::fromStdString(title));
    return BuildFromSkin();
}

void SkinWindow::PlaceWindow(const QRect& rect) { setGeometry(rect); }

bool SkinWindow::event(QEvent* e) {
    if (DispatchEvent(e)) return true;
    return QWidget::event(e);
}

void SkinWindow::paintEvent(QPaintEvent*) { PaintWindow(); }

void SkinWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    RelayoutAnchors();
}

}  // namespace velmora
