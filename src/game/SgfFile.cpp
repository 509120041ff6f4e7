#include "game/SgfFile.h"

#include "game/TreeFile.h"

#include <algorithm>

#include "platform/SafeFile.h"
#include "record/BoardGrid.h"
#include "record/SgfHandicap.h"
#include "record/SgfWriter.h"

namespace velmora {

namespace {

// Appends a read's second comment for one place to the first, so neither is lost.
std::string Joined(const std::string& had, const std::string& more) {
    return had.empty() ? more : had + "\n" + more;
}

}  // namespace

SgfFile::Loaded SgfFile::Load(const std::string& path, int game) {
    std::string notice;
    const std::optional<std::string> text = ReadRecordFile(path, &notice);
    return FromText(path, text, std::move(notice), game);
}

SgfFile::Loaded SgfFile::FromText(const std::string& path, const std::optional<std::string>& text,
                                  std::string notice, int game) {
    if (!text) return Loaded{{}, UnreadableMessage(path)};
    Loaded loaded{ParseSgfText(*text, game), {}};
    loaded.document.notice = std::move(notice);
    if (loaded.document.games == 0) {
        loaded.refusal = NotRecordMessage(path);
    } else {
        loaded.refusal = loaded.document.refusal;
    }
    return loaded;
}

SgfReadResult SgfFile::OpenDocument(const SgfDocument& doc) {
    if (doc.games == 0) return SgfReadResult{false, NotRecordMessage({}), 0, 0};
    if (!doc.refusal.empty()) return SgfReadResult{false, doc.refusal, 0, doc.games};
    // Reading draws nothing: a tree with thousands of branches would otherwise repaint the
    // whole board for each one and freeze the window. The picture is rebuilt once at the end.
    BoardView* const view = board_ ? board_->View() : nullptr;
    if (board_) {
        board_->SetView(nullptr);
        board_->SetBoardSize(doc.size);
        board_->ResetBoard();
        // Set-up stones are the start position; HA's table places stones only without them.
        for (const SetupStone& stone : doc.setup) board_->PlaceSetupStone(stone);
        // HA places no stones: only the program's own older records left them to its table.
        if (doc.setup.empty() && !doc.standardForm) board_->PlaceHandicapStones(doc.handicap);
    }
    const SgfReadResult result = Replay(doc);
    if (board_) {
        board_->SetView(view);
        board_->Refresh();
        board_->JumpToMove(board_->CurrentMove());
    }
    return result;
}

SgfReadResult SgfFile::OpenText(const std::string& text) {
    return OpenDocument(ParseSgfText(text));
}

SgfReadResult SgfFile::Open(const std::string& path, int game) {
    const Loaded loaded = Load(path, game);
    if (!loaded.refusal.empty())
        return SgfReadResult{false, loaded.refusal, 0, loaded.document.games};
    return OpenDocument(loaded.document);
}

SgfReadResult SgfFile::Replay(const SgfDocument& doc) {
    info_ = GameInfo{};
    info_.earlierGames = doc.earlierGames;
    info_.laterGames = doc.laterGames;
    info_.standardForm = doc.standardForm;
    // A record that ended inside a variation must not turn the next one's moves into a diagram.
    inVariation_ = false;
    storyList_.clear();
    refusedMoves_ = 0;
    passes_ = 0;
    inRoot_ = true;
    pendingNode_ = false;
    lineKeys_.clear();
    branchParent_ = -1;
    for (const SgfEvent& event : doc.events) {
        switch (event.kind) {
            case SgfEvent::kCloseVariation:
                // A node begun before a branch has nothing more after it.
                pendingNode_ = false;
                if (inVariation_) FinishVariation();
                inVariation_ = false;
                break;
            case SgfEvent::kOpenVariation:
                inVariation_ = true;
                pendingNode_ = false;
                storyList_.clear();
                lineKeys_.emplace_back();
                branchParent_ = -1;
                if (board_) {
                    board_->EnterDiagramInput();
                    // A diagram written without text is a 참고도, whatever the one before was.
                    board_->Record().SetKindAndText(kDiagramReference, {});
                    // Where it branches among the nodes without a move after its base.
                    board_->Record().SetOpenDiagramBranchNode(NodesAfter(board_->DiagramBase()));
                }
                break;
            case SgfEvent::kProperty:
                Property(event.id, event.value);
                break;
        }
    }
    if (!inVariation_) CloseStrayDiagram();
    SgfReadResult result;
    result.refusedMoves = refusedMoves_;
    result.games = doc.games;
    result.passes = passes_;
    result.leftOutLines = doc.leftOutLines;
    std::vector<std::string> notes;
    if (refusedMoves_ > 0)
        notes.push_back("규칙에 맞지 않아 둘 수 없는 수가 " + std::to_string(refusedMoves_) +
                        "개 있습니다 (이미 돌이 있는 자리, 자충수 등). 기보의 제자리에 그대로 두고, "
                        "판에는 놓지 않은 채 '둘 수 없는 수'로 보여 줍니다.");
    if (doc.setup.empty() && doc.standardForm && !HandicapTable(doc.handicap, doc.size).empty())
        notes.push_back(HandicapWithoutStonesNote(doc.handicap));
    if (doc.leftOutLines > 0)
        notes.push_back("변화가 너무 많아 " + std::to_string(doc.leftOutLines) +
                        "개의 갈래는 참고도로 읽지 않았습니다. 이 기보를 같은 이름으로 저장하면 그 "
                        "갈래는 파일에서 빠집니다.");
    if (!doc.notice.empty()) notes.push_back(doc.notice);
    if (!doc.cutNotice.empty()) notes.push_back(doc.cutNotice);
    if (doc.games > 1)
        notes.push_back("이 파일에는 기보가 " + std::to_string(doc.games) + "개 들어 있습니다. " +
                        (doc.game == 1 ? std::string("첫 ") : std::to_string(doc.game)) +
                        "번째 기보를 열었고, 저장할 때 나머지도 그대로 함께 저장합니다.");
    for (const std::string& note : notes) result.message = Joined(result.message, note);
    return result;
}

int SgfFile::NodesAfter(int move) const {
    const GameRecord& record = board_->Record();
    const std::optional<MoveRecord> stored = move > 0 ? record.GetMainLineMove(move) : std::nullopt;
    const std::vector<KeptProperty>& kept =
        move > 0 ? (stored ? stored->properties : std::vector<KeptProperty>{}) : record.OpeningProperties();
    return static_cast<int>(std::count_if(kept.begin(), kept.end(),
                                          [](const KeptProperty& p) { return p.id == ";"; }));
}

void SgfFile::CloseStrayDiagram() {
    // Marks outside a variation open a diagram that is never stored; left open, it would hold
    // the main line's later moves and stop stepping back at its base.
    if (board_ && board_->DiagramBase() >= 0) board_->LeaveDiagram();
}

void SgfFile::Keep(const std::string& id, const std::string& value) {
    // What only the writer decides is not carried over from another program, nor what no
    // file can hold (an identifier that is not capital letters), which a save would drop.
    if (id == "FF" || id == "CA" || id == "SZ" || id == "GM" || id == "AP") return;
    const bool own = !id.empty() && id.front() == ';';  // a node, or what the record holds itself
    if (!own && (id.empty() || !std::all_of(id.begin(), id.end(), [](char c) { return c >= 'A' && c <= 'Z'; })))
        return;
    if (pendingNode_) {
        pendingNode_ = false;
        if (!inVariation_) inRoot_ = false;
        Keep(";", {});
    }
    if (!inVariation_ && inRoot_) {
        info_.otherProperties.push_back(KeptProperty{id, value});
    } else if (board_) {
        board_->Record().AddKeptProperty(board_->CurrentMove(), KeptProperty{id, value});
    }
}

void SgfFile::Property(const std::string& id, const std::string& value) {
    if (id == ";") {
        pendingNode_ = true;
        return;
    }
    if (id == kBranchPointId) {
        if (inVariation_ && board_ && board_->DiagramBase() >= 0) {
            branchParent_ = AtoI(value);
            branchMove_ = board_->CurrentMove() - board_->DiagramBase();
        }
        return;
    }
    if (ApplyGameInfoProperty(info_, id, value)) return;
    if (!board_) return Keep(id, value);
    BoardLogic& board = *board_;
    const int current = board.CurrentMove();
    int x = 0;
    int y = 0;
    SgfPointOf(value, x, y);
    // Marks and set-up stones outside a variation belong to the main-line move they follow.
    const auto mark = [&](const NaviStone& stone) {
        if (inVariation_) {
            board.AddNaviStone(stone);
        } else {
            board.Record().AddMainLineMark(current, stone);
        }
    };
    if (id == "HI") {
        const int n = AtoI(value);
        if (inVariation_) {
            storyList_.emplace_back(n, current);
        } else if (const int at = board.DisplayedMove(); at > 0 && sink_) {
            sink_->AddStory(StoryPoint{at, at, {}, n});
        }
    } else if (id == "SQ" || id == "CR" || id == "TR" || id == "MA") {
        const int kind = id == "SQ"   ? kNaviSquare
                         : id == "CR" ? kNaviCircle
                         : id == "TR" ? kNaviTriangle
                                      : kNaviCross;
        mark(NaviStone{x, y, -1, kind, {}});
    } else if (id == "LB") {
        const std::size_t colon = value.find(':');
        mark(NaviStone{x, y, -1, kNaviLabelCapital,
                       colon == std::string::npos ? std::string() : value.substr(colon + 1)});
    } else if (id == "AB" || id == "AW" || id == "AE") {
        const int colour = id == "AB" ? kBlack : id == "AW" ? kWhite : kEmpty;
        // A diagram made here has its stones as marks with a stone, at its start and on its
        // moves alike.
        const bool asMark = inVariation_ && (current <= board.DiagramBase() ||
                                             !board.Record().CurrentDiagram().asRead);
        if (!inVariation_ && current == 0 && board.Record().MainLineLength() == 0) {
            // Before any move stands (the file's first moves may have been refused), set-up
            // stones are the start position, as the root's are and as a save writes them.
            if (colour == kEmpty) return Keep(id, value);
            board.PlaceSetupStone(SetupStone{x + 1, y + 1, colour});
        } else if (asMark || current == 0) {
            // A diagram's start shows its set-up stones as its marks do; AE is kept as read.
            if (colour == kEmpty) return Keep(id, value);
            mark(NaviStone{x, y, colour, kNaviStoneOnly, {}});
        } else {
            // After a move, set-up stones are the move's own: kept in their node as read, and
            // put on the board whenever the move is stepped onto. AB and AW come as marks do,
            // a point a value in the board's index; AE as it stands in the file.
            const int size = board.BoardSize();
            const bool index = colour != kEmpty && x >= 0 && x < size && y >= 0 && y < size;
            const KeptProperty setup{
                id, index ? std::string{SgfLetter(x + 1, size), SgfLetter(y + 1, size)} : value};
            Keep(setup.id, setup.value);
            board.ApplySetupProperty(setup);
        }
    } else if (id == "C") {
        if (inVariation_) {
            const std::size_t dash = value.find('-');
            if (dash != std::string::npos)
                board.Record().SetKindWordAndText(value.substr(0, dash), value.substr(dash + 1));
        } else {
            // Move 0 is the opening commentary. A second comment for the same move (a node
            // without a stone, a pass) is added to the first.
            GameRecord& record = board.Record();
            record.SetCommentary(current, Joined(record.GetCommentary(current), value));
        }
    } else if (id == "B" || id == "W") {
        pendingNode_ = false;
        inRoot_ = false;
        board.SetColourToPlay(id == "B" ? kBlack : kWhite);
        if (!inVariation_) CloseStrayDiagram();
        // A pass is a move without a stone; a move the rules refuse keeps its place all the
        // same, and a value the letters cannot give back is kept as it was read.
        const bool pass = IsPassValue(value, board.BoardSize());
        if (pass) x = y = 0;
        const std::string letters{SgfLetter(x, board.BoardSize()), SgfLetter(y, board.BoardSize())};
        const int result = board.ReadMove(x, y, inVariation_, pass || value == letters ? std::string() : value);
        if (pass) {
            ++passes_;
        } else if (!IsLegalMove(result)) {
            ++refusedMoves_;
        }
    } else {
        Keep(id, value);
    }
}

void SgfFile::FinishVariation() {
    if (!board_) return;
    // A line read before this one, under the key it was stored with, is the one it branches
    // from.
    const int line = static_cast<int>(lineKeys_.size()) - 1;
    if (branchParent_ >= 0 && branchParent_ < line && branchMove_ >= 0 &&
        !lineKeys_[branchParent_].empty())
        board_->Record().SetOpenDiagramBranch(lineKeys_[branchParent_], branchMove_);
    const ReferenceDiagram open = board_->Record().CurrentDiagram();
    DiagramKey name = board_->FinishDiagram();
    if (line >= 0 && name != "same") lineKeys_[line] = name;
    if (storyList_.empty() || !sink_) return;
    if (name == "same") {
        // The stories belong to the equal diagram stored before.
        name.clear();
        for (const auto& [key, stored] : board_->Record().StoredDiagramMap())
            if (DiagramsEqual(stored, open)) name = key;
    }
    if (name.empty() || !board_->OpenStoredDiagram(name)) return;
    const int base = board_->DiagramBase();
    for (const auto& [n, move] : storyList_)
        sink_->AddStory(StoryPoint{std::min(base, move), move, name, n});
    board_->LeaveDiagram();
}

std::string SgfFile::PlainText() const {
    return SgfRecordText(info_, board_ ? &board_->Record() : nullptr, nullptr);
}

std::string SgfFile::ExtendedText(StoryQuery& stories) const {
    return SgfRecordText(info_, board_ ? &board_->Record() : nullptr, &stories);
}

bool SgfFile::WritePlainRecord(const std::string& path, std::string* why) const {
    return WriteFileSafely(path, PlainText(), why);
}

bool SgfFile::WriteExtendedRecord(const std::string& path, StoryQuery& stories, std::string* why) const {
    return WriteFileSafely(path, ExtendedText(stories), why);
}

}  // namespace velmora
