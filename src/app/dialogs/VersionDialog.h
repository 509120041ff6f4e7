#pragma once

#include <string>

#include "skin/SkinDialog.h"

namespace velmora {

// About the program (Skin\Dialog\버전정보.xml): the version text in shape 300; button 200
// writes to the support address, 201 opens the Go site.
class VersionDialog : public SkinDialog {
    Q_OBJECT
public:
    explicit VersionDialog(const std::string& version, QWidget* parent = nullptr);

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;

private:
    std::string version_;
};

}  // namespace velmora
