#pragma once

#include <functional>
#include <string>

namespace velmora {

// The maker's web addresses: the company's home page, the Go site (reached through its
// redirect page with a param value), its download board and the support mail address.
constexpr const char* kVendorHome = "https://velmora.example/";
constexpr const char* kGoSiteHost = "https://baduk.velmora.example";
constexpr const char* kSupportMail = "support@velmora.example";

// The param values of the player pages behind vendor links 1110 and 1120.
constexpr const char* kPlayerOfMonthParam = "player_month";
constexpr const char* kRookieParam = "player_rookie";

// The Go site's redirect page for param: host + "/user/redirect.zelone?param=" + param.
std::string RedirectUrl(const std::string& param);
// The Go site's download board of the newest version.
std::string DownloadPageUrl();
// "mailto:" + the support address.
std::string SupportMailUrl();

// Opens address in the system's browser (or mail program); on failure a plain message box
// saying that no browser (mail program) could be started, with the address. Returns whether
// the address was handed over.
bool OpenInBrowser(const std::string& address);
// The address behind a main-window command that opens the maker's pages (the links down the
// left, the logo, the help menu's home pages and download item), "" for any other command.
std::string VendorCommandUrl(int command);

// Replaces what OpenInBrowser hands the address to (tests); empty restores the desktop's.
void SetBrowserOpener(std::function<bool(const std::string&)> opener);

}  // namespace velmora
