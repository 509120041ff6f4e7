#include "cli/LibraryCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/Cli.h"
#include "cli/RecordTools.h"
#include "game/TreeCursor.h"
#include "library/LibraryIndex.h"
#include "library/PatternSearch.h"
#include "record/RecordEncoding.h"
#include "record/SgfTree.h"

namespace velmora {

namespace {

struct LibraryOptions {
    std::string db = LibraryIndex::DefaultPath();
    std::vector<std::string> folders;
    LibraryFilter filter;
    std::string pattern;
    std::string area;
    bool anywhere = false;
    bool swap = false;
    bool json = false;
};

// "pd" → (15, 3), 0-based → false for anything else.
bool SgfPoint(std::string_view text, int size, int& x, int& y) {
    if (text.size() != 2) return false;
    x = text[0] - 'a';
    y = text[1] - 'a';
    return x >= 0 && y >= 0 && x < size && y < size;
}

// The pattern in the rectangle area ("aa:ii") of the root's set-up stones of file; MA marks
// "any" → false with why.
bool LoadPattern(const LibraryOptions& o, Pattern& pattern, std::string& why) {
    std::ifstream in(o.pattern, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
        why = "cannot read " + o.pattern;
        return false;
    }
    const SgfTreeRead read = ReadSgfTree(DecodeRecordBytes(bytes.str()));
    if (read.games == 0) {
        why = o.pattern + " holds no SGF record";
        return false;
    }
    const GameTree& tree = read.tree;
    const std::string sz(tree.FirstValue(tree.Root(), "SZ"));
    const int size = sz.empty() ? 19 : std::atoi(sz.c_str());
    if (size < 2 || size > 25 || (!sz.empty() && sz.find(':') != std::string::npos)) {
        why = o.pattern + ": the board must be square, of 2 to 25 lines";
        return false;
    }
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (o.area.size() != 5 || o.area[2] != ':' || !SgfPoint(o.area.substr(0, 2), size, x1, y1) ||
        !SgfPoint(o.area.substr(3), size, x2, y2)) {
        why = "--area needs two points of the board, as aa:ii, not " + o.area;
        return false;
    }
    Position position(size);
    PositionUndo undo;
    ApplyNode(tree, tree.Root(), position, undo);
    pattern = {size, std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1, {}};
    for (int y = pattern.top; y < pattern.top + pattern.height; ++y)
        for (int x = pattern.left; x < pattern.left + pattern.width; ++x)
            pattern.points.push_back(static_cast<PatternPoint>(position.Colour(Position::PointAt(x + 1, y + 1))));
    for (const std::string_view mark : tree.Values(tree.Root(), "MA")) {
        // A point or a rectangle "aa:cc".
        int ax = 0, ay = 0, bx = 0, by = 0;
        const bool rectangle = mark.size() == 5 && mark[2] == ':';
        if (!SgfPoint(mark.substr(0, 2), size, ax, ay)) continue;
        if (!rectangle || !SgfPoint(mark.substr(3), size, bx, by)) bx = ax, by = ay;
        for (int y = std::min(ay, by); y <= std::max(ay, by); ++y)
            for (int x = std::min(ax, bx); x <= std::max(ax, bx); ++x)
                if (x >= pattern.left && x < pattern.left + pattern.width && y >= pattern.top &&
                    y < pattern.top + pattern.height)
                    pattern.points[static_cast<std::size_t>((y - pattern.top) * pattern.width + x - pattern.left)] =
                        PatternPoint::kAny;
    }
    return true;
}

std::string Json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void PrintHit(std::ostream& out, bool json, const std::string& path, int game, int move, const std::string& next) {
    if (json)
        out << "{\"path\":" << Json(path) << ",\"game\":" << game << ",\"move\":" << move
            << ",\"next\":" << Json(next) << "}\n";
    else
        out << path << '\t' << game << '\t' << move << '\t' << next << '\n';
}

int Index(const LibraryOptions& o, LibraryIndex& index, std::ostream& err) {
    for (const std::string& folder : o.folders) {
        std::string why;
        if (!index.AddFolder(folder, why)) {
            err << "velmora-cli: " << why << "\n";
            return kCliFailed;
        }
    }
    int files = 0;
    const LibraryScanReport r = index.Scan([&](const std::string& path) {
        if (++files % 500 == 0) err << "velmora-cli: " << files << " files read, now " << path << "\n";
    });
    err << "velmora-cli: " << r.filesRead << " files read (" << r.games << " games), "
        << r.filesUnchanged << " unchanged, " << r.filesRemoved << " removed, " << r.unreadable
        << " unreadable\n";
    for (const UnreadableFile& f : index.Unreadable()) err << "velmora-cli: " << f.path << ": " << f.why << "\n";
    return kCliOk;
}

int Find(const LibraryOptions& o, LibraryIndex& index, std::ostream& out, std::ostream& err) {
    if (o.pattern.empty()) {
        for (const LibraryGame& g : index.Find(o.filter)) PrintHit(out, o.json, g.path, g.game, 0, "-");
        return kCliOk;
    }
    PatternQuery query;
    std::string why;
    if (!LoadPattern(o, query.pattern, why)) {
        err << "velmora-cli: " << why << "\n";
        return kCliFailed;
    }
    query.anywhere = o.anywhere;
    query.swapColours = o.swap;
    query.threads = 2;
    LibraryFilter filter = o.filter;
    filter.size = query.pattern.boardSize;
    const PositionStore store = index.LoadPositions(filter.size);
    std::vector<bool> allowed;
    if (filter.player.size() + filter.event.size() + filter.from.size() + filter.to.size() + filter.text.size() ||
        filter.winner) {
        allowed.assign(store.GameCount(), false);
        for (const std::int64_t id : index.FindIds(filter))
            if (const std::ptrdiff_t i = store.IndexOf(id); i >= 0) allowed[static_cast<std::size_t>(i)] = true;
    }
    const std::vector<PatternHit> hits = SearchPattern(store, query, allowed);
    std::vector<std::int64_t> ids;
    std::map<std::int64_t, const PatternHit*> byId;
    for (const PatternHit& h : hits) {
        ids.push_back(store.GameAt(h.game).id);
        byId[ids.back()] = &h;
    }
    for (const LibraryGame& g : index.Games(ids)) {
        const PatternHit& h = *byId[g.id];
        PrintHit(out, o.json, g.path, g.game, h.move, h.hasNext ? StepSgf(h.next, store.Size()) : "-");
    }
    if (!o.json) out << "\n";
    for (const PatternContinuation& c : Continuations(store, query, hits)) {
        if (o.json)
            out << "{\"continuation\":" << Json(c.move) << ",\"count\":" << c.count
                << ",\"black_wins\":" << c.blackWins << "}\n";
        else
            out << c.move << '\t' << c.count << '\t' << c.blackWins << '\n';
    }
    return kCliOk;
}

int Check(LibraryIndex& index, std::ostream& out) {
    for (const UnreadableFile& f : index.Unreadable()) out << "unreadable\t" << f.path << '\t' << f.why << '\n';
    std::map<std::int64_t, const LibraryGame*> byId;
    const std::vector<LibraryGame> games = index.Find({});
    for (const LibraryGame& g : games) byId[g.id] = &g;
    for (const LibraryGame& g : games) {
        if (!g.duplicateOf) continue;
        const LibraryGame& first = *byId[g.duplicateOf];
        out << "duplicate\t" << g.path << '\t' << g.game << '\t' << first.path << '\t' << first.game << '\n';
    }
    return kCliOk;
}

}  // namespace

std::string LibraryCommandHelp() {
    return "  velmora-cli library index [DIR…] [--db FILE]\n"
           "      adds the folders DIR to the record library and reads their records (*.sgf, *.sgfx,\n"
           "      every game of a collection) that are new or changed since the last time, forgetting\n"
           "      the ones gone; without DIR, looks at the folders added before. Progress, the counts\n"
           "      and the files that cannot be read (with why) go to standard error. The library is\n"
           "      FILE, by default $XDG_DATA_HOME/velmora/library.db\n"
           "  velmora-cli library find [--db FILE] [--player NAME] [--event TEXT] [--from DATE] [--to DATE]\n"
           "                           [--result B|W|draw] [--text \"WORDS\"]\n"
           "                           [--pattern FILE.sgf --area aa:ii [--anywhere] [--swap-colours]] [--json]\n"
           "      the games that pass every filter given: NAME a substring of either player (letter case\n"
           "      and spaces ignored), TEXT a substring of the event, DATE YYYY[-MM[-DD]] (a year or month\n"
           "      taken whole), WORDS each a substring of the comments. One hit a line:\n"
           "      path<TAB>game<TAB>move<TAB>next move (game: its place in the file, from 1). With\n"
           "      --pattern, the pattern is the rectangle --area of FILE.sgf's set-up stones (its SZ the\n"
           "      board size; MA marks a point that may hold anything), searched in its place and its\n"
           "      images under the board's symmetries, or anywhere, colours swapped if asked: each game\n"
           "      once, at the first position where it stands (move: after that many moves of the main\n"
           "      line, 0 at the start), with the move played next there (B[pd], B[] a pass, - at the end);\n"
           "      then a blank line and the continuations, most played first, in the pattern's\n"
           "      orientation and colours: move<TAB>count<TAB>black wins (B[?] a move off the pattern's\n"
           "      board). Without --pattern, move and next are 0 and -. --json prints JSON lines:\n"
           "      {\"path\",\"game\",\"move\",\"next\"}, then {\"continuation\",\"count\",\"black_wins\"}\n"
           "  velmora-cli library check [--db FILE]\n"
           "      the files that cannot be read (unreadable<TAB>path<TAB>why) and the games whose moves\n"
           "      repeat another's up to the board's symmetries (duplicate<TAB>path<TAB>game<TAB>path of\n"
           "      the first<TAB>its game)\n";
}

int RunLibraryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string sub = args.size() > 1 ? args[1] : "";
    if (sub != "index" && sub != "find" && sub != "check") return CliUsage(err, "library needs index, find or check");
    LibraryOptions o;
    std::string result;
    const auto take = [&](const std::string& a, const std::string& v) -> std::string {
        if (a == "--db") o.db = v;
        else if (a == "--player") o.filter.player = v;
        else if (a == "--event") o.filter.event = v;
        else if (a == "--from" || a == "--to") {
            if (DateKey(v).empty() || v.size() < 4) return a + " needs YYYY[-MM[-DD]], not " + v;
            (a == "--from" ? o.filter.from : o.filter.to) = v;
        } else if (a == "--text") o.filter.text = v;
        else if (a == "--result") {
            if (v != "B" && v != "W" && v != "draw") return "--result needs B, W or draw, not " + v;
            o.filter.winner = v == "B" ? GameWinner::kBlack : v == "W" ? GameWinner::kWhite : GameWinner::kDraw;
        } else if (a == "--pattern") o.pattern = v;
        else if (a == "--area") o.area = v;
        else if (a == "--anywhere") o.anywhere = true;
        else if (a == "--swap-colours") o.swap = true;
        else if (a == "--json") o.json = true;
        return {};
    };
    // The walk skips its first argument: here the subcommand's name.
    int game = 1;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    std::vector<std::string> words;
    const std::string why = sub == "index"
        ? WalkCliArguments(rest, {"--db"}, {}, words, take, game, true)
        : WalkCliArguments(rest, {"--db", "--player", "--event", "--from", "--to", "--text", "--result", "--pattern", "--area"},
                           {"--anywhere", "--swap-colours", "--json"}, words, take, game, true);
    if (!why.empty() && why != "give one FILE or more") return CliUsage(err, why);
    o.folders = words;
    if (sub != "index" && !o.folders.empty()) return CliUsage(err, "library " + sub + " takes no folder");
    if (!o.pattern.empty() && o.area.empty()) return CliUsage(err, "--pattern needs --area aa:ii");
    if (o.pattern.empty() && (!o.area.empty() || o.anywhere || o.swap))
        return CliUsage(err, "--area, --anywhere and --swap-colours go with --pattern");
    LibraryIndex index;
    std::string failed;
    if (!index.Open(o.db, failed)) {
        err << "velmora-cli: " << failed << "\n";
        return kCliFailed;
    }
    if (sub == "index") return Index(o, index, err);
    if (sub == "check") return Check(index, out);
    return Find(o, index, out, err);
}

}  // namespace velmora
