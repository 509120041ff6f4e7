#include "app/SidePane.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/MainWindow.h"
#include "app/ReferenceList.h"
#include "board/BoardControl.h"
#include "board/BoardLogic.h"
#include "board/NextMoveQuiz.h"
#include "board/RecordModified.h"
#include "platform/Messages.h"
#include "record/InfoTexts.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

std::string MoveLabel(int move, const char* rest) { return std::to_string(move) + rest; }

}  // namespace

void SidePane::onCommand(int id) {
    if (id >= 800 && id <= 802) {
        SendCommand(parentWidget(), 200 + (id - 800));
    } else if (id == kCmdDisplayMenu) {
        ShowDisplayMenu();
    } else if (id == kCmdJumpToTyped) {
        // After the jump the keys step on from there, and the entry follows the board again.
        if (auto* entry = FindControlAs<QLineEdit>(300); entry && entry->hasFocus())
            if (BoardControl* board = MainWindow::Instance()->Board().Control()) board->setFocus();
        JumpToTypedMove();
        ShowMoveInEntry();
    } else {
        Display().Apply(id, Board());
    }
}

PaneDisplay& SidePane::Display() {
    // The kind is a virtual of the derived pane, so the choices are made on first use.
    if (!display_) display_.emplace(DisplayKind());
    return *display_;
}

void SidePane::ShowDisplayMenu() {
    QWidget* button = FindControl(kCmdDisplayMenu);
    const QPoint at = button ? button->mapToGlobal(QPoint(0, button->height())) : QPoint();
    const int chosen = RunDisplayMenu(Display().Menu(), at);
    if (chosen) Display().Apply(chosen, Board());
}

void SidePane::JumpToTypedMove() { Board().JumpToMove(TypedMoveNumber(GetControlText(300))); }

BoardLogic& SidePane::Board() const { return MainWindow::Instance()->Board().Logic(); }

int SidePane::DisplayedMove() const {
    const BoardLogic& b = Board();
    const int base = b.DiagramBase();
    return base >= 0 && b.CurrentMove() >= base ? base : b.CurrentMove();
}

void SidePane::ShowMoveInEntry() {
    // A number left from another record, or from before the last steps, would jump to the
    // wrong place.
    if (auto* e = FindControlAs<QLineEdit>(300); e && !e->hasFocus())
        LoadControlText(300, std::to_string(DisplayedMove()));
}

void SidePane::LoadControlText(int id, const std::string& text) {
    if (GetControlText(id) == text) return;
    loading_ = true;
    SetControlText(id, text);
    loading_ = false;
}

void SidePane::StoreCommentary(int id) {
    GameRecord& record = Board().Record();
    const int move = DisplayedMove();
    const std::string text = GetControlText(id);
    if (record.GetCommentary(move) == text) return;
    // The record keeps commentary only where there is a move to hold it.
    record.SetCommentary(move, text);
    if (record.GetCommentary(move) == text) SetRecordModified(true);
}

// ---- view pane

void ViewPane::Refresh() {
    const int move = DisplayedMove();
    LoadControlText(1110, Board().Record().GetCommentary(move));
    SetShapeText(1111, MoveLabel(move, "수 해설 보기"));
    SetShapeText(311, MoveLabel(move, "수 참고도 보기"));
    ShowMoveInEntry();
    if (move != listMove_) RebuildList(move);
}

void ViewPane::RebuildList(int move) {
    listMove_ = move;
    entries_.clear();
    BoardLogic& board = Board();
    if (const int base = board.DiagramBase(); base >= 0) {
        // Back to the base in any mode (a board left in play mode steps past it otherwise);
        // a board already before the base stays where it is.
        while (board.CurrentMove() > base && board.StepBack()) {
        }
        board.Record().CloseDiagram();
        board.ReloadMarksAfterNavigation();
        board.Refresh();
        MainWindow::Instance()->Board().UpdateForwardButtons();
    }
    GameRecord& record = board.Record();
    int position = 0;
    for (auto [key, diagram] : record.DiagramsOfBase(move)) {
        // The kind is shown by the prefix of its own kind; a prefix typed into the text goes.
        const std::string bare = WithoutKindPrefixes(diagram.text);
        if (bare != diagram.text) {
            diagram.text = bare;
            record.ReplaceStoredDiagram(key, diagram);
        }
        entries_.push_back({DiagramEntryLabel(diagram, ++position), DiagramComment(diagram.kind, diagram.text), key});
    }
    if (!list_) return;
    list_->Clear();
    for (const ReferenceEntry& e : entries_) list_->Add(e.caption, e.text);
}

void ViewPane::OnListOpened(int index) {
    // Closing the open pane takes the board back to the main line.
    if (index < 0) return MainWindow::Instance()->ShowReferenceDiagram("원래대로");
    if (index < static_cast<int>(entries_.size())) MainWindow::Instance()->ShowReferenceDiagram(entries_[index].key);
}

void ViewPane::PlaceList() {
    const QWidget* anchor = FindControl(500);
    if (!list_ || !anchor) return;
    const QRect r = anchor->geometry();
    list_->setGeometry(16, r.top(), r.width(), r.height() - 5);
    list_->raise();
}

void ViewPane::resizeEvent(QResizeEvent* e) {
    SidePane::resizeEvent(e);
    PlaceList();
}

