#pragma once

#include <string>

#include "app/panes/SidePane.h"

namespace velmora {

// What is about to happen to a diagram entered on the board but never added.
enum class DiagramLeaving {
    kSave,   // the record is saved: the diagram stays being entered
    kLeave,  // the board leaves it (another tab, a quiz, another diagram, a story)
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
    // The one question about a diagram being entered that was never added, asked before a save
    // or anything that leaves it: 예 adds it (with the add button's messages), 아니오 discards it
    // when leaving (a save goes on without it), 취소 stays → true when the caller may go on;
    // true at once when there is no such diagram. The question names the edit stories that go
    // with a discarded diagram.
    bool SettleUnaddedDiagram(DiagramLeaving why);
    // Applies the input option chosen here (stone input when none is) to the board: the tab's
    // own mode, in which a click never changes the main line.
    void EnterInputMode();

    static constexpr int kAddButton = 202;
    static constexpr int kSaveButton = 201;
    static constexpr const char* kNothingToAdd = "<br><br>참고도 정보(수순 및 해설)가 존재하지 않습니다.";
    static constexpr const char* kDuplicate = "<br><br>중복되는 참고도(수순 및 해설)는 추가할수 없습니다.";
    static constexpr const char* kAddQuestion = "<br><br>참고도를 추가하시겠습니까?";
    static constexpr const char* kDeleteQuestion = "<br>참고도를 삭제하시겠습니까?";
    // Asked by a save while HasUnaddedDiagram (Yes/No/Cancel).
    static constexpr const char* kAddBeforeSaving =
        "<br>입력 중인 참고도가 아직 추가되지 않았습니다.<br>추가한 뒤 저장하시겠습니까?"
        "<br>(아니오: 참고도 없이 저장합니다)";
    // Asked by whatever would leave a diagram while HasUnaddedDiagram (Yes/No/Cancel).
    static constexpr const char* kAddBeforeLeaving =
        "<br>입력 중인 참고도가 아직 추가되지 않았습니다.<br>추가하시겠습니까?"
        "<br>(아니오: 입력한 참고도를 버립니다)";

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
    // The add button → the store's answer: the new key, "same", or "" for nothing stored.
    std::string AddDiagram();
    // Drops the diagram being entered from the board and this pane, with its edit stories.
    void DiscardEnteredDiagram();
    void SaveDiagram();
    void ApplyStoneInput();
    void ApplyMarkInput();

    // The stored diagram whose text edit 601 shows ("" for one being entered): the box is
    // reloaded only when that changes, so typing survives the refreshes of diagram moves.
    std::string textKey_;
};

}  // namespace velmora
