#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/DisplayMenu.h"
#include "record/GameInfo.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardLogic;
class ReferenceList;

// What the three side panes share: the shortcut buttons 800–802, which select the tabs
// 200–202 of the main window (the pane's parent), the display menu (302) with the pane's own
// choices, the move-number entry (300, 301), a refresh after every change, and the
// commentary box of the displayed move.
class SidePane : public SkinWindow {
    Q_OBJECT
public:
    using SkinWindow::SkinWindow;
    // Shows the record's state for the move on the board.
    virtual void Refresh() {}
    // The pane's display choices (its menu's check marks).
    PaneDisplay& Display();

protected:
    // Handles 302, the display items, 301 and 800–802; other ids are ignored.
    void onCommand(int id) override;
    // Which pane this is, for its display menu's items and initial choices.
    virtual DisplayPane DisplayKind() const = 0;
    // Jumps the board to the number typed in control 300 (command 301).
    virtual void JumpToTypedMove();
    // The main board (through the main window).
    BoardLogic& Board() const;
    // The move the pane speaks of: the current move, or an open diagram's base at or past it.
    int DisplayedMove() const;
    // The move-number entry (300) shows the displayed move, unless the user is typing there.
    void ShowMoveInEntry();

    // Sets the text of control id as the program, not the user: no change is reported, and
    // an equal text is left alone so that the caret stays where it is.
    void LoadControlText(int id, const std::string& text);
    // True while LoadControlText runs: a change notification then is the program's own.
    bool Loading() const { return loading_; }
    // Stores the text of commentary box id as the displayed move's commentary (the box shows
    // that move's, so that is the one it edits); nothing where the record keeps none.
    void StoreCommentary(int id);

private:
    void ShowDisplayMenu();

    bool loading_ = false;
    std::optional<PaneDisplay> display_;
};

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
    // Shows info in the texts 1100–1108; a player without a name keeps the text shown.
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
    // The view tab was chosen: unless a quiz runs, the options go off, and a board in play
    // mode goes to view mode.
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
    // Lists the diagrams of move afresh; a diagram open on the board is left first.
    void RebuildList(int move);
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

// The input pane (Skin\BadukInput.xml): the game-information form and the move's commentary.
// The form keeps every loaded value whole: the fields' length limits hold for typing only, and
// a field the user did not touch is written back exactly as it was loaded.
class InputPane : public SidePane {
    Q_OBJECT
public:
    using SidePane::SidePane;
    void Refresh() override;
    // Fills the form from info.
    void LoadForm(const GameInfo& info);
    // Copies the form into info: the fields edited since LoadForm from their controls, the
    // others as they were loaded.
    void SaveForm(GameInfo& info) const;

    // The "새 기보" button: the main window's new-record command.
    static constexpr int kNewRecordButton = 304;
    // The "총보나누기" button: the split dialog in its split mode (the board pane's 놓아보기
    // button opens the try-placing mode).
    static constexpr int kSplitButton = 305;
    // The handicap choices.
    static constexpr int kHandicapCombo = 600;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    void onNotify(int id, int code) override;
    DisplayPane DisplayKind() const override { return DisplayPane::kInput; }

private:
    // The handicap chosen in combo 600: the board is set up for it, 414 shows the choice.
    void ChooseHandicap();

    GameInfo loaded_;
    std::set<int> edited_;          // form controls the user changed since the last load
    std::map<int, int> typeLimit_;  // the skin's length limit of each text field
};

// The reference pane (Skin\Reference.xml): the move's reference diagrams and the input of new ones.
class ReferencePane : public SidePane {
    Q_OBJECT
public:
    using SidePane::SidePane;
    void Refresh() override;
    // A record was opened or made: the text of a diagram being entered for the previous one
    // goes, so that it cannot be added to this one.
    void StartRecord();
    // A click on row (0-based) of list 500 in column: 0 opens that diagram, 1 asks
    // kDeleteQuestion after the entry's label (and names the edit story that would go with
    // it) and deletes it on Yes; anything else, or no such row, is ignored.
    void ClickListEntry(int row, int column);
    // A diagram entered on the board (moves or marks) that was never added → true.
    bool HasUnaddedDiagram() const;
    // Adds the diagram being entered, with the kind and text chosen here, as the add
    // button does (its messages included).
    void AddEnteredDiagram() { AddDiagram(); }

    static constexpr int kAddButton = 202;
    static constexpr int kSaveButton = 201;
    static constexpr const char* kNothingToAdd = "<br><br>참고도 정보(수순 및 해설)가 존재하지 않습니다.";
    static constexpr const char* kDuplicate = "<br><br>중복되는 참고도(수순 및 해설)는 추가할수 없습니다.";
    static constexpr const char* kAddQuestion = "<br><br>참고도를 추가하시겠습니까?";
    static constexpr const char* kDeleteQuestion = "<br>참고도를 삭제하시겠습니까?";
    // Asked by a save while HasUnaddedDiagram.
    static constexpr const char* kAddBeforeSaving =
        "<br>입력 중인 참고도가 아직 추가되지 않았습니다.<br>추가한 뒤 저장하시겠습니까?";

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    void onNotify(int id, int code) override;
    DisplayPane DisplayKind() const override { return DisplayPane::kReference; }
    // The reference pane has no move-number entry (its control 300 is the diagram kind).
    void JumpToTypedMove() override {}

private:
    // Edit 601 and list 500 for the displayed move.
    void RefreshDiagramInput(int move);
    bool Selected(int optionId) const;
    // Options 400 and 401: enables the mark controls for 401, applies the choice.
    void ChooseInput(int optionId);
    // The open diagram's kind and text from combo 300 and edit 601.
    void TakeKindAndText();
    void AddDiagram();
    void SaveDiagram();
    void ApplyStoneInput();
    void ApplyMarkInput();

    // The stored diagram whose text edit 601 shows ("" for one being entered): the box is
    // reloaded only when that changes, so typing survives the refreshes of diagram moves.
    std::string textKey_;
};

}  // namespace velmora
