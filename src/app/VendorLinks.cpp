#include "app/VendorLinks.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/AppInfo.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

std::function<bool(const std::string&)>& Opener() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

}  // namespace

std::string RedirectUrl(const std::string& param) {
    return std::string(kGoSiteHost) + "/user/redirect.zelone?param=" + param;
}

std::string DownloadPageUrl() { return std::string(kGoSiteHost) + "/board/?menu=11"; }

std::string SupportMailUrl() { return std::string("mailto:") + kSupportMail; }

bool OpenInBrowser(const std::string& address) {
    const bool ok = Opener() ? Opener()(address)
                             : QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
    if (!ok) Prompter::Current().MessageBox("HyperLink Error", kAppTitle, kButtonsOk);
    return ok;
}

void SetBrowserOpener(std::function<bool(const std::string&)> opener) { Opener() = std::move(opener); }

}  // namespace velmora
