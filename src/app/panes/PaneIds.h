#pragma once

// The ids of the controls and shapes the side panes and the board pane use in their skins.
// Commands with a name of their own stay with their owner: DisplayCommand (panes/DisplayMenu.h),
// ViewPane::QuizCommand, InputPane's and ReferencePane's buttons, BoardPanelCommand
// (game/BoardPanelLogic.h); the tabs the shortcut buttons select are kTabView… (app/CommandIds.h).

namespace velmora {

// Shared by the side panes.
enum SidePaneId : int {
    kPaneMoveEntry = 300,      // the move-number entry (the reference pane's 300 is its kind)
    kPaneViewTabButton = 800,  // the shortcut buttons to the tabs, in the tabs' order
    kPaneInputTabButton = 801,
    kPaneReferenceTabButton = 802,
};

// The view pane (Skin\BadukView.xml).
enum ViewPaneId : int {
    kViewGameName = 1100,  // shapes of the game information
    kViewBlackName = 1101,
    kViewWhiteName = 1102,
    kViewDate = 1103,
    kViewPlace = 1104,
    kViewMainTime = 1105,
    kViewKomiHandicap = 1106,
    kViewResult = 1107,
    kViewOvertime = 1108,
    kViewCommentary = 1110,         // the move's commentary, read-only here
    kViewCommentaryCaption = 1111,  // shape "…수 해설 보기"
    kViewDiagramsCaption = 311,  // shape "…수 참고도 보기" (the button 311 is kQuizBlack)
    kViewDiagramList = 500,      // the control the reference list is laid over
};

// The input pane (Skin\BadukInput.xml).
enum InputPaneId : int {
    kInputGameName = 400,  // the game-information form
    kInputBlackName = 401,
    kInputWhiteName = 402,
    kInputYear = 403,
    kInputMonth = 404,
    kInputDay = 405,
    kInputPlace = 406,
    kInputMainTimeHours = 407,
    kInputMainTimeMinutes = 408,
    kInputMainTimeSeconds = 409,
    kInputOvertimeMinutes = 410,
    kInputOvertimeSeconds = 411,
    kInputOvertimeCount = 412,
    kInputKomi = 413,
    kInputHandicap = 414,  // read-only, follows InputPane::kHandicapCombo
    kInputResult = 415,
    kInputCommentary = 420,
    kInputCommentaryCaption = 500,  // shape "…수 해설 보기 입력/수정"
    kInputBlackRank = 901,          // the rank combos
    kInputWhiteRank = 902,
};

// The reference pane (Skin\Reference.xml); its diagram input is named in ReferencePane.cpp.
enum ReferencePaneId : int {
    kRefCommentaryCaption = 203,         // shape "…수 해설 보기 입력/수정"
    kRefDiagramCommentaryCaption = 204,  // shape "…수 참고도 해설 입력/수정"
    kRefDiagramListCaption = 304,        // shape "…수 참고도 목록"
    kRefMoveNumber = 305,                // shape "…수"
    kRefCommentary = 602,
};

// An edit story's card (Skin\HistoryWnd.xml).
enum StoryCardId : int {
    kStoryCloseButton = 100,
    kStoryBoard = 200,       // the preview board
    kStoryCaption = 202,     // shape "%d수"
    kStoryActiveLamp = 301,  // check button lit on the active story
};

// The board pane (Skin\BadukPan.xml); its buttons are BoardPanelCommand.
enum BoardPanelId : int {
    kBoardPanelBoard = 200,  // the main BoardControl
};

}  // namespace velmora
