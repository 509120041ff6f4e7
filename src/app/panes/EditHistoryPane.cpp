#include "app/panes/EditHistoryPane.h"

#include <algorithm>

#include "app/MainLayout.h"
#include "app/dialogs/MessagePopup.h"
#include "app/panes/BoardPanel.h"
#include "app/panes/StoryCard.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "platform/Timers.h"

namespace velmora {

EditHistoryPane::EditHistoryPane(QWidget* mainWindow) : SkinWindow(mainWindow) {
    scroll_.Attach(this);
    scroll_.SetContentSize(kContentWidth, 3 * 170);
}

EditHistoryPane::~EditHistoryPane() {
    scroll_.Attach(nullptr);
}

void EditHistoryPane::Layout(const QRect& mainClient) {
    setGeometry(MainLayout::Compute(mainClient, 0).editHistory);
    LayoutCards();
}

void EditHistoryPane::LayoutCards() {
    const int top = -scroll_.Position().y();
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        StoryCard* card = cards_[i];
        card->SetPositionNumber(static_cast<int>(i) + 1);
        card->setGeometry(0, top + static_cast<int>(i) * StoryCard::kHeight, StoryCard::kWidth,
                          StoryCard::kHeight);
        card->show();
    }
    // Three cards' worth at least, so that a shrinking list takes its scroll bar with it.
    scroll_.SetContentSize(kContentWidth, std::max(3, StoryCount()) * StoryCard::kHeight);
}

StoryCard* EditHistoryPane::NewCard(int tab) {
    if (StoryCount() >= kMaxStories || !mainBoard_) return nullptr;
    auto* card = new StoryCard(this, mainBoard_);
    card->Create();
    cards_.push_back(card);
    card->TakeFromMainBoard(tab);
    return card;
}

StoryCard* EditHistoryPane::AddStory(int tab) {
    if (StoryCount() >= kMaxStories) {
        ShowMessagePopup(kFullNotice, kButtonsOk);
        return nullptr;
    }
    StoryCard* card = NewCard(tab);
    if (!card) return nullptr;
    LayoutCards();
    if (StoryCount() >= 5) ScrollToEnd();
    return card;
}

void EditHistoryPane::AddStory(const StoryPoint& point) {
    if (!mainBoard_ || StoryCount() >= kMaxStories) return;
    BoardLogic& main = mainBoard_->Logic();
    if (main.CurrentMove() != point.boardIndex) main.JumpToMove(point.boardIndex);
    StoryCard* card = NewCard(point.number);
    if (!card) return;
    // Read from the file, so already saved there.
    card->SetUnsaved(false);
    LayoutCards();
    if (StoryCount() >= 4) ScrollToEnd();
    // Once more after the open, when the main window has placed the pane.
    Timers().Start(kLayoutTimer, 1);
}

std::optional<int> EditHistoryPane::NextStoryNumber(int moveNumber, int boardIndex, const DiagramKey& name) {
    for (StoryCard* card : cards_) {
        if (card->IsWritten() || card->MoveNumber() != moveNumber ||
            card->BoardIndex() != boardIndex)
            continue;
        if (!name.empty() && card->Name() != name) continue;
        card->SetWritten(true);
        return card->Number();
    }
    return std::nullopt;
}

void EditHistoryPane::ClearWritten(bool saved) {
    for (StoryCard* card : cards_) {
        card->SetWritten(false);
        if (saved) card->SetUnsaved(false);
    }
}

template <typename Match>
void EditHistoryPane::RemoveWhere(Match match) {
    bool any = false;
    for (StoryCard* card : cards_) {
        if (card->IsClosed() || !match(*card)) continue;
        card->hide();
        card->SetClosed(true);
        any = true;
    }
    if (any) SendMessage(this, kStoryClosed);
}

template <typename Match>
std::string EditHistoryPane::AnnounceWhere(Match match) const {
    // Each move once, as its cards are captioned, with how many stories it has when more than
    // one: stories inside one diagram all share its move.
    std::vector<std::pair<int, int>> moves;  // move, stories
    for (const StoryCard* card : cards_) {
        if (card->IsClosed() || !match(*card)) continue;
        const auto it = std::find_if(moves.begin(), moves.end(),
                                     [card](const auto& m) { return m.first == card->MoveNumber(); });
        if (it == moves.end())
            moves.emplace_back(card->MoveNumber(), 1);
        else
            ++it->second;
    }
    std::string list;
    for (const auto& [move, count] : moves)
        list += (list.empty() ? "" : ", ") + std::to_string(move) + "수" +
                (count > 1 ? " " + std::to_string(count) + "개" : "");
    return list.empty() ? std::string() : "(함께 지워지는 편집 스토리: " + list + ")";
}

void EditHistoryPane::DiscardStoriesBeyond(int move) {
    RemoveWhere([move](const StoryCard& c) { return c.MoveNumber() > move; });
}

std::string EditHistoryPane::DiscardAnnouncement(int move) const {
    return AnnounceWhere([move](const StoryCard& c) { return c.MoveNumber() > move; });
}

void EditHistoryPane::RemoveStory(const std::string& name) {
    RemoveWhere([&name](const StoryCard& c) { return c.Name() == name; });
}

std::string EditHistoryPane::RemovalAnnouncement(const std::string& name) const {
    return AnnounceWhere([&name](const StoryCard& c) { return c.Name() == name; });
}

void EditHistoryPane::NameEnteredStories(const DiagramKey& key) {
    for (StoryCard* card : cards_)
        if (card->InEnteredDiagram()) card->NameDiagram(key);
}

void EditHistoryPane::RemoveEnteredStories() {
    RemoveWhere([](const StoryCard& c) { return c.InEnteredDiagram(); });
}

std::string EditHistoryPane::EnteredStoriesAnnouncement() const {
    return AnnounceWhere([](const StoryCard& c) { return c.InEnteredDiagram(); });
}

void EditHistoryPane::DestroyAll() {
    for (StoryCard* card : cards_) delete card;
    cards_.clear();
    LayoutCards();
}

void EditHistoryPane::RemoveClosedCards() {
    const auto closed = std::stable_partition(cards_.begin(), cards_.end(),
                                              [](const StoryCard* c) { return !c->IsClosed(); });
    // A card may be closing from its own button: let its handler return first.
    for (auto it = closed; it != cards_.end(); ++it) (*it)->deleteLater();
    cards_.erase(closed, cards_.end());
    LayoutCards();
}

void EditHistoryPane::ScrollToEnd() {
    scroll_.VerticalScroll(kScrollThumbPosition, scroll_.ContentSize().height());
}

bool EditHistoryPane::onMessage(int message, std::intptr_t, std::intptr_t) {
    switch (message) {
        case kStoryClosed:
            RemoveClosedCards();
            return true;
        case kStoryActivating:
            for (StoryCard* card : cards_) card->SetActive(false);
            return true;
        default:
            return false;
    }
}

void EditHistoryPane::onTimer(int id) {
    if (id != kLayoutTimer) return;
    Timers().Stop(kLayoutTimer);
    LayoutCards();
}

}  // namespace velmora
