#include "app/MainMenus.h"

#include "app/AppInfo.h"
#include "app/CommandIds.h"

namespace velmora {

std::vector<MenuItem> FileMenu() {
    return {{kMenuOpen, "열기", "Ctrl+O"}, {kMenuSave, "저장", "Ctrl+S"}, {kMenuSaveAs, "다른 이름으로 저장", "Ctrl+Shift+S"},
            {0, ""}, {kMenuPrint, "인쇄", "Ctrl+P"}, {0, ""}, {kCmdExit, "종료"}};
}

std::vector<MenuItem> HelpMenu() {
    return {{kMenuVersion, std::string("버전정보 ") + kVersionText}, {0, ""},
            {kMenuGoSiteHomePage, "젤로네바둑 홈페이지 바로가기"}, {kMenuVendorHomePage, "젤로네 홈페이지 바로가기"},
            {kMenuDownload, "최신버전 다운받기"}};
}

std::vector<MenuItem> ContextMenu() {
    return {{kMenuOpen, "열기", "Ctrl+O"}, {kMenuSave, "저장", "Ctrl+S"}, {kMenuPrint, "인쇄", "Ctrl+P"}, {kMenuVersion, "도움말"}};
}

}  // namespace velmora
