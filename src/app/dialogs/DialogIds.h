#pragma once

// The ids of the controls and shapes the dialogs use in their skins (Skin\Dialog). The split
// dialog's navigation buttons 110–115 are BoardPanelCommand (game/BoardPanelLogic.h), the print
// dialog's kind buttons 200–203 are ComposeKind (compose/DiagramComposer.h), and the message
// pop-up names its own in MessagePopup.cpp.

namespace velmora {

// The split and try-placing dialog (총보나누기.xml).
enum SplitDialogId : int {
    kSplitCloseButton = 100,
    kSplitApplyButton = 105,  // loads the range of the three edits
    kSplitPrintButton = 150,
    kSplitBoard = 200,
    kSplitFirstMove = 300,  // split mode: the range edits
    kSplitLastMove = 301,
    kSplitFirstNumber = 302,
    kSplitTitle = 400,  // shapes: the title, the range edits' captions
    kSplitRangeCaption = 401,
    kSplitFirstMoveCaption = 402,
    kSplitLastMoveCaption = 403,
    kSplitFirstNumberCaption = 404,
    kSplitTryCaption = 499,  // try-placing mode: the shape over its controls
    kSplitTryMove = 500,     // the move-number edit and its button
    kSplitTryJumpButton = 501,
    kSplitTryMoveSuffix = 502,  // shape "수로" after the edit
    kSplitTryNumbersButton = 505,
    kSplitTryCoordinatesButton = 506,
    kSplitTryLeaveDiagramButton = 510,
    kSplitTryNotice = 600,  // shape: the moves stay out of the record
};

// The print dialog (복사.xml).
enum PrintDialogId : int {
    kPrintButton = 101,      // prints, the window staying open
    kPrintPreviewButton = 102,  // shows the pages before printing
    kPrintRangeFirst = 301,  // kind 202: the range edits
    kPrintRangeSecond = 302,
    kPrintRangeThird = 303,
    kPrintMovesPerDiagram = 304,  // kind 203: the split edit and combo
    kPrintPerPage = 305,
    kPrintExportButton = 400,  // saves the pages as pictures
    kPrintCoordinates = 310,      // check box: coordinates around the diagrams
    kPrintCoordinateStyle = 311,  // combo: usual (A–T without I) or as the board shows them
    kPrintBookFiles = 312,        // the records added to the print, by name
    kPrintCommentary = 313,       // check: each diagram's comments printed with it
    kPrintRestartNumbers = 314,   // check: ranges and splits number their moves from 1
    kPrintAddFilesButton = 410,   // asks for records to print with this one as a book
};

// The board size of a new record (바둑판크기.xml); 100 cancels, 101 starts.
enum BoardSizeDialogId : int {
    kBoardSize19 = 201,  // option buttons
    kBoardSize13 = 202,
    kBoardSize9 = 203,
    kBoardSizeOther = 204,
    kBoardSizeOtherEdit = 301,  // the other size, 2..25
};

// The save-first question (새기보.xml).
enum SaveFirstDialogId : int {
    kSaveFirstCancelButton = 104,
    kSaveFirstYesButton = 108,
    kSaveFirstNoButton = 109,
};

// The version window (버전정보.xml).
enum VersionDialogId : int {
    kVersionMailButton = 200,  // writes to the support address
    kVersionSiteButton = 201,  // opens the Go site
    kVersionNumberShape = 300,
};

}  // namespace velmora
