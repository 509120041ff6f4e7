#include "library/LibraryIndex.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_map>
#include <sstream>

#include "library/BigramTokenizer.h"
#include "library/PatternSearch.h"
#include "record/RecordEncoding.h"
#include "record/SgfTree.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// Bumped when a table changes shape: an older index is then rebuilt from the records.
constexpr int kSchemaVersion = 1;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS folders(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS files(
    id INTEGER PRIMARY KEY, folder INTEGER NOT NULL, path TEXT NOT NULL UNIQUE,
    size INTEGER NOT NULL, mtime INTEGER NOT NULL, encoding TEXT NOT NULL DEFAULT '',
    error TEXT);
CREATE TABLE IF NOT EXISTS games(
    id INTEGER PRIMARY KEY, file INTEGER NOT NULL, game INTEGER NOT NULL,
    black TEXT, black_rank TEXT, white TEXT, white_rank TEXT, black_player INTEGER, white_player INTEGER,
    event TEXT, round TEXT, date TEXT, date_key TEXT, year INTEGER, result TEXT,
    winner INTEGER, margin REAL, komi REAL, handicap INTEGER, size INTEGER, moves INTEGER,
    duplicate_key INTEGER);
CREATE INDEX IF NOT EXISTS games_file ON games(file);
CREATE INDEX IF NOT EXISTS games_black ON games(black_player);
CREATE INDEX IF NOT EXISTS games_white ON games(white_player);
CREATE TABLE IF NOT EXISTS players(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE);
CREATE INDEX IF NOT EXISTS games_size ON games(size);
CREATE INDEX IF NOT EXISTS games_duplicate ON games(duplicate_key);
CREATE TABLE IF NOT EXISTS positions(game INTEGER PRIMARY KEY, steps BLOB NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS comments USING fts5(text, tokenize = 'bigram', detail = none);
)sql";

// A prepared statement, finalised when it goes.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s_, nullptr); }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& Bind(int i, std::int64_t v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    Statement& Bind(int i, double v) {
        sqlite3_bind_double(s_, i, v);
        return *this;
    }
    Statement& Bind(int i, const std::string& v) {
        sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& BindBlob(int i, const void* data, std::size_t bytes) {
        sqlite3_bind_blob(s_, i, data, static_cast<int>(bytes), SQLITE_STATIC);
        return *this;
    }
    bool Step() { return sqlite3_step(s_) == SQLITE_ROW; }
    void Run() {
        sqlite3_step(s_);
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    std::int64_t Int(int c) const { return sqlite3_column_int64(s_, c); }
    std::string Text(int c) const {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s_, c));
        return t ? std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(s_, c))) : std::string();
    }
    const void* Blob(int c) const { return sqlite3_column_blob(s_, c); }
    int Bytes(int c) const { return sqlite3_column_bytes(s_, c); }

  private:
    sqlite3_stmt* s_ = nullptr;
};

bool IsRecordFile(const fs::path& path) {
    const std::string ext = AsciiUpper(path.extension().string());
    return ext == ".SGF" || ext == ".SGFX";
}

std::int64_t ModificationTime(const fs::directory_entry& entry) {
    std::error_code error;
    return static_cast<std::int64_t>(entry.last_write_time(error).time_since_epoch().count());
}

// "YYYY[-MM[-DD]]" as a date key, its missing parts filled with fill ("00" or "99").
std::string BoundKey(const std::string& date, const char* fill) {
    std::string key = DateKey(date);
    if (key.empty()) return key;
    const int parts = static_cast<int>(std::count(date.begin(), date.end(), '-')) + 1;
    if (parts < 2) key.replace(5, 2, fill);
    if (parts < 3) key.replace(8, 2, fill);
    return key;
}

// The words of text, split at white space.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

}  // namespace

LibraryIndex::LibraryIndex() = default;

LibraryIndex::~LibraryIndex() { sqlite3_close(db_); }

std::string LibraryIndex::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = data && *data ? data : std::string(home ? home : ".") + "/.local/share";
    return base + "/velmora/library.db";
}

