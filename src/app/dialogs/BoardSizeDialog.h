#pragma once

#include "skin/SkinDialog.h"

namespace velmora {

// The size of a new record's board (Skin\Dialog\바둑판크기.xml): 19, 13 or 9 lines, or another
// size typed beside "다른 크기" (2 to 25). It opens on the size suggested (the last one chosen).
// 101 (시작) ends it with kResultOk when the size is one a board can have, otherwise it says so
// and stays; 100 (취소), Escape and closing end it with kResultCancel.
class BoardSizeDialog : public SkinDialog {
    Q_OBJECT
  public:
    BoardSizeDialog(QWidget* parent, int suggested);

    // The size chosen: the checked button's, or the other size typed; 0 when that is no size
    // a board can have.
    int ChosenSize() const;
    // Checks the button of size (the other-size button with size typed for any but 19, 13, 9).
    void Suggest(int size);

    void done(int result) override;

  protected:
    void OnSkinBuilt() override;
    void onNotify(int id, int code) override;

  private:
    int suggested_;
};

// Runs the dialog over owner → the size chosen, or 0 when it was cancelled.
int RunBoardSizeDialog(int suggested, QWidget* owner);

}  // namespace velmora
