#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

// velmora-cli's drawing half, which links the GUI libraries: every subcommand runs here.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::RunCli(args, std::cout, std::cerr);
}
