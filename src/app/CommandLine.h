#pragma once

#include <string>
#include <vector>

namespace velmora {

// What the editor was started with. The desktop hands the record's path over as one whole
// argument (spaces included), so the first argument that is not an option is the record.
struct CommandLine {
    std::string recordPath;  // empty: no record to open
    std::string screenshot;  // --screenshot FILE: render the main window to FILE and quit

    // Reads the arguments after the program's name; "--screenshot" takes the next argument.
    static CommandLine Parse(const std::vector<std::string>& args);
};

}  // namespace velmora
