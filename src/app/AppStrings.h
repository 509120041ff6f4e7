#pragma once

#include <string>

namespace velmora {

// String resource numbers of the program's own table.
constexpr int kStringAppTitle = 57344;

// The program's string resource `id` (UTF-8); empty for a number the table does not hold.
std::string AppString(int id);

// Makes the table the one the rich-text `string` tag reads.
void InstallAppStrings();

}  // namespace velmora