bool LibraryIndex::Exec(const char* sql) const {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool LibraryIndex::Open(const std::string& path, std::string& why) {
    std::error_code error;
    if (const fs::path folder = fs::path(path).parent_path(); !folder.empty()) fs::create_directories(folder, error);
    sqlite3_close(db_);
    db_ = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        why = "기보 색인 " + path + "을(를) 열 수 없습니다: " + sqlite3_errmsg(db_);
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    if (!RegisterBigramTokenizer(db_)) {
        why = "이 SQLite에는 본문 검색(FTS5)이 없습니다.";
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    int version = 0;
    {
        Statement s(db_, "PRAGMA user_version");
        if (s.Step()) version = static_cast<int>(s.Int(0));
    }
    // An index of another shape is dropped: the next scan rebuilds it from the records.
    if (version != kSchemaVersion && version != 0)
        Exec("DROP TABLE IF EXISTS games; DROP TABLE IF EXISTS positions; DROP TABLE IF EXISTS comments;"
             "DROP TABLE IF EXISTS files; DROP TABLE IF EXISTS folders;");
    if (!Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;") || !Exec(kSchema) ||
        !Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str())) {
        why = "기보 색인 " + path + "을(를) 만들 수 없습니다: " + sqlite3_errmsg(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    return true;
}

bool LibraryIndex::AddFolder(const std::string& folder, std::string& why) {
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(folder, error), error);
    if (!fs::is_directory(absolute, error)) {
        why = folder + "은(는) 폴더가 아닙니다.";
        return false;
    }
    Statement(db_, "INSERT OR IGNORE INTO folders(path) VALUES(?)").Bind(1, absolute.string()).Run();
    return true;
}

std::vector<std::string> LibraryIndex::Folders() const {
    std::vector<std::string> folders;
    Statement s(db_, "SELECT path FROM folders ORDER BY path");
    while (s.Step()) folders.push_back(s.Text(0));
    return folders;
}

void LibraryIndex::ForgetFile(std::int64_t file) {
    Statement(db_, "DELETE FROM comments WHERE rowid IN (SELECT id FROM games WHERE file = ?)").Bind(1, file).Run();
    Statement(db_, "DELETE FROM positions WHERE game IN (SELECT id FROM games WHERE file = ?)").Bind(1, file).Run();
    Statement(db_, "DELETE FROM games WHERE file = ?").Bind(1, file).Run();
    Statement(db_, "DELETE FROM files WHERE id = ?").Bind(1, file).Run();
}

// The statements a scan repeats, prepared once.
struct LibraryIndex::Inserts {
    explicit Inserts(sqlite3* db)
        : game(db,
               "INSERT INTO games(file, game, black, black_rank, white, white_rank, black_player, white_player,"
               " event, round, date, date_key, year, result, winner, margin, komi, handicap, size, moves,"
               " duplicate_key) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
          positions(db, "INSERT INTO positions(game, steps) VALUES(?, ?)"),
          comments(db, "INSERT INTO comments(rowid, text) VALUES(?, ?)"),
          addPlayer(db, "INSERT OR IGNORE INTO players(key) VALUES(?)"),
          findPlayer(db, "SELECT id FROM players WHERE key = ?") {}
    // The id of the player whose name compares as key, made when new.
    std::int64_t Player(const std::string& key) {
        if (const auto at = players.find(key); at != players.end()) return at->second;
        addPlayer.Bind(1, key).Run();
        findPlayer.Bind(1, key);
        const std::int64_t id = findPlayer.Step() ? findPlayer.Int(0) : 0;
        findPlayer.Run();
        return players[key] = id;
    }
    Statement game, positions, comments, addPlayer, findPlayer;
    std::unordered_map<std::string, std::int64_t> players;
};

void LibraryIndex::ReadFile(Inserts& inserts, std::int64_t folder, const std::string& path, std::int64_t size,
                            std::int64_t mtime, LibraryScanReport& report) {
    ++report.filesRead;
    std::string bytes;
    std::string why;
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream whole;
        if (in) whole << in.rdbuf();
        if (!in) why = std::string("파일을 읽을 수 없습니다: ") + std::strerror(errno);
        bytes = whole.str();
    }
    std::string encoding;
    const std::string text = why.empty() ? DecodeRecordBytes(bytes, nullptr, &encoding) : std::string();
    Statement file(db_, "INSERT INTO files(folder, path, size, mtime, encoding) VALUES(?, ?, ?, ?, ?)");
    file.Bind(1, folder).Bind(2, path).Bind(3, size).Bind(4, mtime).Bind(5, encoding).Run();
    const std::int64_t fileId = sqlite3_last_insert_rowid(db_);

    const std::vector<std::size_t> starts = why.empty() ? SgfGameStarts(text) : std::vector<std::size_t>{};
    if (why.empty() && starts.empty()) why = "SGF 기보가 없습니다.";
    int read = 0;
    GameDigest d;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        const SgfTreeRead tree = ReadSgfTree(std::string_view(text).substr(starts[i], end - starts[i]));
        std::string gameWhy;
        if (!DigestGame(tree.tree, d, gameWhy)) {
            if (why.empty()) why = starts.size() > 1 ? std::to_string(i + 1) + "번째 대국: " + gameWhy : gameWhy;
            continue;
        }
        Statement& g = inserts.game;
        g.Bind(1, fileId).Bind(2, static_cast<std::int64_t>(i + 1)).Bind(3, d.black).Bind(4, d.blackRank);
        g.Bind(5, d.white).Bind(6, d.whiteRank).Bind(7, inserts.Player(PlayerKey(d.black)));
        g.Bind(8, inserts.Player(PlayerKey(d.white)));
        g.Bind(9, d.event).Bind(10, d.round).Bind(11, d.date).Bind(12, d.dateKey);
        g.Bind(13, static_cast<std::int64_t>(d.year)).Bind(14, d.result);
        g.Bind(15, static_cast<std::int64_t>(d.winner));
        if (d.hasMargin) g.Bind(16, d.margin);
        g.Bind(17, d.komi).Bind(18, static_cast<std::int64_t>(d.handicap));
        g.Bind(19, static_cast<std::int64_t>(d.size)).Bind(20, static_cast<std::int64_t>(d.moves));
        g.Bind(21, static_cast<std::int64_t>(d.duplicateKey));
        g.Run();
        const std::int64_t gameId = sqlite3_last_insert_rowid(db_);
        inserts.positions.Bind(1, gameId).BindBlob(2, d.steps.data(), d.steps.size() * sizeof(LibraryStep)).Run();
        if (!d.comments.empty()) inserts.comments.Bind(1, gameId).Bind(2, d.comments).Run();
        ++read;
    }
    report.games += read;
    if (read == 0) ++report.unreadable;
    if (!why.empty()) Statement(db_, "UPDATE files SET error = ? WHERE id = ?").Bind(1, why).Bind(2, fileId).Run();
}

LibraryScanReport LibraryIndex::Scan(const std::function<void(const std::string&)>& progress,
                                     const std::atomic<bool>* cancel) {
    LibraryScanReport report;
    struct Known {
        std::int64_t id, size, mtime;
        bool seen = false;
    };
    Exec("BEGIN");
    Inserts inserts(db_);
    Statement folders(db_, "SELECT id, path FROM folders ORDER BY path");
    int sinceCommit = 0;
    while (folders.Step() && !report.cancelled) {
        const std::int64_t folder = folders.Int(0);
        const std::string root = folders.Text(1);
        std::map<std::string, Known> known;
        {
            Statement s(db_, "SELECT path, id, size, mtime FROM files WHERE folder = ?");
            s.Bind(1, folder);
            while (s.Step()) known[s.Text(0)] = {s.Int(1), s.Int(2), s.Int(3)};
        }
        std::vector<fs::directory_entry> entries;
        std::error_code error;
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error))
            if (it->is_regular_file(error) && IsRecordFile(it->path())) entries.push_back(*it);
        std::sort(entries.begin(), entries.end());
        for (const fs::directory_entry& entry : entries) {
            if (cancel && *cancel) {
                report.cancelled = true;
                break;
            }
            const std::string path = entry.path().string();
            const std::int64_t size = static_cast<std::int64_t>(entry.file_size(error));
            const std::int64_t mtime = ModificationTime(entry);
            const auto at = known.find(path);
            if (at != known.end()) {
                at->second.seen = true;
                if (at->second.size == size && at->second.mtime == mtime) {
                    ++report.filesUnchanged;
                    continue;
                }
                ForgetFile(at->second.id);
            }
            if (progress) progress(path);
            const int before = report.games;
            ReadFile(inserts, folder, path, size, mtime, report);
            // Commit now and then, so that a reader sees the library grow.
            if ((sinceCommit += report.games - before + 1) > 4000) {
                Exec("COMMIT; BEGIN");
                sinceCommit = 0;
            }
        }
        if (report.cancelled) break;
        for (const auto& [path, k] : known) {
            if (k.seen) continue;
            ForgetFile(k.id);
            ++report.filesRemoved;
        }
    }
    Exec("COMMIT");
    return report;
}

