#pragma once

namespace velmora {

// Window messages with fixed numbers. Each number is used directly as a QEvent type, so
// every number must be at least 1000 (QEvent::User) and at most 65535.
enum WindowMessage : int {
    UM_RADIO_UNCHECK = 1280,  // a radio button of the same group was checked
    UM_REFRESH_PANE = 2024,
    UM_STORY_QUERY = 2027,
    UM_BOARD_CLICKED = 2028,
    UM_BUTTON_HOVER = 3025,
    UM_MENU_BUTTON_RESET = 3026,
};

}  // namespace velmora
