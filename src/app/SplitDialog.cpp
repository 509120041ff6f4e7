#include "app/SplitDialog.h"

#include "app/MainWindow.h"
#include "board/BoardControl.h"

namespace velmora {
namespace {

// Controls shown only in split mode, and only in try-placing mode.
constexpr int kSplitOnly[] = {300, 301, 302, 105};
constexpr int kTryOnly[] = {500, 501, 505, 506, 510};

}  // namespace

SplitDialog::SplitDialog(QWidget* mainWindow)
    : SkinDialog(nullptr, "Skin\\Dialog\\총보나누기.xml"), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("총보 나누기"));
}

BoardControl* SplitDialog::Board() const { return FindControlAs<BoardControl>(200); }

void SplitDialog::ApplyMode(int mode) {
    EnsureBuilt();
    mode_ = mode == kTryPlacing ? kTryPlacing : kSplit;
    const bool tryPlacing = mode_ == kTryPlacing;
    SetShapeText(400, tryPlacing ? "| 놓아보기" : "| 총보 나누기");
    SetShapeText(502, tryPlacing ? "수로" : "");
    SetShapeVisible(499, tryPlacing);
    SetShapeVisible(600, tryPlacing);
    for (int id : kSplitOnly) ShowControl(id, !tryPlacing);
    for (int id : kTryOnly) ShowControl(id, tryPlacing);
    if (BoardControl* b = Board()) b->Logic().SetBoardMode(tryPlacing ? 2 : 0);
}

void SplitDialog::ShowWithMode(int mode) {
    if (isVisible()) return;
    MainWindow* main = MainWindow::Instance();
    if (!main || main->Board().Logic().Record().MainLineLength() == 0) return;
    EnsureBuilt();
    LoadWholeRecord();
    ApplyMode(mode);
    move(mainWindow_->geometry().center() - rect().center());
    show();
}

void SplitDialog::LoadWholeRecord() {
    BoardControl* b = Board();
    MainWindow* main = MainWindow::Instance();
    if (!b || !main) return;
    BoardLogic& target = b->Logic();
    BoardLogic& source = main->Board().Logic();
    target.ResetBoard();
    for (const BoardPoint& p : source.HandicapStones()) target.PlaceHandicapStone(p.x, p.y);
    const int total = source.Record().MainLineLength();
    for (int i = 1; i <= total; ++i) {
        const auto m = source.Record().GetMainLineMove(i);
        if (!m) break;
        target.SetColourToPlay(m->colour);
        target.ReplayMoveQuiet(m->x, m->y);
    }
    target.Refresh();
    UpdateNavigation();
}

void SplitDialog::UpdateNavigation() {
    BoardControl* b = Board();
    const bool forward = b && b->Logic().HasNextMove();
    for (int id : {113, 114, 115}) EnableControl(id, forward);
}

void SplitDialog::onCommand(int id) {
    if (id == 150) {
        if (MainWindow* main = MainWindow::Instance()) main->Print();
        return;
    }
    BoardControl* b = Board();
    if (!b) return;
    BoardLogic& logic = b->Logic();
    switch (id) {
        case 110: while (logic.StepBack()) {} break;
        case 111: for (int k = 0; k < 10 && logic.StepBack(); ++k) {} break;
        case 112: logic.StepBack(); break;
        case 113: logic.StepForward(); break;
        case 114: for (int k = 0; k < 10 && logic.StepForward(); ++k) {} break;
        case 115: while (logic.StepForward()) {} break;
        case 505: logic.CycleNumberDisplay(); break;
        case 506: logic.ShowCoordinates(!logic.CoordinatesShown()); break;
        case 510: logic.LeaveDiagram(); break;
        case 100: hide(); return;
        default: return;
    }
    if (id >= 110 && id <= 115) logic.Refresh();
    UpdateNavigation();
}

}  // namespace velmora
