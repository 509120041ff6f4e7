#pragma once

#include "app/AppInfo.h"
#include "platform/DialogPrompter.h"

namespace velmora {

// The editor's prompter: Qt's dialogs over the main window, the pop-up as the skinned
// MessagePopup, the save-first question as the skinned SaveFirstDialog, a choice as the skinned
// GameChooserDialog and a board size as the skinned BoardSizeDialog. Installs itself while it
// lives.
class AppPrompter : public DialogPrompter {
public:
    AppPrompter() : DialogPrompter(kAppTitle) { Install(this); }
    ~AppPrompter() override { Install(nullptr); }

    // The skinned MessagePopup over the main window.
    int Popup(const std::string& markup, int buttons) override;
    // The skinned SaveFirstDialog over the main window.
    int SaveFirst(const std::string& title, const std::string& markup) override;
    // The skinned GameChooserDialog over the main window.
    int ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows) override;
    // The skinned BoardSizeDialog over the main window.
    int ChooseBoardSize(int suggested) override;

protected:
    QWidget* Owner() const override;
};

}  // namespace velmora
