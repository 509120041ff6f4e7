#include "app/MainMenus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/AppInfo.h"
#include "app/CommandIds.h"

namespace velmora {

std::vector<MenuItem> FileMenu(const std::vector<std::string>& recent) {
    std::vector<MenuItem> items = {{kMenuOpen, "열기", "Ctrl+O"}, {kMenuSave, "저장", "Ctrl+S"},
                                   {kMenuSaveAs, "다른 이름으로 저장", "Ctrl+Shift+S"}, {0, ""},
                                   {kMenuPrint, "인쇄", "Ctrl+P"}, {0, ""},
                                   {kMenuLibrary, "기보 라이브러리", "Ctrl+L"}, {0, ""}};
    for (std::size_t i = 0; i < recent.size(); ++i) {
        // The name first, so that a long folder does not hide it; the folder after it.
        const QFileInfo file(QFile::decodeName(recent[i].c_str()));
        items.push_back({kMenuRecent + static_cast<int>(i),
                         std::to_string(i + 1) + "  " + file.fileName().toStdString() + "  (" +
                             QDir::toNativeSeparators(file.path()).toStdString() + ")"});
    }
    if (!recent.empty()) items.push_back({0, ""});
    items.push_back({kCmdExit, "종료"});
    return items;
}

std::vector<MenuItem> HelpMenu() {
    return {{kMenuVersion, std::string("버전정보 ") + kVersionText}, {0, ""},
            {kMenuGoSiteHomePage, "젤로네바둑 홈페이지 바로가기"}, {kMenuVendorHomePage, "젤로네 홈페이지 바로가기"},
            {kMenuDownload, "최신버전 다운받기"}};
}

std::vector<MenuItem> ContextMenu() {
    return {{kMenuOpen, "열기", "Ctrl+O"}, {kMenuSave, "저장", "Ctrl+S"}, {kMenuPrint, "인쇄", "Ctrl+P"}, {kMenuHelp, "도움말"}};
}

}  // namespace velmora
