#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

#include "platform/WindowFrame.h"

namespace velmora {

// Where the main window puts its panes for a client rectangle (L, T, R, B with R and B
// exclusive): the edit stories at the left, the board in the middle, the side pane (which
// keeps its own width) at the right, clear of the vendor links.
struct MainLayout {
    QRect editHistory;
    QRect boardPanel;
    QRect sidePane;

    // The rectangles for client and a side pane paneWidth pixels wide.
    static MainLayout Compute(const QRect& client, int paneWidth);
};

// Whether a vendor link whose screen rectangle ends at linkBottom stays shown in a window
// whose screen rectangle ends at windowBottom: it goes when it comes within 70 pixels.
bool VendorLinkShown(int linkBottom, int windowBottom);

// The main window's hit test: p and client (the client area) in screen coordinates. The top
// 30 pixels drag the window and the 8-pixel bands along the edges resize it.
HitArea MainHitTest(QPoint p, const QRect& client);

// The main window's outline: the client rectangle's corners cut by 4 pixels at the top and
// 5 at the bottom, shifted by the frame thickness (fx, fy); nine points, the first repeated.
std::vector<QPoint> MainWindowOutline(const QRect& client, int fx, int fy);

}  // namespace velmora
