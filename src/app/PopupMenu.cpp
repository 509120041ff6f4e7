#include "app/PopupMenu.h"

#include <QMenu>

namespace velmora {

std::unique_ptr<QMenu> MakePopupMenu(bool checkable) {
    auto menu = std::make_unique<QMenu>();
    const char* itemPadding = checkable ? "QMenu::item { padding: 5px 24px 5px 24px; }"
                                        : "QMenu::item { padding: 5px 24px 5px 18px; }";
    menu->setStyleSheet(
        QString("QMenu { background: #FAF7F0; border: 1px solid #967C54; padding: 3px; color: #222226; }") +
        itemPadding +
        "QMenu::item:selected { background: #D6C8AA; color: #222226; }"
        "QMenu::separator { height: 1px; background: #D6C8AA; margin: 3px 6px; }");
    return menu;
}

int RunPopupMenu(QMenu& menu, QPoint at) {
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

int RunPopupMenu(const std::vector<MenuItem>& items, QPoint at) {
    const std::unique_ptr<QMenu> menu = MakePopupMenu(false);
    for (const MenuItem& item : items) {
        if (item.id == 0)
            menu->addSeparator();
        else
            // After a tab, QMenu shows the text in its column of shortcuts.
            menu->addAction(QString::fromStdString(item.shortcut.empty() ? item.text : item.text + "\t" + item.shortcut))
                ->setData(item.id);
    }
    return RunPopupMenu(*menu, at);
}

}  // namespace velmora
