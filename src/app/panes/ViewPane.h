#pragma once

#include <string>
#include <vector>

#include "app/panes/SidePane.h"
#include "record/GameInfo.h"

namespace velmora {

class ReferenceList;

// The view pane (Skin\BadukView.xml): the game information as texts, the move's commentary
// and the list of its reference diagrams.
class ViewPane : public SidePane {
    Q_OBJECT
public:
    // One diagram of the list: its caption ("[12수 참고도] 1"), its text led by its kind, its key.
    struct ReferenceEntry {
        std::string caption;
        std::string text;
        std::string key;
    };

    using SidePane::SidePane;
    void Refresh() override;
    // Shows info in the texts 1100–1108; a player without a name shows nothing.
    void ShowInfo(const GameInfo& info);
    // Reloads everything from the record, then refreshes.
    void ReloadFromRecord();
    // A record was opened or made: nothing of the previous one stays (players, reference
    // list), then everything is reloaded.
    void StartRecord();
    // The reference list is built afresh at the next refresh (a diagram was added or deleted).
    void RequestFreshList();
    // The diagrams listed now, in the record's order.
    const std::vector<ReferenceEntry>& ReferenceEntries() const { return entries_; }
    // Ends a running quiz (command 310): the variant options go off, the board returns to view
    // mode and the pane's number display applies again.
    void StopQuiz();
    // The view tab was chosen: unless a quiz runs, the options go off and the board goes to
    // view mode, a stored diagram it shows still shown.
    void EnterViewMode();
    // Applies the pane's number, coordinate and last-move choices to the board again.
    void ResetDisplay();

    // The quiz controls: options 311–313 start a variant, 315 plays without hints, 316 brings
    // the selected variant back, 310 stops.
    enum QuizCommand : int {
        kQuizStop = 310,
        kQuizBlack = 311,
        kQuizWhite = 312,
        kQuizAll = 313,
        kQuizNoHints = 315,
        kQuizHints = 316,
    };

    // The list of the move's diagrams (null before the skin is built).
    ReferenceList* List() const { return list_; }

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    DisplayPane DisplayKind() const override { return DisplayPane::kView; }
    void JumpToTypedMove() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ClearQuizOptions();
    // Before a quiz starts: the question about a diagram being entered → false when it stays.
    bool MayStartQuiz();
    // Lists the diagrams of move afresh; a diagram open on the board is left first.
    void RebuildList(int move);
    // Adds the branches of the open diagram at the board's move that are not listed yet; they
    // stay listed until the list is built for another move.
    void ListBranches();
    // The quiz mode of the selected option (311 → 5, 312 → 6, 313 → 4), 0 when none is.
    int SelectedQuizMode() const;
    // Shows 316 and hides 315 (hintsButton), or the other way round; the hidden one is disabled.
    void ShowHintsButton(bool hintsButton);
    // Lays the list over control 500: at x 16 with its top and width, 5 pixels short of its bottom.
    void PlaceList();
    // The pane of the list at index was opened (−1: the open one was closed).
    void OnListOpened(int index);

    int listMove_ = -1;  // the displayed move of the last list rebuild, −1 for none
    std::vector<ReferenceEntry> entries_;
    ReferenceList* list_ = nullptr;
};

}  // namespace velmora
