#include "app/AppPrompter.h"

#include "app/MainWindow.h"
#include "app/dialogs/MessagePopup.h"

namespace velmora {

int AppPrompter::Popup(const std::string& markup, int buttons) { return RunMessagePopup(markup, buttons, Owner()); }

QWidget* AppPrompter::Owner() const { return MainWindow::Instance(); }

}  // namespace velmora
