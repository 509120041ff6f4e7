#pragma once

#include <QRect>
#include <string>
#include <vector>

#include "record/SgfStories.h"
#include "skin/ScrollArea.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardPanel;
class StoryCard;

// The edit-story column at the left of the main window (Skin\EditHistory.xml): at most ten
// StoryCards stacked from the top in order of creation, scrolled by a ScrollArea. It receives
// the stories the record reader meets (StorySink) and answers the writer's questions for them
// (StoryQuery), each story once per save.
class EditHistoryPane : public SkinWindow, public StorySink, public StoryQuery {
    Q_OBJECT
  public:
    static constexpr int kMaxStories = 10;
    // Messages from the cards: one was closed (remove the closed ones), one is being activated.
    static constexpr int kStoryClosed = 2025;
    static constexpr int kStoryActivating = 2026;
    static constexpr int kLayoutTimer = 200;
    static constexpr int kContentWidth = 140;
    static constexpr const char* kFullNotice =
        "<br>편집 스토리는 최대 10개까지만 추가가 가능합니다.";

    explicit EditHistoryPane(QWidget* mainWindow = nullptr);
    ~EditHistoryPane() override;

    // The main board stories are taken from and recalled on (not owned).
    void SetMainBoard(BoardPanel* board) { mainBoard_ = board; }

    // Places the pane for the main window's client rectangle and lays out the cards.
    void Layout(const QRect& mainClient);
    // Places every card under the one before it, 170 apart, and sizes the scrolled content.
    void LayoutCards();

    // Adds a story of the main board's position for tab (200–202) → the new card, or null after
    // the notice when ten exist.
    StoryCard* AddStory(int tab);
    // StorySink: a story met while reading. The main board is moved to point.boardIndex first;
    // point.number is the tab. A full pane ignores it.
    void AddStory(const StoryPoint& point) override;
    // StoryQuery: the tab of the first story not yet written at (moveNumber, boardIndex) named
    // name (any when name is empty), now marked written → 0 when there is none.
    std::optional<int> NextStoryNumber(int moveNumber, int boardIndex, const DiagramKey& name) override;
    // Forgets which stories the last save wrote; with saved, they count as saved too.
    void ClearWritten(bool saved);

    int StoryCount() const { return static_cast<int>(cards_.size()); }
    const std::vector<StoryCard*>& Cards() const { return cards_; }
    // Hides, marks closed and removes every story beyond move.
    void DiscardStoriesBeyond(int move);
    // "(함께 지워지는 편집 스토리: 55수, 70수 2개)" for the stories a cut at move would
    // discard, each move once; "" when none.
    std::string DiscardAnnouncement(int move) const;
    // Removes every story pointing into the diagram named name.
    void RemoveStory(const std::string& name);
    // The same for the stories RemoveStory(name) would remove; "" when it would remove none.
    std::string RemovalAnnouncement(const std::string& name) const;
    // The stories taken inside the diagram being entered now point into the diagram stored
    // under key.
    void NameEnteredStories(const DiagramKey& key);
    // Removes the stories taken inside the diagram being entered (it is being discarded).
    void RemoveEnteredStories();
    // The announcement of RemovalAnnouncement for the stories RemoveEnteredStories would remove.
    std::string EnteredStoriesAnnouncement() const;
    // Destroys every story at once.
    void DestroyAll();
    ScrollArea& Scroller() { return scroll_; }

  protected:
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void onTimer(int id) override;

  private:
    StoryCard* NewCard(int tab);
    void RemoveClosedCards();
    // Closes every open card that matches, then removes them.
    template <typename Match>
    void RemoveWhere(Match match);
    // The announcement of the open cards that match; "" for none.
    template <typename Match>
    std::string AnnounceWhere(Match match) const;
    void ScrollToEnd();

    BoardPanel* mainBoard_ = nullptr;
    std::vector<StoryCard*> cards_;  // children of the pane, in order of creation
    ScrollArea scroll_;
};

}  // namespace velmora
