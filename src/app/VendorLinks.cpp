#include "app/VendorLinks.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/AppInfo.h"
#include "app/CommandIds.h"
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
    if (!ok) {
        const bool mail = address.starts_with("mailto:");
        Prompter::Current().MessageBox(
            std::string(mail ? "메일을 쓰지 못했습니다: 메일 프로그램을 열 수 없습니다.\n"
                             : "웹 페이지를 열지 못했습니다: 웹 브라우저를 열 수 없습니다.\n") +
                "이 컴퓨터에 기본 " + (mail ? "메일 프로그램" : "웹 브라우저") + "가 정해져 있는지 확인해 주세요.\n" +
                (mail ? address.substr(7) : address),
            kAppTitle, kButtonsOk);
    }
    return ok;
}

void SetBrowserOpener(std::function<bool(const std::string&)> opener) { Opener() = std::move(opener); }

std::string VendorCommandUrl(int command) {
    switch (command) {
        case kLinkMain:
        case kCmdLogo:
        case kMenuGoSiteHomePage: return RedirectUrl("main");
        case kLinkPlayerOfMonth: return RedirectUrl(kPlayerOfMonthParam);
        case kLinkRookie: return RedirectUrl(kRookieParam);
        case kLinkColumn: return RedirectUrl("column");
        case kLinkLecture: return RedirectUrl("lecture");
        case kMenuVendorHomePage: return kVendorHome;
        case kMenuDownload: return DownloadPageUrl();
        default: return {};
    }
}

}  // namespace velmora
