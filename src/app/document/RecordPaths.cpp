#include "app/document/RecordPaths.h"

#include <algorithm>
#include <cctype>

namespace velmora {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EndsUpper(const std::string& s) {
    return !s.empty() && std::isupper(static_cast<unsigned char>(s.back()));
}

}  // namespace

RecordPaths RecordPathsFor(const std::string& path) {
    // Folders may hold ".sgf" too; only the last part of the path is looked at.
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    const std::string ext =
        dot != std::string::npos && dot > nameStart ? path.substr(dot + 1) : std::string();
    const std::string lower = Lower(ext);
    if (lower == "sgf") return {path, path + (EndsUpper(ext) ? "X" : "x"), false};
    if (lower == "sgfx") return {path.substr(0, path.size() - 1), path, true};
    return {path, path + (EndsUpper(ext) ? ".SGFX" : ".sgfx"), false};
}

}  // namespace velmora
