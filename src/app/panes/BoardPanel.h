#pragma once

#include "game/BoardPanelLogic.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardControl;

// The board pane (Skin\BadukPan.xml): hosts the main BoardControl (control 200) and turns
// its buttons into board operations: 110–115 navigate, 116 passes, 119/121–124/130 go to the
// main window.
class BoardPanel : public SkinWindow, public BoardPanelObserver {
    Q_OBJECT
public:
    explicit BoardPanel(QWidget* mainWindow);
    ~BoardPanel() override;

    // The board control, null until the skin has built it.
    BoardControl* Control() const { return control_; }
    // The board's logic; the panel keeps an empty one while the skin has no board.
    BoardLogic& Logic();
    BoardPanelLogic& Navigation() { return navigation_; }
    // Whether a sequence is in progress: the record's main line holds moves.
    bool SequenceInProgress();
    // Enables 113–115 exactly when the board can step forward.
    void UpdateForwardButtons() { navigation_.UpdateForwardButtons(); }

    // BoardPanelObserver.
    void OnForwardedCommand(int id) override;
    void OnForwardButtonsEnabled(bool enabled) override;
    void OnQuizStopRequested() override;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;

private:
    QWidget* mainWindow_;
    BoardControl* control_ = nullptr;
    BoardLogic spare_;  // stands in while there is no control, so callers need no checks
    BoardPanelLogic navigation_;
};

}  // namespace velmora
