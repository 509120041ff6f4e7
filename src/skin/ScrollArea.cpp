#include "skin/ScrollArea.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace velmora {

ScrollArea::ScrollArea(QObject* parent) : QObject(parent) {}

ScrollArea::~ScrollArea() {
    Attach(nullptr);
}

void ScrollArea::Attach(QWidget* window) {
    if (window_) {
        window_->removeEventFilter(this);
        for (QScrollBar*& bar : bars_) delete bar, bar = nullptr;
    }
    window_ = window;
    pos_[0] = pos_[1] = 0;
    page_[0] = page_[1] = 0;
    if (!window_) return;
    window_->installEventFilter(this);
    for (int dir = 0; dir < 2; ++dir) {
        auto* bar = new QScrollBar(dir == 0 ? Qt::Horizontal : Qt::Vertical, window_);
        bar->setObjectName(dir == 0 ? "horizontalScrollBar" : "verticalScrollBar");
        bar->hide();
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, dir](int action) { OnBarAction(dir, action); });
        // Destroyed with the window when it goes first.
        connect(bar, &QObject::destroyed, this, [this, dir] { bars_[dir] = nullptr; });
        bars_[dir] = bar;
    }
    UpdateBars();
}

void ScrollArea::SetContentSize(int width, int height) {
    content_[0] = std::max(0, width);
    content_[1] = std::max(0, height);
    if (window_) UpdateBars();
}

void ScrollArea::UpdateBars() {
    if (!window_) return;
    const int width = window_->width();
    const int height = window_->height();
    // One bar takes room from the other direction, which may then need its bar too.
    bool needV = height < content_[1];
    bool needH = width - (needV ? kBarThickness : 0) < content_[0];
    needV = height - (needH ? kBarThickness : 0) < content_[1];
    const int extent[2] = {width - (needV ? kBarThickness : 0),
                           height - (needH ? kBarThickness : 0)};
    int delta[2] = {0, 0};
    for (int dir = 0; dir < 2; ++dir) {
        const int w = extent[dir];
        const int c = content_[dir];
        int p = page_[dir];
        int q = pos_[dir];
        if (w < c) {
            // Keeps the same share of the content in view when the page size changes.
            if (p > 0 && q > 0) q = static_cast<int>(static_cast<long long>(q) * w / p);
            p = w;
            q = std::clamp(q, 0, std::max(0, c - w - 1));
        } else {
            p = 0;
            q = 0;
        }
        delta[dir] = pos_[dir] - q;
        page_[dir] = p;
        pos_[dir] = q;
        SetBar(dir);
    }
    PlaceBars();
    MoveChildren(delta[0], delta[1]);
}

void ScrollArea::SetBar(int dir) {
    QScrollBar* bar = bars_[dir];
    if (!bar) return;
    const QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, content_[dir] - page_[dir]));
    bar->setPageStep(std::max(1, page_[dir]));
    bar->setSingleStep(kLineStep);
    bar->setValue(pos_[dir]);
}

void ScrollArea::PlaceBars() {
    if (!window_) return;
    const bool shown[2] = {page_[0] > 0, page_[1] > 0};
    const int w = window_->width();
    const int h = window_->height();
    if (QScrollBar* bar = bars_[0]) {
        bar->setGeometry(0, h - kBarThickness, w - (shown[1] ? kBarThickness : 0), kBarThickness);
        bar->setVisible(shown[0]);
        bar->raise();
    }
    if (QScrollBar* bar = bars_[1]) {
        bar->setGeometry(w - kBarThickness, 0, kBarThickness, h - (shown[0] ? kBarThickness : 0));
        bar->setVisible(shown[1]);
        bar->raise();
    }
}

void ScrollArea::HorizontalScroll(int code, int track) {
    Scroll(0, code, track);
}

void ScrollArea::VerticalScroll(int code, int track) {
    Scroll(1, code, track);
}

void ScrollArea::Scroll(int dir, int code, int track) {
    const int page = page_[dir];
    // A content that fits has nowhere to go.
    if (page <= 0) return;
    int s = 0;
    switch (code) {
        case kScrollLineUp:
            s = -kLineStep;
            break;
        case kScrollLineDown:
            s = kLineStep;
            break;
        case kScrollPageUp:
            s = -page;
            break;
        case kScrollPageDown:
            s = page;
            break;
        case kScrollThumbPosition:
        case kScrollThumbTrack:
            s = track - pos_[dir];
            break;
        default:
            return;
    }
    const int last = content_[dir] - page;
    if (pos_[dir] + s > last) s = last - pos_[dir];
    if (pos_[dir] + s < 0) s = -pos_[dir];
    if (s == 0) return;
    pos_[dir] += s;
    SetBar(dir);
    MoveChildren(dir == 0 ? -s : 0, dir == 1 ? -s : 0);
}

void ScrollArea::Wheel(int delta, int linesPerNotch) {
    if (page_[1] <= 0) return;
    if (linesPerNotch == -1) {
        wheelRest_ += delta;
        for (; wheelRest_ >= kWheelNotch; wheelRest_ -= kWheelNotch) Scroll(1, kScrollPageUp, 0);
        for (; wheelRest_ <= -kWheelNotch; wheelRest_ += kWheelNotch) Scroll(1, kScrollPageDown, 0);
        return;
    }
    // Fine-grained wheels and touchpads send parts of a notch: they add up, so that a notch
    // scrolls as far in small parts as at once.
    wheelRest_ += delta;
    const int perNotch = kLineStep * std::max(1, linesPerNotch / 3);
    const int pixels = wheelRest_ * perNotch / kWheelNotch;
    if (pixels == 0) return;
    wheelRest_ -= pixels * kWheelNotch / perNotch;
    Scroll(1, kScrollThumbPosition, pos_[1] - pixels);
}

void ScrollArea::MoveChildren(int dx, int dy) {
    if (!window_ || (dx == 0 && dy == 0)) return;
    for (QObject* o : window_->children()) {
        auto* child = qobject_cast<QWidget*>(o);
        if (!child || child == bars_[0] || child == bars_[1] || child->isWindow()) continue;
        child->move(child->pos() + QPoint(dx, dy));
    }
    window_->update();
}

void ScrollArea::OnBarAction(int dir, int action) {
    QScrollBar* bar = bars_[dir];
    if (!bar) return;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            Scroll(dir, kScrollLineDown, 0);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            Scroll(dir, kScrollLineUp, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Scroll(dir, kScrollPageDown, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            Scroll(dir, kScrollPageUp, 0);
            break;
        case QAbstractSlider::SliderMove:
            Scroll(dir, kScrollThumbTrack, bar->sliderPosition());
            break;
        case QAbstractSlider::SliderToMinimum:
            Scroll(dir, kScrollThumbPosition, 0);
            break;
        case QAbstractSlider::SliderToMaximum:
            Scroll(dir, kScrollThumbPosition, content_[dir]);
            break;
        default:
            break;
    }
    // The bar applies this position once the action returns.
    bar->setSliderPosition(pos_[dir]);
}

bool ScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Resize) {
            UpdateBars();
        } else if (event->type() == QEvent::Wheel) {
            if (page_[1] <= 0) return false;
            Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y(),
                  QApplication::wheelScrollLines());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velmora
