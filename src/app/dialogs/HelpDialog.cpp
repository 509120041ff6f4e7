#include "app/dialogs/HelpDialog.h"

#include <algorithm>

#include "skin/SkinControls.h"

namespace velmora {

HelpDialog::HelpDialog(const std::string& folder, QWidget* parent)
    : SkinDialog(parent, "Skin\\Dialog\\도움말.xml"), folder_(folder) {
    setWindowTitle(QStringLiteral("도움말"));
}

std::string HelpDialog::PageAddress(const std::string& folder) {
    std::string address = folder + "/도움말/gibo_main.htm";
    std::replace(address.begin(), address.end(), '\\', '/');
    return address;
}

void HelpDialog::OnSkinBuilt() {
    if (auto* web = FindControlAs<SkinWebView>(kWebCtrlId)) web->Navigate(PageAddress(folder_));
}

}  // namespace velmora
