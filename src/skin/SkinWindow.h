#pragma once

#include <QWidget>
#include <string>

#include "skin/SkinHost.h"

namespace velmora {

// A skinned window (the main window, its panes, list and stack windows). The owner sets
// the skin file and calls CreateFromSkin; derived windows handle their controls in
// onCommand/onNotify and their messages in onMessage. Frameless when top-level.
class SkinWindow : public QWidget, public SkinHost {
    Q_OBJECT
public:
    explicit SkinWindow(QWidget* parent = nullptr);
    ~SkinWindow() override;

    // Reads the skin file, places the window at its rectangle (relative to the parent, or
    // to the screen when top-level), builds shapes then controls, then calls OnSkinBuilt.
    // False when the file gave no document (OnSkinBuilt still runs). id tags the window as
    // a control of its parent; title becomes the window title.
    bool CreateFromSkin(int id = 0, const std::string& title = {});

protected:
    QWidget* HostWidget() override { return this; }
    void PlaceWindow(const QRect& rect) override;
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
};

}  // namespace velmora
