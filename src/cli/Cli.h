#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// Exit statuses of velmora-cli.
enum CliStatus : int { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

// Runs velmora-cli on args (without the program's name), writing results to out and messages to
// err → the exit status: 0 done, 1 the file could not be read, was refused or could not be
// written (one line on err), 2 a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The help text: every subcommand and option.
std::string CliHelp();

}  // namespace velmora