std::string LibraryIndex::Where(const LibraryFilter& f, std::vector<std::string>& binds) const {
    std::string where = " WHERE 1";
    const auto add = [&](const std::string& clause, const std::string& value) {
        where += " AND " + clause;
        binds.push_back(value);
    };
    if (const std::string key = PlayerKey(f.player); !key.empty())
        add("(g.black_player IN (SELECT id FROM players WHERE instr(key, ?1)) OR "
            "g.white_player IN (SELECT id FROM players WHERE instr(key, ?1)))",
            key);
    if (!f.event.empty()) add("instr(lower(g.event), lower(?))", f.event);
    if (!f.from.empty()) add("g.date_key >= ?", BoundKey(f.from, "00"));
    if (!f.to.empty()) add("g.date_key != '' AND g.date_key <= ?", BoundKey(f.to, "99"));
    if (f.winner) add("g.winner = ?", std::to_string(static_cast<int>(*f.winner)));
    if (f.size) add("g.size = ?", std::to_string(f.size));
    // Each word a substring. The index holds every two characters in a row: a word of two is
    // one token, a longer one all of its pairs. One query asks for the pairs of every word
    // (the rarest then narrows it), and the comments found are checked for each longer word
    // whole (the index keeps no positions, which halves it). A word of one character has no
    // pair: it is looked for in every comment found, or in every comment.
    std::string match;
    std::vector<std::string> whole;
    for (const std::string& word : Words(f.text)) {
        std::vector<std::string> chars;
        for (std::size_t at = 0; at < word.size(); ++at) {
            if ((word[at] & 0xC0) != 0x80) chars.emplace_back();
            if (!chars.empty()) chars.back() += word[at];
        }
        if (chars.size() != 2) whole.push_back(word);
        for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
            match += match.empty() ? "\"" : " AND \"";
            for (const char c : chars[i] + chars[i + 1]) match += c == '"' ? std::string("\"\"") : std::string(1, c);
            match += '"';
        }
    }
    std::vector<std::string> conditions;
    if (!match.empty()) {
        conditions.push_back("comments MATCH ?");
        binds.push_back(match);
    }
    for (const std::string& word : whole) {
        conditions.push_back("instr(lower(text), lower(?))");
        binds.push_back(word);
    }
    for (std::size_t i = 0; i < conditions.size(); ++i)
        where += (i == 0 ? " AND g.id IN (SELECT rowid FROM comments WHERE " : " AND ") + conditions[i];
    if (!conditions.empty()) where += ")";
    // Numbered parameters: ?1 above is the player's, each further ? takes the next number.
    return where;
}

