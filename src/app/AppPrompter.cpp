#include "app/AppPrompter.h"

#include "app/MainWindow.h"
#include "app/dialogs/BoardSizeDialog.h"
#include "app/dialogs/GameChooserDialog.h"
#include "app/dialogs/MessagePopup.h"
#include "app/dialogs/SaveFirstDialog.h"

namespace velmora {

int AppPrompter::Popup(const std::string& markup, int buttons) { return RunMessagePopup(markup, buttons, Owner()); }

int AppPrompter::SaveFirst(const std::string& title, const std::string& markup) {
    SaveFirstDialog dialog(title, markup, Owner());
    const int answer = dialog.ExecCentredOver(Owner());
    // Ended by the window system: nothing was agreed to, so the work stays.
    return answer == kAnswerYes || answer == kAnswerNo ? answer : kAnswerCancel;
}

int AppPrompter::ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                            const std::vector<std::vector<std::string>>& rows) {
    return RunGameChooser(caption, columns, rows, Owner());
}

int AppPrompter::ChooseBoardSize(int suggested) { return RunBoardSizeDialog(suggested, Owner()); }

QWidget* AppPrompter::Owner() const { return MainWindow::Instance(); }

}  // namespace velmora
