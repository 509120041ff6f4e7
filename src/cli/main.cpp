#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RecordTools.h"

namespace {

// Replaces this process by velmora-cli-draw beside it, with the same arguments → returns only
// when it cannot be started.
int HandOverToDrawing(char** argv) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string drawer = (self.parent_path() / "velmora-cli-draw").string();
    if (!error) {
        argv[0] = const_cast<char*>(drawer.c_str());
        execv(drawer.c_str(), argv);
    }
    std::cerr << "velmora-cli: cannot start " << drawer << ": "
              << (error ? error.message() : std::strerror(errno)) << "\n";
    return velmora::kCliFailed;
}

}  // namespace

// The record tools run here without any GUI library, so they start at once; everything else
// (drawing, printing, the help) hands over to velmora-cli-draw.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (velmora::IsRecordTool(args)) return velmora::RunRecordTool(args, std::cout, std::cerr);
    return HandOverToDrawing(argv);
}
