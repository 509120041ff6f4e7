#include "app/panes/ViewPane.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "app/MainWindow.h"
#include "app/dialogs/MessagePopup.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ReferenceList.h"
#include "board/BoardControl.h"
#include "game/BoardLogic.h"
#include "game/BoardPanelLogic.h"
#include "game/NextMoveQuiz.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "record/InfoTexts.h"
#include "skin/PaneStack.h"
#include "skin/SkinButton.h"

namespace velmora {

void ViewPane::Refresh() {
    const int move = DisplayedMove();
    LoadControlText(kViewCommentary, ShownCommentary(true));
    SetShapeText(kViewCommentaryCaption, CommentaryCaption("해설 보기"));
    SetShapeText(kViewDiagramsCaption, MoveLabel(move, "수 참고도 보기"));
    ShowMoveInEntry();
    if (move != listMove_) {
        RebuildList(move);
    } else {
        ListBranches();
    }
}

void ViewPane::ListBranches() {
    const BoardLogic& board = Board();
    for (const auto& [key, diagram] : board.Record().NestedAtCurrentMove(board.CurrentMove())) {
        const DiagramKey& listed = key;
        if (std::any_of(entries_.begin(), entries_.end(),
                        [&listed](const ReferenceEntry& e) { return e.key == listed; }))
            continue;
        entries_.push_back({DiagramEntryLabel(diagram, static_cast<int>(entries_.size()) + 1, true),
                            DiagramComment(diagram.kind, diagram.text), key});
        if (list_) list_->Add(entries_.back().caption, entries_.back().text, true);
    }
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
    std::vector<std::pair<std::string, std::string>> panes;
    panes.reserve(entries_.size());
    for (const ReferenceEntry& e : entries_) panes.emplace_back(e.caption, e.text);
    list_->AddAll(panes);
}

void ViewPane::OnListOpened(int index) {
    if (IsQuizMode(Board().Mode())) {
        // The quiz plays on the main line: a diagram is shown only once the user stops it.
        if (index < 0) return;
        if (ShowMessagePopup(BoardPanelLogic::kQuizInterruptQuestion, kButtonsYesNo) != kAnswerYes) {
            if (list_)
                if (PaneHeader* open = list_->Stack().Header(index)) list_->Stack().ClickHeader(open->Id());
            return;
        }
        StopQuiz();
    }
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
    // A player whose name was deleted is shown as gone, not as the name that was there.
    SetShapeText(kViewBlackName, t.black.value_or(std::string()));
    SetShapeText(kViewWhiteName, t.white.value_or(std::string()));
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
    // Play mode would let a click here cut the record, and diagram input enter a diagram this
    // pane cannot add; the way here asked about one being entered. A stored diagram on the
    // board stays shown, as it is stored.
    if (mode == kModeView) return;
    BoardLogic& board = Board();
    const DiagramKey shown = board.Record().OpenDiagramKey();
    const int at = board.CurrentMove();
    board.SetBoardMode(kModeView);
    if (!shown.empty() && board.OpenStoredDiagram(shown)) board.JumpToMove(at);
}

void ViewPane::ResetDisplay() { Display().Reset(Board()); }

void ViewPane::onCommand(int id) {
    switch (id) {
        case kQuizBlack:
        case kQuizWhite:
        case kQuizAll:
            if (!MayStartQuiz()) break;
            if (auto* b = FindControlAs<SkinButton>(id)) b->SetChecked(true);  // unchecks the others
            ShowHintsButton(false);
            StartQuiz(Board(), SelectedQuizMode());
            Display().ApplyNumberText(Board());
            break;
        case kQuizNoHints:
            if (!MayStartQuiz()) break;
            ShowHintsButton(true);
            StartQuiz(Board(), kModeQuizPlain);
            break;
        case kQuizHints:
            if (!MayStartQuiz()) break;
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

bool ViewPane::MayStartQuiz() {
    ReferencePane* reference = MainWindow::Instance()->Reference();
    if (!reference || reference->SettleUnaddedDiagram(DiagramLeaving::kLeave)) return true;
    // The option button checked itself on the click; the quiz did not start.
    if (!IsQuizMode(Board().Mode())) ClearQuizOptions();
    return false;
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
    Display().ApplyNumberText(Board());
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
