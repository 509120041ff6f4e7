#include "app/VersionDialog.h"

#include "app/VendorLinks.h"

namespace velmora {

VersionDialog::VersionDialog(const std::string& version, QWidget* parent)
    : SkinDialog(parent, "Skin\\Dialog\\버전정보.xml"), version_(version) {}

void VersionDialog::OnSkinBuilt() { SetShapeText(300, version_); }

void VersionDialog::onCommand(int id) {
    if (id == 200) OpenInBrowser(SupportMailUrl());
    if (id == 201) OpenInBrowser(RedirectUrl("main"));
}

}  // namespace velmora