namespace {

// Binds the filter's values in order (?1 may stand twice: it is bound once).
void BindAll(Statement& s, const std::vector<std::string>& binds) {
    for (std::size_t i = 0; i < binds.size(); ++i) s.Bind(static_cast<int>(i + 1), binds[i]);
}

constexpr const char* kGameColumns =
    "SELECT g.id, f.path, g.game, g.black, g.black_rank, g.white, g.white_rank, g.event, g.round, "
    "g.date, g.date_key, g.result, f.encoding, g.winner, g.size, g.moves, "
    "CASE WHEN g.duplicate_key = 0 THEN 0 ELSE (SELECT MIN(d.id) FROM games d "
    "WHERE d.duplicate_key = g.duplicate_key AND d.size = g.size AND d.id < g.id) END "
    "FROM games g JOIN files f ON f.id = g.file";

LibraryGame GameFrom(const Statement& s) {
    LibraryGame g;
    g.id = s.Int(0);
    g.path = s.Text(1);
    g.game = static_cast<int>(s.Int(2));
    g.black = s.Text(3);
    g.blackRank = s.Text(4);
    g.white = s.Text(5);
    g.whiteRank = s.Text(6);
    g.event = s.Text(7);
    g.round = s.Text(8);
    g.date = s.Text(9);
    g.dateKey = s.Text(10);
    g.result = s.Text(11);
    g.encoding = s.Text(12);
    g.winner = static_cast<GameWinner>(s.Int(13));
    g.size = static_cast<int>(s.Int(14));
    g.moves = static_cast<int>(s.Int(15));
    g.duplicateOf = s.Int(16);
    return g;
}

}  // namespace

