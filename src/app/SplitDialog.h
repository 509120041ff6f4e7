#pragma once

#include "skin/SkinDialog.h"

namespace velmora {

class BoardControl;

// The split and try-placing window (Skin\Dialog\총보나누기.xml), modeless, with a board of
// its own that replays the main record: mode 0 splits the record by a range of moves,
// mode 1 lets the user try moves without touching the record.
class SplitDialog : public SkinDialog {
    Q_OBJECT
public:
    enum Mode { kSplit = 0, kTryPlacing = 1 };

    explicit SplitDialog(QWidget* mainWindow);

    int CurrentMode() const { return mode_; }
    // Shows the dialog in mode over the main window, the whole main record loaded on its
    // board; nothing when it is visible already or the main record has no moves.
    void ShowWithMode(int mode);
    // Sets the texts and visibility of the mode's controls.
    void ApplyMode(int mode);
    BoardControl* Board() const;

protected:
    void onCommand(int id) override;

private:
    void LoadWholeRecord();
    void UpdateNavigation();

    QWidget* mainWindow_;
    int mode_ = kSplit;
};

}  // namespace velmora
