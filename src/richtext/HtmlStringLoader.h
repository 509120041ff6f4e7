#pragma once

#include <functional>
#include <string>

namespace velmora {

// The text of the program's string resource `idres` (UTF-8); empty when there is none.
using HtmlStringLoader = std::function<std::string(int idres)>;

// Installs the string table the `string` tag reads (empty to remove); the program installs
// its own at start-up, so this library needs nothing of the program's.
void SetHtmlStringLoader(HtmlStringLoader loader);
// The table installed by SetHtmlStringLoader (may be empty).
const HtmlStringLoader& InstalledHtmlStringLoader();

}  // namespace velmora
