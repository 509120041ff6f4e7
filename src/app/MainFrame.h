#pragma once

#include <QRect>

#include "platform/WindowFrame.h"
#include "skin/SkinWindow.h"

namespace velmora {

// The main window's frame, drawn by its skin: the caption (the top 30 pixels) drags it, the
// 8-pixel borders resize it, a double click on the caption maximises or restores it, and the
// maximise and restore buttons show whichever applies.
class MainFrame : public SkinWindow {
    Q_OBJECT
public:
    using SkinWindow::SkinWindow;

    // Maximises the window; it also fills the screen itself where no window manager does.
    void Maximise();
    // Back to the size and place it had before it was maximised.
    void Restore();
    // The size and place of the window when it is not maximised.
    QRect NormalGeometry() const { return isMaximized() ? normalGeometry_ : geometry(); }
    // Shows the window, out of its minimised state, in front and active.
    void BringToFront();
    // Places the window at normal, then maximises it when asked.
    void PlaceAt(const QRect& normal, bool maximise);

protected:
    // Places the window centred on its screen at its skin size, then maximises it when asked.
    void PlaceCentred(bool maximise);

    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void UpdateWindowButtons();
    HitArea HitAt(QPoint global) const;

    QRect normalGeometry_;
};

}  // namespace velmora
