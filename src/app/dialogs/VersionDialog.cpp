#include "app/dialogs/VersionDialog.h"

#include "app/VendorLinks.h"
#include "app/dialogs/DialogIds.h"

namespace velmora {

VersionDialog::VersionDialog(const std::string& version, QWidget* parent)
    : SkinDialog(parent, "Skin\\Dialog\\버전정보.xml"), version_(version) {
    setWindowTitle(QStringLiteral("버전 정보"));
}

void VersionDialog::OnSkinBuilt() { SetShapeText(kVersionNumberShape, version_); }

void VersionDialog::onCommand(int id) {
    if (id == kVersionMailButton) OpenInBrowser(SupportMailUrl());
    if (id == kVersionSiteButton) OpenInBrowser(RedirectUrl("main"));
}

}  // namespace velmora
