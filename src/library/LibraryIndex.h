#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/GameDigest.h"

struct sqlite3;

namespace velmora {

class PositionStore;

// What a scan did.
struct LibraryScanReport {
    int filesRead = 0;       // new or changed since the last scan
    int filesUnchanged = 0;  // same size and time: not read again
    int filesRemoved = 0;    // gone from their folders
    int games = 0;           // games read
    int unreadable = 0;      // files of which no game could be read
    bool cancelled = false;
};

// The filters of a game search; every one given must hold. Empty texts filter nothing.
struct LibraryFilter {
    std::string player{};  // a substring of PB or PW, letters' case and spaces ignored
    std::string event{};   // a substring of EV (GN when there is none), letters' case ignored
    std::string from{};    // "YYYY", "YYYY-MM" or "YYYY-MM-DD": games on or after it
    std::string to{};      // the same: games on or before it (a year or month taken whole)
    std::optional<GameWinner> winner{};
    std::string text{};  // words, each a substring of the game's comments, all required
    int size = 0;      // board size; 0 any
};

// One game of the index, as a list shows it.
struct LibraryGame {
    std::int64_t id = 0;
    std::string path;
    int game = 1;  // its place in the file (1-based)
    std::string black, blackRank, white, whiteRank, event, round, date, dateKey, result, encoding;
    GameWinner winner = GameWinner::kUnknown;
    int size = 19;
    int moves = 0;
    std::int64_t duplicateOf = 0;  // the first game of the index with the same moves, or 0
};

// A file the scan could not read, with why.
struct UnreadableFile {
    std::string path;
    std::string why;
};

// The record library's index: an SQLite file (WAL) of the folders the user added, their
// records (path, size, modification time), every game of each with its information, the
// steps of its main line and its comments (FTS5). The index can be rebuilt from the records at
// any time. One object a thread; other threads and processes may read the file meanwhile.
class LibraryIndex {
  public:
    LibraryIndex();
    ~LibraryIndex();
    LibraryIndex(const LibraryIndex&) = delete;
    LibraryIndex& operator=(const LibraryIndex&) = delete;

    // $XDG_DATA_HOME/velmora/library.db (~/.local/share when unset).
    static std::string DefaultPath();

    // Opens the index at path, creating it (and its folder) when missing → false with why.
    bool Open(const std::string& path, std::string& why);

    // Adds a folder (kept as its absolute path; adding it again changes nothing) → false with
    // why when it is no folder.
    bool AddFolder(const std::string& folder, std::string& why);
    std::vector<std::string> Folders() const;

    // Reads the records (*.sgf, *.sgfx) under every folder added that are new or changed since
    // the last scan, and forgets the ones gone. progress receives each file's path before it is
    // read; cancel, when set, stops the scan between files (what was read is kept).
    LibraryScanReport Scan(const std::function<void(const std::string&)>& progress = {},
                           const std::atomic<bool>* cancel = nullptr);

    // The games that pass filter, by path and place in the file.
    std::vector<LibraryGame> Find(const LibraryFilter& filter) const;
    // Only their ids, ascending.
    std::vector<std::int64_t> FindIds(const LibraryFilter& filter) const;
    // Games by id (the ids the index does not hold are left out), by path and place.
    std::vector<LibraryGame> Games(const std::vector<std::int64_t>& ids) const;
    std::vector<UnreadableFile> Unreadable() const;
    // The main-line steps of every game of board size lines, for a pattern search.
    PositionStore LoadPositions(int size) const;

  private:
    bool Exec(const char* sql) const;
    std::string Where(const LibraryFilter& filter, std::vector<std::string>& binds) const;
    struct Inserts;
    void ReadFile(Inserts& inserts, std::int64_t folder, const std::string& path, std::int64_t size,
                  std::int64_t mtime, LibraryScanReport& report);
    void ForgetFile(std::int64_t file);

    sqlite3* db_ = nullptr;
};

}  // namespace velmora
