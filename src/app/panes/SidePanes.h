#pragma once

#include <QRect>

class QWidget;

namespace velmora {

class BoardPanel;
class InputPane;
class ReferencePane;
class ViewPane;
struct GameInfo;

// The three side panes behind the main window's tabs (view 200, input 201, reference 202):
// made together, one shown at a time, laid out, refreshed and reset together.
class SidePanes {
public:
    // Makes the panes as children of window from their skins; the view pane shows first.
    void Create(QWidget* window);
    // Null before Create.
    ViewPane* View() const { return view_; }
    InputPane* Input() const { return input_; }
    ReferencePane* Reference() const { return reference_; }

    // Shows the pane of tab (200–202) and hides the others; any other value hides all three.
    void Show(int tab);
    // The tab (200–202) whose pane is shown, 0 when none is.
    int Shown() const;
    // What choosing tab does besides showing its pane: the view tab takes the form into info
    // and goes to view mode (unless a quiz runs), the input tab plays (mode 1) and loads the
    // form from info, the reference tab takes the form into info and applies its input mode.
    void Enter(int tab, GameInfo& info, BoardPanel& board);
    // Refreshes the pane shown.
    void RefreshShown();
    // Places each pane, at its skin width, at the right of client.
    void Layout(const QRect& client);
    // A record was opened (opened) or made: nothing of the previous one stays, the form shows
    // info; an opened record shows as the view pane's display menu says.
    void StartRecord(const GameInfo& info, bool opened);

private:
    ViewPane* view_ = nullptr;
    InputPane* input_ = nullptr;
    ReferencePane* reference_ = nullptr;
};

}  // namespace velmora