std::vector<LibraryGame> LibraryIndex::Find(const LibraryFilter& filter) const {
    std::vector<std::string> binds;
    const std::string sql = kGameColumns + Where(filter, binds) + " ORDER BY f.path, g.game";
    Statement s(db_, sql.c_str());
    BindAll(s, binds);
    std::vector<LibraryGame> games;
    while (s.Step()) games.push_back(GameFrom(s));
    return games;
}

std::vector<std::int64_t> LibraryIndex::FindIds(const LibraryFilter& filter) const {
    std::vector<std::string> binds;
    const std::string sql = "SELECT g.id FROM games g" + Where(filter, binds) + " ORDER BY g.id";
    Statement s(db_, sql.c_str());
    BindAll(s, binds);
    std::vector<std::int64_t> ids;
    while (s.Step()) ids.push_back(s.Int(0));
    return ids;
}

std::vector<LibraryGame> LibraryIndex::Games(const std::vector<std::int64_t>& ids) const {
    Exec("CREATE TEMP TABLE IF NOT EXISTS wanted(id INTEGER PRIMARY KEY); DELETE FROM wanted;");
    {
        Statement insert(db_, "INSERT OR IGNORE INTO wanted(id) VALUES(?)");
        for (const std::int64_t id : ids) insert.Bind(1, id).Run();
    }
    const std::string sql = std::string(kGameColumns) + " WHERE g.id IN (SELECT id FROM wanted) ORDER BY f.path, g.game";
    Statement s(db_, sql.c_str());
    std::vector<LibraryGame> games;
    while (s.Step()) games.push_back(GameFrom(s));
    return games;
}

std::vector<UnreadableFile> LibraryIndex::Unreadable() const {
    std::vector<UnreadableFile> files;
    Statement s(db_, "SELECT path, error FROM files WHERE error IS NOT NULL ORDER BY path");
    while (s.Step()) files.push_back({s.Text(0), s.Text(1)});
    return files;
}

PositionStore LibraryIndex::LoadPositions(int size) const {
    PositionStore store(size);
    Statement s(db_, "SELECT g.id, g.winner, g.year, p.steps FROM games g JOIN positions p ON p.game = g.id "
                     "WHERE g.size = ? ORDER BY g.id");
    s.Bind(1, static_cast<std::int64_t>(size));
    std::vector<LibraryStep> steps;
    while (s.Step()) {
        steps.resize(static_cast<std::size_t>(s.Bytes(3)) / sizeof(LibraryStep));
        if (!steps.empty()) std::memcpy(steps.data(), s.Blob(3), steps.size() * sizeof(LibraryStep));
        store.Add(s.Int(0), static_cast<GameWinner>(s.Int(1)), static_cast<int>(s.Int(2)), steps.data(), steps.size());
    }
    return store;
}

}  // namespace velmora
