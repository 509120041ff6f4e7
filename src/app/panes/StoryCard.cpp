#include "app/panes/StoryCard.h"

#include <QMouseEvent>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/panes/BoardPanel.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferencePane.h"
#include "board/BoardControl.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

bool IsTab(int tab) {
    return tab == kTabView || tab == kTabInput || tab == kTabReference;
}

}  // namespace

StoryCard::StoryCard(QWidget* pane, BoardPanel* mainBoard)
    : SkinWindow(pane), mainBoard_(mainBoard) {}

bool StoryCard::Create() {
    SetSkinFile("Skin\\HistoryWnd.xml");
    const bool built = CreateFromSkin();
    hide();
    return built;
}

BoardControl* StoryCard::Board() const {
    return FindControlAs<BoardControl>(kStoryBoard);
}

void StoryCard::TakeFromMainBoard(int tab) {
    const BoardLogic& main = mainBoard_->Logic();
    moveNumber_ = main.DisplayedMove();
    name_ = main.Record().OpenDiagramKey();
    // A diagram being entered has no name until it is added; the story is named then.
    const OpenDiagram& open = main.Record().CurrentDiagram();
    entered_ = open.base >= 0 && open.key.empty() && (!open.moves.empty() || !open.startList.empty());
    boardIndex_ = main.CurrentMove();
    // Recalling sends the tab to the main window as a command, so only a tab may be one.
    tab_ = IsTab(tab) ? tab : -1;
    number_ = tab;
    SetShapeText(kStoryCaption, std::to_string(moveNumber_) + "수");
    if (BoardControl* board = Board()) {
        main.CopyPositionTo(board->Logic(), name_);
        board->Logic().SetBoardMode(kModePreview);
        board->Logic().Refresh();
    }
}

void StoryCard::Recall(bool leaveDiagram) {
    // A diagram being entered is not left without the question; its answer may remove this card.
    MainWindow* main = MainWindow::Instance();
    if (ReferencePane* reference = main ? main->Reference() : nullptr;
        reference && !reference->SettleUnaddedDiagram(DiagramLeaving::kLeave))
        return;
    if (closed_) return;
    int tab = tab_;
    // The input tab plays on the main line and shows no diagram: a story inside one is shown
    // in the view tab instead.
    if (!name_.empty() && (tab == kTabInput || (tab == -1 && main && main->CurrentTab() == kTabInput)))
        tab = kTabView;
    if (tab != -1) SendCommand(window(), tab);
    SendMessage(parentWidget(), EditHistoryPane::kStoryActivating);
    SetActive(true);
    BoardPanelLogic& navigation = mainBoard_->Navigation();
    if (leaveDiagram) navigation.ShowStoredDiagram("원래대로");
    mainBoard_->Logic().JumpToMove(moveNumber_);
    if (!name_.empty()) {
        navigation.ShowStoredDiagram(name_);
        mainBoard_->Logic().JumpToMove(boardIndex_);
    }
}

void StoryCard::Close() {
    hide();
    closed_ = true;
    // The stories are saved with the record, so one closed is an edit to keep.
    SetRecordModified(true);
    PostMessage(parentWidget(), EditHistoryPane::kStoryClosed);
}

void StoryCard::SetActive(bool active) {
    if (auto* lamp = FindControlAs<SkinButton>(kStoryActiveLamp)) lamp->SetChecked(active);
}

bool StoryCard::IsActive() const {
    const auto* lamp = FindControlAs<SkinButton>(kStoryActiveLamp);
    return lamp && lamp->IsChecked();
}

void StoryCard::onCommand(int id) {
    if (id == kStoryCloseButton) Close();
    // The lamp is a check button: clicking it makes this the active story again.
    if (id == kStoryActiveLamp) Recall();
}

bool StoryCard::onMessage(int message, std::intptr_t, std::intptr_t) {
    if (message != UM_BOARD_CLICKED) return false;
    Recall();
    return true;
}

void StoryCard::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Recall(false);
}

}  // namespace velmora
