#pragma once

#include <map>
#include <set>

#include "app/panes/SidePane.h"
#include "record/GameInfo.h"

namespace velmora {

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

}  // namespace velmora
