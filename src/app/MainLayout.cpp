#include "app/MainLayout.h"

namespace velmora {

MainLayout MainLayout::Compute(const QRect& client, int paneWidth) {
    const int L = client.left(), T = client.top();
    const int R = L + client.width(), B = T + client.height();
    MainLayout m;
    m.editHistory = QRect(QPoint(L + 9, T + 80), QPoint(L + 9 + 148 - 1, B - 78 - 1));
    m.boardPanel = QRect(QPoint(L + 173, T + 61), QPoint(R - 310 - 1, B - 75 - 1));
    m.sidePane = QRect(QPoint(R - 55 - paneWidth, T + 56), QPoint(R - 55 - 1, B - 70 - 1));
    return m;
}

bool VendorLinkShown(int linkBottom, int windowBottom) { return linkBottom <= windowBottom - 70; }

HitArea MainHitTest(QPoint p, const QRect& client) {
    // The same bands as a resizable skinned dialog's, also while maximised.
    return DialogHitTest(p, client, true, false);
}

std::vector<QPoint> MainWindowOutline(const QRect& client, int fx, int fy) {
    const int l = client.left() + fx, t = client.top() + fy;
    const int r = client.left() + client.width() + fx, b = client.top() + client.height() + fy;
    return {{l + 4, t}, {r - 4, t}, {r, t + 4}, {r, b - 5}, {r - 5, b},
            {l + 5, b}, {l, b - 5}, {l, t + 4}, {l + 4, t}};
}

}  // namespace velmora
