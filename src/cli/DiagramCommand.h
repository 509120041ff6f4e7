#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// The subcommand's name, as the first argument.
inline constexpr const char* kDiagramCommandName = "diagram";

// Runs "velmora-cli diagram ..." (args[0] is "diagram") → a CliStatus: 0 the picture written;
// 1 the file unreadable, the range refused (the message on err) or the picture not written;
// 2 a usage error.
int RunDiagramCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The subcommand's lines of the help text.
std::string DiagramCommandHelp();

}  // namespace velmora
