#include "app/CommandLine.h"

namespace velmora {

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine c;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshot") {
            if (i + 1 < args.size()) c.screenshot = args[++i];
        } else if (c.recordPath.empty()) {
            c.recordPath = args[i];
        }
    }
    return c;
}

}  // namespace velmora
