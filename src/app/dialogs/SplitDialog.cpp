#include "app/dialogs/SplitDialog.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "app/KeyControl.h"
#include "app/MainWindow.h"
#include "app/dialogs/DialogIds.h"
#include "app/dialogs/MessagePopup.h"
#include "board/BoardControl.h"
#include "game/BoardPanelLogic.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

// Said instead of doing nothing when the record has nothing to split yet.
constexpr const char* kNoMovesNotice = "<br>기보에 아직 수순이 없습니다.<br>수를 둔 다음 다시 해 보세요.";

// Controls shown only in split mode, and only in try-placing mode.
constexpr int kSplitOnly[] = {kSplitFirstMove, kSplitLastMove, kSplitFirstNumber,
                              kSplitApplyButton};
constexpr int kTryOnly[] = {kSplitTryMove, kSplitTryJumpButton, kSplitTryNumbersButton,
                            kSplitTryCoordinatesButton, kSplitTryLeaveDiagramButton};
// The captions of the split mode's edits.
constexpr int kSplitCaptions[] = {kSplitRangeCaption, kSplitFirstMoveCaption, kSplitLastMoveCaption,
                                  kSplitFirstNumberCaption};

}  // namespace

SplitDialog::SplitDialog(QWidget* mainWindow)
    : SkinDialog(nullptr, "Skin\\Dialog\\총보나누기.xml"), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("총보 나누기"));
}

void SplitDialog::OnSkinBuilt() {
    for (int edit : {kSplitFirstMove, kSplitLastMove, kSplitFirstNumber})
        SubmitOnEnter(edit, kSplitApplyButton);
    SubmitOnEnter(kSplitTryMove, kSplitTryJumpButton);
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
    for (; wheelRest_ <= -120; wheelRest_ += 120) onCommand(kCmdForward);
    for (; wheelRest_ >= 120; wheelRest_ -= 120) onCommand(kCmdBack);
    e->accept();
}

BoardControl* SplitDialog::Board() const { return FindControlAs<BoardControl>(kSplitBoard); }

void SplitDialog::ApplyMode(int mode) {
    EnsureBuilt();
    mode_ = mode == kTryPlacing ? kTryPlacing : kSplit;
    const bool tryPlacing = mode_ == kTryPlacing;
    SetShapeText(kSplitTitle, tryPlacing ? "| 놓아보기" : "| 총보 나누기");
    setWindowTitle(tryPlacing ? QStringLiteral("놓아보기") : QStringLiteral("총보 나누기"));
    SetShapeText(kSplitTryMoveSuffix, tryPlacing ? "수로" : "");
    SetShapeVisible(kSplitTryCaption, tryPlacing);
    SetShapeVisible(kSplitTryNotice, tryPlacing);
    for (int id : kSplitCaptions) SetShapeVisible(id, !tryPlacing);
    for (int id : kSplitOnly) ShowControl(id, !tryPlacing);
    for (int id : kTryOnly) ShowControl(id, tryPlacing);
    if (BoardControl* b = Board()) b->Logic().SetBoardMode(tryPlacing ? 2 : 0);
}

void SplitDialog::Present(int mode) {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    MainWindow* main = MainWindow::Instance();
    if (main && main->Board().Logic().Record().MainLineLength() == 0) {
        ShowMessagePopup(kNoMovesNotice, kButtonsOk);
        return;
    }
    ShowWithMode(mode);
}

void SplitDialog::ShowWithMode(int mode) {
    if (isVisible()) return;
    MainWindow* main = MainWindow::Instance();
    if (!main || main->Board().Logic().Record().MainLineLength() == 0) return;
    EnsureBuilt();
    LoadRange(mode != kTryPlacing, -1, 0, 0);
    // The edits say which range the board shows (the whole record from 1), ready to change.
    SetControlText(kSplitFirstMove, "1");
    SetControlText(kSplitLastMove, std::to_string(main->Board().Logic().Record().MainLineLength()));
    SetControlText(kSplitFirstNumber, "1");
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
    target.SetBoardSize(source.BoardSize());
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
        target.ReplayStoredMove(*m);
    }
    target.Refresh();
    UpdateNavigation();
    return true;
}

void SplitDialog::UpdateNavigation() {
    BoardControl* b = Board();
    const bool forward = b && b->Logic().HasNextMove();
    for (int id : {kCmdForward, kCmdForwardTen, kCmdToEnd}) EnableControl(id, forward);
}

bool SplitDialog::onMessage(int message, std::intptr_t, std::intptr_t) {
    if (message != UM_BOARD_CLICKED) return false;
    UpdateNavigation();
    return true;
}

void SplitDialog::onCommand(int id) {
    if (id == kSplitPrintButton) {
        if (MainWindow* main = MainWindow::Instance()) main->Print();
        return;
    }
    BoardControl* b = Board();
    if (!b) return;
    BoardLogic& logic = b->Logic();
    switch (id) {
        case kCmdToStart: while (logic.StepBack()) {} break;
        case kCmdBackTen: for (int k = 0; k < 10 && logic.StepBack(); ++k) {} break;
        case kCmdBack: logic.StepBack(); break;
        case kCmdForward: logic.StepForward(); break;
        case kCmdForwardTen: for (int k = 0; k < 10 && logic.StepForward(); ++k) {} break;
        case kCmdToEnd: while (logic.StepForward()) {} break;
        case kSplitApplyButton:
            if (mode_ != kSplit) return;
            LoadRange(true, LeadingInt(GetControlText(kSplitFirstMove).c_str()),
                      LeadingInt(GetControlText(kSplitLastMove).c_str()),
                      LeadingInt(GetControlText(kSplitFirstNumber).c_str()));
            return;
        case kSplitTryJumpButton:
            logic.JumpToMove(LeadingInt(GetControlText(kSplitTryMove).c_str()));
            break;
        case kSplitTryNumbersButton: logic.CycleNumberDisplay(); break;
        case kSplitTryCoordinatesButton: logic.ShowCoordinates(!logic.CoordinatesShown()); break;
        case kSplitTryLeaveDiagramButton: logic.LeaveDiagram(); break;
        case kSplitCloseButton: hide(); return;
        default: return;
    }
    if (id >= kCmdToStart && id <= kCmdToEnd) logic.Refresh();
    UpdateNavigation();
}

}  // namespace velmora
