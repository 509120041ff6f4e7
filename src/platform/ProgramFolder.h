#pragma once

#include <string>

namespace velmora {

// The program folder: where Resource.bk2, the help pages 도움말 and the sample records are.
// In a build tree that is the executable's own folder; an installed program (executable in
// PREFIX/bin) keeps them in PREFIX/share/velmora or PREFIX/lib/velmora. Found from the
// executable's location, never from the working directory.
std::string ProgramFolder();

// The program folder for an executable in executableDir: the first of executableDir,
// executableDir/../share/velmora, executableDir/../../share/velmora (from PREFIX/lib/velmora)
// and executableDir/../lib/velmora that holds Resource.bk2;
// executableDir itself when none does.
std::string ProgramFolderFor(const std::string& executableDir);

}  // namespace velmora
