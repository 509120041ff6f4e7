#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace velmora::testing {

// A left click near the widget's top-left corner, delivered straight to it (no window system
// needed, so it works on the offscreen platform).
inline void Click(QWidget* w) {
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

}  // namespace velmora::testing
