#pragma once

#include "skin/SkinDialog.h"

namespace velmora {

class BoardControl;

// The message for a split range that does not fit the record.
inline constexpr const char* kSplitRangeMessage = "유효하지 않은 범위의 값을 입력하셨습니다. ";

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
    // board and named in the range edits; nothing when it is visible already or the main
    // record has no moves.
    void ShowWithMode(int mode);
    // The split and try-placing buttons: a dialog already shown comes to the front as it is (it
    // has no owner, so it may lie behind the main window); a record without moves gets a notice
    // instead; otherwise ShowWithMode.
    void Present(int mode);
    // Sets the texts and visibility of the mode's controls.
    void ApplyMode(int mode);
    // Resets the dialog board, then replays the main record's moves 1..last onto it and numbers
    // first..last from number (numbering only when split is true). first −1 loads the whole
    // record numbered from 1. Shows kSplitRangeMessage and leaves the board empty for a value
    // below 1, first or last beyond the record, or last before first → false.
    bool LoadRange(bool split, int first, int last, int number);
    BoardControl* Board() const;

protected:
    // Enter in an entry works its button (apply the range, go to the move).
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    // The main window's navigation keys step this window's board too, unless an edit takes
    // them.
    void keyPressEvent(QKeyEvent* e) override;
    // The wheel over this window steps its board a move a notch, as over the main board.
    void wheelEvent(QWheelEvent* e) override;
    // A move tried on the board changes what the forward buttons can do.
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    void UpdateNavigation();

    QWidget* mainWindow_;
    int mode_ = kSplit;
    int wheelRest_ = 0;  // the part of a notch turned so far
};

}  // namespace velmora
