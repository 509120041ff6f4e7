#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/LibraryCommand.h"
#include "cli/RecordTools.h"

namespace {

// Where velmora-cli-draw is: beside this program in the build tree, in ../lib/velmora once
// installed (it is no command of its own, so it stays out of the bin folder).
std::string DrawerPath(const std::filesystem::path& folder) {
    const std::filesystem::path beside = folder / "velmora-cli-draw";
    const std::filesystem::path installed = folder.parent_path() / "lib" / "velmora" / "velmora-cli-draw";
    std::error_code error;
    return (std::filesystem::exists(beside, error) || !std::filesystem::exists(installed, error)
                ? beside
                : installed)
        .string();
}

// Replaces this process by velmora-cli-draw, with the same arguments → returns only when it
// cannot be started.
int HandOverToDrawing(char** argv) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string drawer = DrawerPath(self.parent_path());
    if (!error) {
        argv[0] = const_cast<char*>(drawer.c_str());
        execv(drawer.c_str(), argv);
    }
    std::cerr << "velmora-cli: cannot start " << drawer << ": "
              << (error ? error.message() : std::strerror(errno)) << "\n";
    return velmora::kCliFailed;
}

}  // namespace

// The record tools and the library run here without any GUI library, so they start at once; everything else
// (drawing, printing, the help) hands over to velmora-cli-draw.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (velmora::IsRecordTool(args)) return velmora::RunRecordTool(args, std::cout, std::cerr);
    if (!args.empty() && args[0] == velmora::kLibraryCommandName && !velmora::AsksForHelp(args))
        return velmora::RunLibraryCommand(args, std::cout, std::cerr);
    return HandOverToDrawing(argv);
}
