#include "app/AppPrompter.h"

#include "app/MainWindow.h"
#include "app/dialogs/BoardSizeDialog.h"
#include "app/dialogs/GameChooserDialog.h"
#include "app/dialogs/MessagePopup.h"

namespace velmora {

int AppPrompter::Popup(const std::string& markup, int buttons) { return RunMessagePopup(markup, buttons, Owner()); }

int AppPrompter::ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                            const std::vector<std::vector<std::string>>& rows) {
    return RunGameChooser(caption, columns, rows, Owner());
}

int AppPrompter::ChooseBoardSize(int suggested) { return RunBoardSizeDialog(suggested, Owner()); }

QWidget* AppPrompter::Owner() const { return MainWindow::Instance(); }

}  // namespace velmora
