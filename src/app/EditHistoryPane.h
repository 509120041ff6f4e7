#pragma once

#include <QRect>
#include <string>

#include "skin/SkinWindow.h"

namespace velmora {

// The edit-story column at the left of the main window (Skin\EditHistory.xml). It places
// itself from the main window's client rectangle; its story cards come with the stories.
class EditHistoryPane : public SkinWindow {
    Q_OBJECT
public:
    using SkinWindow::SkinWindow;

    // Places the pane for the main window's client rectangle.
    void Layout(const QRect& mainClient);
    // How many stories the pane holds.
    int StoryCount() const { return 0; }
    // Discards the stories beyond move (none are held yet).
    void DiscardStoriesBeyond(int move) { (void)move; }
    // The text announcing the stories a cut at move would discard; "" when none.
    std::string DiscardAnnouncement(int move) const {
        (void)move;
        return {};
    }
    // Destroys every story.
    void DestroyAll() {}
};

}  // namespace velmora
