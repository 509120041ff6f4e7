#include "app/AppStrings.h"

#include <utility>

#include "app/AppInfo.h"
#include "richtext/HtmlStringLoader.h"

namespace velmora {

std::string AppString(int id) {
    static const std::pair<int, const char*> kTable[] = {
        {kStringAppTitle, kAppTitle},
    };
    for (const auto& [number, text] : kTable)
        if (number == id) return text;
    return {};
}

void InstallAppStrings() {
    SetHtmlStringLoader(AppString);
}

}  // namespace velmora
