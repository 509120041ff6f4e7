#pragma once

#include <string>
#include <vector>

#include "app/PopupMenu.h"

namespace velmora {

// The main window's pop-up menus, items in order: the file menu (button 1501) with the records
// opened last (recent, newest first, numbered from 1), the help menu (1503) and the context
// menu (300).
std::vector<MenuItem> FileMenu(const std::vector<std::string>& recent = {});
std::vector<MenuItem> HelpMenu();
std::vector<MenuItem> ContextMenu();

}  // namespace velmora
