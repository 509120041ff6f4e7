#include "app/panes/ViewPane.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/MainWindow.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferenceList.h"
#include "board/BoardControl.h"
#include "game/BoardLogic.h"
#include "game/NextMoveQuiz.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "record/InfoTexts.h"
#include "skin/SkinButton.h"

namespace velmora {

void ViewPane::Refresh() {
    const int move = DisplayedMove();
    LoadControlText(kViewCommentary, Board().Record().GetCommentary(move));
    SetShapeText(kViewCommentaryCaption, MoveLabel(move, "수 해설 보기"));
    SetShapeText(kViewDiagramsCaption, MoveLabel(move, "수 참고도 보기"));
    ShowMoveInEntry();
    if (move != listMove_) RebuildList(move);
}

void ViewPane::RebuildList(int move) {
    listMove_ = move;
    entries_.clear();
    BoardLogic& board = Board();
    if (board.DiagramBase() >= 0) {
        board.LeaveDiagramForMove();
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
    const QWidget* anchor = FindControl(kViewDiagramList);
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
    SetShapeText(kViewGameName, t.gameName);
    if (t.black) SetShapeText(kViewBlackName, *t.black);
    if (t.white) SetShapeText(kViewWhiteName, *t.white);
    SetShapeText(kViewDate, t.date);
    SetShapeText(kViewPlace, t.place);
    SetShapeText(kViewMainTime, t.mainTime);
    SetShapeText(kViewOvertime, t.overtime);
    SetShapeText(kViewKomiHandicap, t.komiHandicap);
    SetShapeText(kViewResult, t.result);
}

void ViewPane::ReloadFromRecord() {
    ShowInfo(MainWindow::Instance()->File().Info());
    Refresh();
}

void ViewPane::StartRecord() {
    // The players of the previous record must not stand beside this one's moves.
    SetShapeText(kViewBlackName, {});
    SetShapeText(kViewWhiteName, {});
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
    board.JumpToMove(TypedMoveNumber(GetControlText(kPaneMoveEntry)));
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
    if (auto* e = FindControlAs<QPlainTextEdit>(kViewCommentary)) e->setReadOnly(true);
    SubmitOnEnter(kPaneMoveEntry, kCmdJumpToTyped);
}

}  // namespace velmora
