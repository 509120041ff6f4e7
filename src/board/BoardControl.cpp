#include "board/BoardControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "board/MarkLabels.h"
#include "platform/Messages.h"
#include "skin/SkinControls.h"
#include "skin/SkinResources.h"
#include "skin/SkinXml.h"

namespace velmora {

int WindowMessageObserver::OnBoardMessage(int message, int wparam, int lparam) {
    return SendMessage(target_, message, wparam, lparam) ? 1 : 0;
}

int BoardControl::ParentObserver::OnBoardMessage(int message, int wparam, int lparam) {
    return SendMessage(window_.parentWidget(), message, wparam, lparam) ? 1 : 0;
}

BoardControl::BoardControl(QWidget* parent, Rgb background)
    : QWidget(parent), canvas_(logic_, *this), input_(logic_, canvas_), parent_(*this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A click on the board takes the keyboard from a text field, so the keys step again.
    setFocusPolicy(Qt::ClickFocus);
    canvas_.SetBackground(background);
    canvas_.LoadImages();
    logic_.SetView(&canvas_);
    logic_.SetMainWindow(&mainWindow_);
    logic_.SetParentObserver(&parent_);
    // A refused stone is explained where the user clicked, without a box to dismiss. A tip
    // goes at the next button release, so it is shown once the click is over.
    input_.SetRefusalNotice([this](const GridPoint& point, const std::string& reason) {
        // One line per line of the reason: a tip wraps its rich text otherwise.
        notice_ = "<p style='white-space:nowrap'>" + QString::fromStdString(reason) + "</p>";
        noticeAt_ = canvas_.Geometry().PointCentre(point.x - 1, point.y - 1);
    });
}

BoardControl::~BoardControl() {
    logic_.SetView(nullptr);
    logic_.SetMainWindow(nullptr);
    logic_.SetParentObserver(nullptr);
}

void BoardControl::ConfigureMarkTool(const std::string& underlayText, int kind,
                                     const std::array<std::string, 4>& labelTexts) {
    logic_.SetMarkTool(velmora::ConfigureMarkTool(logic_.Tool(), underlayText, kind, labelTexts));
}

void BoardControl::ChangeUnderPointer(const std::function<void()>& change) {
    input_.PointerLeft();
    change();
    if (pointer_) input_.PointerMoved(pointer_->x(), pointer_->y());
}

void BoardControl::paintEvent(QPaintEvent* event) {
    if (DeviceScale() != canvas_.DeviceScale()) {
        // Moved to a screen of another pixel ratio: the board is drawn anew at its resolution.
        canvas_.SetDeviceScale(DeviceScale());
        canvas_.Relayout();
    }
    QPainter painter(this);
    const Surface& back = canvas_.BackBuffer();
    if (back.isNull()) {
        painter.fillRect(event->rect(), ToQColor(canvas_.Background()));
        return;
    }
    // The back buffer is in device pixels; each changed square is copied on its own.
    const int scale = canvas_.DeviceScale();
    // A screen of a fractional ratio gets the picture of the next whole one, scaled down smoothly.
    if (devicePixelRatioF() != scale) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const QRect& rect : event->region()) {
        if (scale == 1) {
            painter.drawImage(rect, back.image(), rect);
        } else {
            const QRect source(rect.topLeft() * scale, rect.size() * scale);
            painter.drawImage(QRectF(rect), back.image(), QRectF(source));
        }
    }
}

int BoardControl::DeviceScale() const {
    return std::max(1, qRound(devicePixelRatioF()));
}

void BoardControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    canvas_.SetDeviceScale(DeviceScale());
    canvas_.SetClientSize(width(), height());
    canvas_.Relayout();
    update();
}

void BoardControl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        input_.LeftButtonDown(at.x(), at.y());
    } else if (event->button() == Qt::RightButton) {
        input_.RightButtonDown(at.x(), at.y());
    }
}

void BoardControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    input_.LeftButtonUp();
    if (!notice_.isEmpty()) QToolTip::showText(mapToGlobal(noticeAt_), std::exchange(notice_, {}), this);
}

void BoardControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    pointer_ = at;
    input_.PointerMoved(at.x(), at.y());
}

void BoardControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    pointer_.reset();
    input_.PointerLeft();
}

void RegisterBoardControl() {
    SetControlBuilder("BadukPan", [](const ControlContext& ctx) -> QWidget* {
        const Rgb background = AttrColor(ctx.element, "color");
        auto* board = new BoardControl(ctx.parent, background);
        board->setGeometry(ctx.rect);
        SetControlId(board, ctx.id);
        return board;
    });
}

}  // namespace velmora
