#pragma once

#include <QPoint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QMenu;

namespace velmora {

// One item of a pop-up menu; an id of 0 is a separator.
struct MenuItem {
    MenuItem(int id = 0, std::string text = {}, std::string shortcut = {})
        : id(id), text(std::move(text)), shortcut(std::move(shortcut)) {}
    int id;
    std::string text;
    std::string shortcut;  // the key shown beside the text ("Ctrl+O"), "" for none
};

// An empty pop-up menu in the program's colours; checkable leaves room for check marks.
std::unique_ptr<QMenu> MakePopupMenu(bool checkable);

// Runs menu at a screen point → the data (the id) of the chosen action, 0 when none was chosen.
int RunPopupMenu(QMenu& menu, QPoint at);

// Runs a menu of items at a screen point → the chosen item's id, 0 when none was chosen.
int RunPopupMenu(const std::vector<MenuItem>& items, QPoint at);

}  // namespace velmora
