#include "app/SplitDialog.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "app/KeyControl.h"
#include "app/MainWindow.h"
#include "board/BoardControl.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

// Controls shown only in split mode, and only in try-placing mode.
constexpr int kSplitOnly[] = {300, 301, 302, 105};
constexpr int kTryOnly[] = {500, 501, 505, 506, 510};
// The captions of the split mode's edits.
constexpr int kSplitCaptions[] = {401, 402, 403, 404};

}  // namespace

SplitDialog::SplitDialog(QWidget* mainWindow)
    : SkinDialog(nullptr, "Skin\\Dialog\\총보나누기.xml"), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("총보 나누기"));
}

void SplitDialog::OnSkinBuilt() {
    for (int edit : {300, 301, 302}) SubmitOnEnter(edit, 105);
    SubmitOnEnter(500, 501);
}

void SplitDialog::keyPressEvent(QKeyEvent* e) {
    const int command = KeyControl::NavigationCommand(*e);
    if (command == 0) return SkinDialog::keyPressEvent(e);
    // As with the buttons: not past the end.
    const QWidget* button = FindControl(command);
    if (!button || button->isEnabled()) onCommand(command);
}

void SplitDialog::wheelEvent(QWheelEvent* e) {
    wheelRest_ += e->angleDelta().y();
    // Towards the user is forward.
    for (; wheelRest_ <= -120; wheelRest_ += 120) onCommand(113);
    for (; wheelRest_ >= 120; wheelRest_ -= 120) onCommand(112);
    e->accept();
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
    for (int id : kSplitCaptions) SetShapeVisible(id, !tryPlacing);
    for (int id : kSplitOnly) ShowControl(id, !tryPlacing);
    for (int id : kTryOnly) ShowControl(id, tryPlacing);
    if (BoardControl* b = Board()) b->Logic().SetBoardMode(tryPlacing ? 2 : 0);
}

void SplitDialog::ShowWithMode(int mode) {
    if (isVisible()) return;
    MainWindow* main = MainWindow::Instance();
    if (!main || main->Board().Logic().Record().MainLineLength() == 0) return;
    EnsureBuilt();
    LoadRange(mode != kTryPlacing, -1, 0, 0);
    // The edits say which range the board shows (the whole record from 1), ready to change.
    SetControlText(300, "1");
    SetControlText(301, std::to_string(main->Board().Logic().Record().MainLineLength()));
    SetControlText(302, "1");
    ApplyMode(mode);
    move(mainWindow_->geometry().center() - rect().center());
    show();
}

bool SplitDialog::LoadRange(bool split, int first, int last, int number) {
    BoardControl* b = Board();
    MainWindow* main = MainWindow::Instance();
    if (!b || !main) return false;
    BoardLogic& target = b->Logic();
    const BoardLogic& source = main->Board().Logic();
    target.ResetBoard();
    UpdateNavigation();
    const int total = source.Record().MainLineLength();
    if (first == -1) {
        first = 1;
        last = total;
        number = 1;
    }
    if (first < 1 || last < 1 || number < 1 || first > total || last > total || first > last) {
        Prompter::Current().Popup(kSplitRangeMessage, kButtonsOk);
        return false;
    }
    target.SetRangeNumbering({split, first, last, number});
    for (const SetupStone& s : source.Record().StartPosition()) target.PlaceSetupStone(s);
    for (int i = 1; i <= last; ++i) {
        const auto m = source.Record().GetMainLineMove(i);
        if (!m) break;
        target.SetColourToPlay(m->colour);
        target.ReplayMoveQuiet(m->x, m->y);
    }
    target.Refresh();
    UpdateNavigation();
    return true;
}

void SplitDialog::UpdateNavigation() {
    BoardControl* b = Board();
    const bool forward = b && b->Logic().HasNextMove();
    for (int id : {113, 114, 115}) EnableControl(id, forward);
}

bool SplitDialog::onMessage(int message, std::intptr_t, std::intptr_t) {
    if (message != UM_BOARD_CLICKED) return false;
    UpdateNavigation();
    return true;
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
        case 105:
            if (mode_ != kSplit) return;
            LoadRange(true, LeadingInt(GetControlText(300).c_str()),
                      LeadingInt(GetControlText(301).c_str()),
                      LeadingInt(GetControlText(302).c_str()));
            return;
        case 501: logic.JumpToMove(LeadingInt(GetControlText(500).c_str())); break;
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
