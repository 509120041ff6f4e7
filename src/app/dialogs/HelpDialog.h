#pragma once

#include <string>

#include "skin/SkinDialog.h"

namespace velmora {

// The help window (Skin\Dialog\도움말.xml): the embedded browser shows the help page
// "도움말/gibo_main.htm" of the given folder.
class HelpDialog : public SkinDialog {
    Q_OBJECT
public:
    explicit HelpDialog(const std::string& folder, QWidget* parent = nullptr);

    // The address of the help page under folder, with every "\" turned into "/".
    static std::string PageAddress(const std::string& folder);

protected:
    void OnSkinBuilt() override;

private:
    std::string folder_;
};

}  // namespace velmora
