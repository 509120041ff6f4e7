#pragma once

#include "record/GameInfo.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardLogic;

// What the three side panes share: the shortcut buttons 800–802, which select the tabs
// 200–202 of the main window (the pane's parent), and a refresh after every change.
class SidePane : public SkinWindow {
    Q_OBJECT
public:
    using SkinWindow::SkinWindow;
    // Shows the record's state for the move on the board.
    virtual void Refresh() {}

protected:
    void onCommand(int id) override;
    // The main board (through the main window).
    BoardLogic& Board() const;
    // The move the pane speaks of: the current move, or an open diagram's base at or past it.
    int DisplayedMove() const;
};

// The view pane (Skin\BadukView.xml): the game information as texts, the move's commentary.
class ViewPane : public SidePane {
    Q_OBJECT
public:
    using SidePane::SidePane;
    void Refresh() override;
    // Shows info in the texts 1100–1108.
    void ShowInfo(const GameInfo& info);
    // Reloads everything from the record, then refreshes.
    void ReloadFromRecord();
    // Ends a running quiz: the variant options go off, the board returns to view mode.
    void StopQuiz();

protected:
    void OnSkinBuilt() override;

private:
    void ClearQuizOptions();
};

// The input pane (Skin\BadukInput.xml): the game-information form and the move's commentary.
class InputPane : public SidePane {
    Q_OBJECT
public:
    using SidePane::SidePane;
    void Refresh() override;
    // Fills the form from info.
    void LoadForm(const GameInfo& info);
    // Copies the form into info.
    void SaveForm(GameInfo& info) const;

    // The "새 기보" button: the main window's new-record command.
    static constexpr int kNewRecordButton = 304;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
};

// The reference pane (Skin\Reference.xml): the move's reference diagrams and the input of new ones.
class ReferencePane : public SidePane {
    Q_OBJECT
public:
    using SidePane::SidePane;
    void Refresh() override;

protected:
    void OnSkinBuilt() override;
};

}  // namespace velmora
