#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// `velmora-cli print FILE …` (args[0] is "print") → the exit status of RunCli.
int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The usage line and the help of the print command.
extern const char* const kPrintUsage;
extern const char* const kPrintHelp;

}  // namespace velmora
