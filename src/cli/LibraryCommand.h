#pragma once

#include <ostream>
#include <string>
#include <vector>

// velmora-cli library: the record library from the command line (no GUI library linked).

namespace velmora {

inline constexpr const char* kLibraryCommandName = "library";

// Runs "library …" (args[0] is "library") → the exit status.
int RunLibraryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Its part of velmora-cli --help.
std::string LibraryCommandHelp();

}  // namespace velmora
