#pragma once

#include <string>
#include <vector>

namespace velmora {

// The MIME type of Go records and the desktop entry that opens them with the editor.
constexpr const char* kSgfMimeType = "application/x-go-sgf";
constexpr const char* kDesktopEntryName = "velmora.desktop";

// program quoted for a desktop entry's Exec key: inside double quotes, with ", `, $ and a
// backslash escaped by a backslash, then every backslash doubled again as the string escapes.
std::string DesktopExecQuote(const std::string& program);

// The desktop entry that opens records with program (the editor's executable).
std::string DesktopEntryText(const std::string& program);

// mimeapps.list text with the editor as the default handler of Go records where none is chosen:
// the key in [Default Applications] is added (or an empty one filled); a handler already chosen
// there, the editor or another program, leaves the text as it is.
std::string WithDefaultHandler(const std::string& mimeappsText);

// Writes the desktop entry under dataHome/applications, unless one of systemDataDirs holds the
// installed editor's entry, and makes the entry the default handler in configHome/mimeapps.list
// where none is chosen → false when a file could not be written (callers ignore it).
bool RegisterFileAssociation(const std::string& program, const std::string& dataHome,
                             const std::string& configHome, const std::vector<std::string>& systemDataDirs = {});

}  // namespace velmora
