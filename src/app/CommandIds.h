#pragma once

namespace velmora {

// The main window's commands: the ids of its buttons in Skin\MainWnd.xml and of its menu items.
enum MainCommand : int {
    kCmdMinimise = 101,
    kCmdMaximise = 102,
    kCmdRestore = 103,
    kCmdExit = 104,
    kCmdClose = 105,
    // The tabs, which show the view, input and reference panes.
    kTabView = 200,
    kTabInput = 201,
    kTabReference = 202,
    kCmdContextMenu = 300,
    // The vendor links down the left.
    kLinkMain = 1100,
    kLinkPlayerOfMonth = 1110,
    kLinkRookie = 1120,
    kLinkColumn = 1130,
    kLinkLecture = 1140,
    kCmdLogo = 1200,
    kCmdFileMenu = 1501,
    kCmdHelp = 1502,
    kCmdHelpMenu = 1503,
    // Menu items.
    kMenuOpen = 20001,
    kMenuSave = 20002,
    kMenuSaveAs = 20003,
    kMenuPrint = 20004,
    kMenuVendorHomePage = 20006,
    kMenuGoSiteHomePage = 20007,
    kMenuDownload = 20008,
    kMenuVersion = 20009,
    kMenuHelp = 20010,
    kMenuLibrary = 20011,
    // The file menu's records opened last, newest first: kMenuRecent + 0 … + 7.
    kMenuRecent = 20101,
};

// Shapes of the main window that the program writes.
enum MainShape : int {
    kShapeVersion = 400,     // the version beside the title
    kShapeRecordName = 401,  // the open record's file name
    kShapeStatus = 402,      // the status line under the board
};

}  // namespace velmora
