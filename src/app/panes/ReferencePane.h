#pragma once

#include <string>

#include "app/panes/SidePane.h"

namespace velmora {

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
