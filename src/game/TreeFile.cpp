#include "game/TreeFile.h"

#include <filesystem>
#include <unistd.h>

#include "game/TreeCursor.h"
#include "record/RecordViews.h"
#include "record/SgfHandicap.h"
#include "record/SgfReader.h"

namespace velmora {

namespace {

// How the program's older writer opened every record.
constexpr std::string_view kOldHeader = "(;GM[1]FF[4]SZ[19]";

// Why the file at path could not be read, as far as its folder entry tells.
std::string UnreadableReason(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return "파일이 없습니다";
    if (std::filesystem::is_directory(status)) return "파일이 아니라 폴더입니다";
    if (access(path.c_str(), R_OK) != 0) return "읽을 권한이 없습니다";
    return "읽는 중 오류가 났습니다";
}

// The handicap the root ends with: its last HA value that is not negative; 0 without one.
int RootHandicap(const GameTree& tree) {
    int handicap = 0;
    for (std::string_view value : tree.Values(tree.Root(), "HA"))
        if (const int n = AtoI(value); n >= 0) handicap = n;
    return handicap;
}

// The position of the root: HA's table stones where they are placed, then the root's set-up.
Position StartPosition(const TreeRecord& record) {
    Position position(record.size);
    PositionUndo undo;
    for (const GridPoint& p : record.handicapStones) position.Setup(Position::PointAt(p), kBlack, undo);
    // Black set its handicap stones; white plays first.
    if (!record.handicapStones.empty()) position.SetToPlay(kWhite, undo);
    ApplyNode(record.read.tree, record.read.tree.Root(), position, undo);
    return position;
}

// Moves the rules refuse anywhere in the tree, each node once: a walk down every branch with
// one position, undone on the way back up.
int RefusedMoves(const TreeRecord& record) {
    const GameTree& tree = record.read.tree;
    Position position = StartPosition(record);
    struct Frame {
        NodeId node;
        PositionUndo undo;
    };
    std::vector<Frame> stack;
    int refused = 0;
    // The root and the stones set before it are in the position already.
    NodeId next = tree.FirstChild(tree.Root());
    while (next != kNoNode || !stack.empty()) {
        if (next != kNoNode) {
            stack.push_back({next, {}});
            if (ApplyNode(tree, next, position, stack.back().undo).kind == NodeMove::Kind::kRefused)
                ++refused;
            next = tree.FirstChild(next);
            continue;
        }
        position.Undo(stack.back().undo);
        next = tree.NextSibling(stack.back().node);
        stack.pop_back();
    }
    return refused;
}

}  // namespace

std::string UnreadableMessage(const std::string& path) {
    return "파일을 읽을 수 없습니다 (" + UnreadableReason(path) + "): " + path;
}

std::string HandicapWithoutStonesNote(int handicap) {
    return "이 파일은 접바둑(HA[" + std::to_string(handicap) +
           "])이지만 접바둑 돌(AB)이 적혀 있지 않아, 파일에 적힌 그대로 돌 없이 열었습니다.";
}

std::string NotRecordMessage(const std::string& path) {
    return path.empty() ? "SGF 기보 파일이 아닙니다." : "SGF 기보 파일이 아닙니다: " + path;
}

TreeRecord LoadTreeRecord(const std::string& path, int game) {
    std::string notice;
    const std::optional<std::string> text = ReadRecordFile(path, &notice);
    return TreeRecordFromText(path, text, std::move(notice), game);
}

TreeRecord TreeRecordFromText(const std::string& path, const std::optional<std::string>& text,
                              std::string notice, int game) {
    TreeRecord record;
    if (!text) {
        record.refusal = UnreadableMessage(path);
        return record;
    }
    record.read = ReadSgfTree(*text, game);
    const SgfTreeRead& read = record.read;
    if (read.games == 0) {
        record.refusal = NotRecordMessage(path);
        return record;
    }
    if (game < 1 || game > read.games) {
        record.refusal = "이 파일에는 기보가 " + std::to_string(read.games) + "개 있어 " +
                         std::to_string(game) + "번째 기보는 없습니다.";
        return record;
    }
    const GameTree& tree = read.tree;
    record.refusal = BoardSizeRefusal(tree);
    if (!record.refusal.empty()) return record;
    record.size = DeclaredBoardSize(tree);
    record.info = RootGameInfo(tree);
    record.mainLine = MainLineMoves(tree);

    std::vector<std::string> notes;
    const NodeId root = tree.Root();
    const int handicap = RootHandicap(tree);
    const std::vector<GridPoint> table = HandicapTable(handicap, record.size);
    if (!table.empty() && !tree.Has(root, "AB") && !tree.Has(root, "AW")) {
        const bool oldRecord = read.oldLayout || (std::string_view(*text).substr(read.begin).starts_with(kOldHeader) &&
                                                  !tree.Has(root, "CA") && !tree.Has(root, "AP"));
        if (oldRecord) {
            record.handicapStones = table;
        } else {
            notes.push_back(HandicapWithoutStonesNote(handicap));
        }
    }
    record.refusedMoves = RefusedMoves(record);
    if (record.refusedMoves > 0)
        notes.insert(notes.begin(),
                     "규칙에 맞지 않아 둘 수 없는 수가 " + std::to_string(record.refusedMoves) +
                         "개 있습니다 (이미 돌이 있는 자리, 자충수 등). 기보의 제자리에 그대로 두고, "
                         "판에는 놓지 않은 채 '둘 수 없는 수'로 보여 줍니다.");
    if (!notice.empty()) notes.push_back(notice);
    if (read.end == std::string_view::npos)
        notes.push_back(CutNotice(*text, read.unclosedValue, static_cast<int>(record.mainLine.size()) - 1));
    if (read.games > 1)
        notes.push_back("이 파일에는 기보가 " + std::to_string(read.games) + "개 들어 있습니다. " +
                        (game == 1 ? std::string("첫 ") : std::to_string(game)) +
                        "번째 기보를 열었고, 저장할 때 나머지도 그대로 함께 저장합니다.");
    for (const std::string& note : notes) record.message += (record.message.empty() ? "" : "\n") + note;
    return record;
}

Position TreeRecordPosition(const TreeRecord& record, int move) {
    const GameTree& tree = record.read.tree;
    Position position = StartPosition(record);
    if (move < 0 || move >= static_cast<int>(record.mainLine.size())) return position;
    // The root is in the start position; then each node down the main line to the group's end.
    const NodeId end = GroupEnd(tree, record.mainLine[static_cast<std::size_t>(move)]);
    for (NodeId n = tree.Root(); n != end && (n = Continuation(tree, n)) != kNoNode;) {
        PositionUndo step;
        ApplyNode(tree, n, position, step);
    }
    return position;
}

}  // namespace velmora
