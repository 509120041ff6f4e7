#pragma once

#include <functional>
#include <string>

#include "game/BoardLogic.h"

namespace velmora {

// Button commands of the board panel.
enum BoardPanelCommand : int {
    kCmdToStart = 110,      // back to the start of the open line
    kCmdBackTen = 111,      // back up to 10 moves
    kCmdBack = 112,         // back one move
    kCmdForward = 113,      // forward one move
    kCmdForwardTen = 114,   // forward up to 10 moves
    kCmdToEnd = 115,        // forward to the end of the open line
    kCmdPass = 116,         // a pass where a click would play (the panel's board input)
    kCmdSplit = 119,        // the split dialog
    kCmdOpen = 121,         // open a record
    kCmdScreenshot = 122,   // save a screenshot
    kCmdSave = 123,         // save the record
    kCmdPrint = 124,        // print
    kCmdAddStory = 130,     // add an edit story
};

// What the board panel hands to the main window and shows on its own buttons.
class BoardPanelObserver {
public:
    virtual ~BoardPanelObserver() = default;
    // A command that belongs to the main window (119, 121, 122, 123, 124, 130).
    virtual void OnForwardedCommand(int id) = 0;
    // The forward buttons 113, 114, 115 are to be enabled (a next move exists) or disabled.
    virtual void OnForwardButtonsEnabled(bool enabled) = 0;
    // The user agreed to stop the running quiz (the view pane's stop command 310).
    virtual void OnQuizStopRequested() = 0;
};

// The board panel's behaviour without its window: navigation commands 110–115 with their
// after-steps, the forwarded commands, and showing stored diagrams. The skinned panel window
// calls OnCommand from its command handler and mirrors ForwardButtonsEnabled on its buttons.
class BoardPanelLogic {
public:
    // The question asked when navigation would interrupt a running quiz.
    static constexpr const char* kQuizInterruptQuestion =
        "<br>수순 이동시, 다음수순맞히기 기능이 중지됩니다.<br>계속 진행하시겠습니까? ";

    // Drives board (not owned; may be null until the skin has built it); turns its click
    // notifications off, since only preview boards send them.
    explicit BoardPanelLogic(BoardLogic* board = nullptr);
    void SetBoard(BoardLogic* board);
    BoardLogic* Board() const { return board_; }
    // Receiver of forwarded commands and button states (not owned, may be null).
    void SetObserver(BoardPanelObserver* observer) { observer_ = observer; }
    // Replaces the quiz interruption (default: ask kQuizInterruptQuestion, Yes stops the quiz).
    void SetQuizInterrupt(std::function<void()> interrupt) { quizInterrupt_ = std::move(interrupt); }

    // Carries out the button command id → true when the panel knows it (110–115 and the
    // forwarded ones), false for any other id. In quiz modes 110–115 first interrupt the quiz,
    // and step only when that stopped it.
    bool OnCommand(int id);
    // "원래대로" in keyText: back to the main line. Otherwise shows the stored diagram keyText
    // from its start, colours following the current move, and steps to its end.
    void ShowStoredDiagram(const std::string& keyText);
    // Whether the forward buttons are enabled (after the last navigation).
    bool ForwardButtonsEnabled() const { return forwardEnabled_; }
    // Enables the forward buttons exactly when the open line has a move after the current one.
    void UpdateForwardButtons();

private:
    void Navigate(int id);
    void InterruptQuiz();

    BoardLogic* board_ = nullptr;
    BoardPanelObserver* observer_ = nullptr;
    std::function<void()> quizInterrupt_;
    bool forwardEnabled_ = true;
};

}  // namespace velmora
