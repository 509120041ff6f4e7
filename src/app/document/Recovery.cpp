#include "app/document/Recovery.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/SafeFile.h"

namespace velmora {

std::string Recovery::DefaultFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::string(state) + "/velmora";
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.local/state/velmora" : std::string();
}

bool Recovery::Write(const std::string& text, const std::string& recordPath) const {
    if (!Enabled()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    // The name first: a copy is only ever found with the file it belongs to.
    return WriteFileSafely(NamePath(), recordPath) && WriteFileSafely(CopyPath(), text);
}

void Recovery::Remove() const {
    if (!Enabled()) return;
    std::error_code error;
    std::filesystem::remove(CopyPath(), error);
    std::filesystem::remove(NamePath(), error);
}

std::optional<Recovery::Found> Recovery::Find() const {
    std::error_code error;
    if (!Enabled() || !std::filesystem::is_regular_file(CopyPath(), error)) return std::nullopt;
    std::ifstream in(NamePath(), std::ios::binary);
    std::ostringstream name;
    name << in.rdbuf();
    return Found{CopyPath(), name.str()};
}

}  // namespace velmora