void ViewPane::ShowInfo(const GameInfo& info) {
    const ViewTexts t = MakeViewTexts(info);
    SetShapeText(1100, t.gameName);
    if (t.black) SetShapeText(1101, *t.black);
    if (t.white) SetShapeText(1102, *t.white);
    SetShapeText(1103, t.date);
    SetShapeText(1104, t.place);
    SetShapeText(1105, t.mainTime);
    SetShapeText(1108, t.overtime);
    SetShapeText(1106, t.komiHandicap);
    SetShapeText(1107, t.result);
}

void ViewPane::ReloadFromRecord() {
    ShowInfo(MainWindow::Instance()->File().Info());
    Refresh();
}

void ViewPane::StartRecord() {
    // The players of the previous record must not stand beside this one's moves.
    SetShapeText(1101, {});
    SetShapeText(1102, {});
    RequestFreshList();
    ReloadFromRecord();
}

void ViewPane::RequestFreshList() {
    listMove_ = -1;
    entries_.clear();
    if (list_) list_->Clear();
}

void ViewPane::StopQuiz() { onCommand(kQuizStop); }

void ViewPane::EnterViewMode() {
    const int mode = Board().Mode();
    if (IsQuizMode(mode)) return;
    // Another mode ended the quiz, so the options must not claim one still runs.
    ClearQuizOptions();
    // Play mode would let a click here cut the record. A diagram being entered (modes 2, 3)
    // stays: leaving it would drop its moves.
    if (mode == kModePlay) Board().SetBoardMode(kModeView);
}

void ViewPane::ResetDisplay() { Display().Reset(Board()); }

void ViewPane::onCommand(int id) {
    switch (id) {
        case kQuizBlack:
        case kQuizWhite:
        case kQuizAll:
            if (auto* b = FindControlAs<SkinButton>(id)) b->SetChecked(true);  // unchecks the others
            ShowHintsButton(false);
            StartQuiz(Board(), SelectedQuizMode());
            Display().ApplyNumberText(Board());
            break;
        case kQuizNoHints:
            ShowHintsButton(true);
            StartQuiz(Board(), kModeQuizPlain);
            break;
        case kQuizHints:
            StartQuiz(Board(), SelectedQuizMode());
            ShowHintsButton(false);
            break;
        case kQuizStop:
            ClearQuizOptions();
            StartQuiz(Board(), kModeView);
            Display().ApplyNumberText(Board());
            break;
        default:
            SidePane::onCommand(id);
            break;
    }
}

int ViewPane::SelectedQuizMode() const {
    const std::pair<int, int> modes[] = {
        {kQuizBlack, kModeQuizBlack}, {kQuizWhite, kModeQuizWhite}, {kQuizAll, kModeQuizFour}};
    for (const auto& [id, mode] : modes)
        if (auto* b = FindControlAs<SkinButton>(id); b && b->IsChecked()) return mode;
    return kModeView;
}

void ViewPane::ShowHintsButton(bool hintsButton) {
    ShowControl(kQuizHints, hintsButton);
    EnableControl(kQuizHints, hintsButton);
    ShowControl(kQuizNoHints, !hintsButton);
    EnableControl(kQuizNoHints, !hintsButton);
}

void ViewPane::JumpToTypedMove() {
    BoardLogic& board = Board();
    board.LeaveDiagram();
    board.JumpToMove(TypedMoveNumber(GetControlText(300)));
    MainWindow::Instance()->Board().UpdateForwardButtons();
}

void ViewPane::ClearQuizOptions() {
    for (int id : {kQuizBlack, kQuizWhite, kQuizAll})
        if (auto* b = FindControlAs<SkinButton>(id)) b->SetChecked(false);
}

void ViewPane::OnSkinBuilt() {
    StopQuiz();
    // All numbers to begin with, while the pane's own choice stays "감추기" (no check mark).
    Board().SetNumberDisplayFromText("실전+참고도 보기");
    ClearQuizOptions();
    list_ = new ReferenceList(this);
    list_->Create();
    list_->SetOpenedHandler([this](int index) { OnListOpened(index); });
    PlaceList();
    list_->show();
    // The commentary is edited in the other panes; text typed here would go nowhere.
    if (auto* e = FindControlAs<QPlainTextEdit>(1110)) e->setReadOnly(true);
    SubmitOnEnter(300, kCmdJumpToTyped);
}

// ---- input pane (the form is in GameInfoForm.cpp)

void InputPane::Refresh() {
    const int move = DisplayedMove();
    SetShapeText(500, MoveLabel(move, "수 해설 보기 입력/수정"));
    LoadControlText(420, Board().Record().GetCommentary(move));
    EnableControl(kHandicapCombo, Board().Record().MainLineLength() == 0);
    ShowMoveInEntry();
}

// ---- reference pane (the list and the diagram input are in ReferenceInput.cpp)

void ReferencePane::Refresh() {
    const int move = DisplayedMove();
    LoadControlText(602, Board().Record().GetCommentary(move));
    SetShapeText(203, MoveLabel(move, "수 해설 보기 입력/수정"));
    SetShapeText(204, MoveLabel(move, "수 참고도 해설 입력/수정"));
    SetShapeText(304, MoveLabel(move, "수 참고도 목록"));
    SetShapeText(305, MoveLabel(move, "수"));
    RefreshDiagramInput(move);
}

}  // namespace velmora
