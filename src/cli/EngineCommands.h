#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// `velmora-cli review FILE -o OUT.sgf …` and `velmora-cli score FILE …` (args[0] is the
// command's name) → the exit status of RunCli; progress and messages on err.
int RunReviewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunScoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The two commands' lines of the help text.
std::string EngineCommandsHelp();

}  // namespace velmora
