#pragma once

#include <string>

namespace velmora {

// The two files a save writes: the plain record and the extended one that carries the edit
// stories. Only the file name's extension counts, matched without regard to case and keeping
// it: a.sgf → a.sgfx, A.SGF → A.SGFX, a.Sgf → a.Sgfx; a chosen a.sgfx keeps the extended record
// and puts the plain one in a.sgf; any other name gets ".sgfx" appended for the extended one.
struct RecordPaths {
    std::string plain;
    std::string extended;
    bool extendedChosen = false;  // the chosen path is the extended one (.sgfx)
};

// The plain and extended paths for a path chosen or opened by the user.
RecordPaths RecordPathsFor(const std::string& path);

}  // namespace velmora
