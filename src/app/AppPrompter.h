#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace velmora {

// The editor's prompter: plain message boxes and file dialogs from Qt, the pop-up as the
// skinned MessagePopup over the main window. Installs itself while it lives.
class AppPrompter : public Prompter {
public:
    AppPrompter() { Install(this); }
    ~AppPrompter() override { Install(nullptr); }

    int MessageBox(const std::string& text, const std::string& caption, int buttons) override;
    int Popup(const std::string& markup, int buttons) override;
    std::string OpenFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    std::string SaveFileName(const std::string& caption, const std::string& suggested,
                             const std::string& filter) override;
};

}  // namespace velmora
