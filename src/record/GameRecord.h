#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "record/BoardGrid.h"
#include "record/MoveRecord.h"
#include "record/ReferenceDiagram.h"

namespace velmora {

// A stone of the start position, placed before move 1: handicap stones, a free placement, the
// set-up of a problem. The point is 1-based like a move's.
struct SetupStone {
    int x = 0;
    int y = 0;
    int colour = 0;  // 1 white, 2 black
    bool operator==(const SetupStone&) const = default;
};

// The move part of one record, owned by a board control: the main line, at most one open
// reference diagram and the stored diagrams. Positions are never stored; the board control
// rebuilds them by replaying moves through its RulesEngine.
//
// Operations taking a current move a work on offset b = a − base while a diagram is open,
// b = a otherwise.
class GameRecord {
public:
    // The board's number of lines (2..25); kDefaultBoardSize until set. ClearAll keeps it.
    int BoardSize() const { return boardSize_; }
    void SetBoardSize(int n) {
        if (IsBoardSize(n)) boardSize_ = n;
    }

    // --- main line ---

    // Stores a copy of move under number n, replacing any move n.
    void AddMainLineMove(int n, const MoveRecord& move);
    // A copy of main-line move n, or nullopt when none is stored.
    std::optional<MoveRecord> GetMainLineMove(int n) const;
    // Number of stored main-line moves.
    int MainLineLength() const { return static_cast<int>(mainLine_.size()); }
    // Replaces the commentary of move n (n = 0: the opening commentary); nothing when no move n
    // is stored.
    void SetCommentary(int n, const std::string& text);
    // The commentary of move n (n = 0: the opening commentary); empty when no move n is stored.
    std::string GetCommentary(int n) const;
    // The commentary of the position before move 1 (the root's C).
    const std::string& OpeningCommentary() const { return opening_; }
    void SetOpeningCommentary(const std::string& text) { opening_ = text; }

    // --- what other programs' records put on the main line ---

    // Adds a mark (0-based point, as a diagram's) to main-line move n, n = 0 before move 1,
    // replacing one of its class (MarkClass) at its point; nothing when no move n is stored.
    void AddMainLineMark(int n, const NaviStone& stone);
    // The marks of main-line move n (n = 0: before move 1); empty when none or no move n.
    const std::vector<NaviStone>& MainLineMarks(int n) const;
    // Appends a kept property to current move a: diagram move b while a diagram is open (its
    // start at b = 0, nothing at b < 0), else main-line move a (a = 0: the nodes between the
    // root and move 1); nothing when that move is not stored. kMoveCommentId adds its value to
    // that move's commentary instead, kKeptCommentId keeps a C, and kBranchAsReadId marks the
    // open diagram asRead.
    void AddKeptProperty(int a, const KeptProperty& property);
    // The kept properties before move 1, written after the root node.
    const std::vector<KeptProperty>& OpeningProperties() const { return openingProperties_; }
    // The kept properties of the node shown at current move a (with the nodes without a move
    // that follow it), chosen as NaviStones chooses marks; empty when that move is not stored.
    const std::vector<KeptProperty>& NodeProperties(int a) const;

    // --- the start position ---

    // The stones on the board before move 1, in placing order.
    const std::vector<SetupStone>& StartPosition() const { return start_; }
    // Puts stone into the start position, replacing one at its point; colour 0 removes it.
    void SetStartStone(const SetupStone& stone);
    // Removes every main-line move numbered n or higher and every stored diagram based at n or later.
    void CutMainLine(int n);
    // Empties the main line, the opening commentary, marks and kept properties and the start
    // position, closes the open
    // diagram (its kind becomes −1), erases stored diagrams.
    void ClearAll();
    // The main line, read in move order (used by the SGF writer).
    const MainLine& MainLineMoves() const { return mainLine_; }

    // --- the open diagram ---

    // Opens an empty diagram after move base: key, moves, text and start list emptied; kind kept.
    void OpenNewDiagram(int base);
    // Closes the open diagram (OpenNewDiagram(−1)); whatever was not stored is lost.
    void CloseDiagram() { OpenNewDiagram(-1); }
    // Base of the open diagram, −1 when none is open.
    int OpenDiagramBase() const { return open_.base; }
    // Key of the open diagram; empty unless it was opened from a stored one.
    const DiagramKey& OpenDiagramKey() const { return open_.key; }
    // The open diagram (text, kind, moves, start list) for the panes to read.
    const OpenDiagram& CurrentDiagram() const { return open_; }
    // Stores a copy of move under diagram move number n, replacing any move n.
    void AddDiagramMove(int n, const MoveRecord& move);
    // Replaces the own comment of diagram move n of the open diagram, and of the stored diagram
    // it was opened from (only the comment: its other edits wait to be stored) → false when
    // the open diagram has no move n.
    bool SetDiagramMoveText(int n, const std::string& text);
    // A copy of diagram move n, or nullopt when none is stored.
    std::optional<MoveRecord> GetDiagramMove(int n) const;
    // Removes every diagram move numbered n or higher (a new move played inside the diagram).
    void CutDiagramMoves(int n);
    // Sets kind and text; kinds outside 0..4 become 0.
    void SetKindAndText(int kind, const std::string& text);
    // Sets the kind named in word (KindFromWord) and the text.
    void SetKindWordAndText(const std::string& word, const std::string& text);
    // The open diagram's comment (DiagramComment of its kind and text).
    std::string DisplayText() const;

    // --- marks (NaviStones) of the open diagram ---

    // The marks shown at current move a: main-line move a's when no diagram is open or b < 0,
    // the start list when b = 0, otherwise those of diagram move b (none when not stored).
    std::optional<std::vector<NaviStone>> NaviStones(int a) const;
    // Number of marks of move a in the open diagram; 0 when it has no list.
    int NaviStoneCount(int a) const;
    // True when move a's list in the open diagram holds a mark at (x, y).
    bool HasNaviStoneAt(int a, int x, int y) const;
    // Removes the first mark at (x, y): from the start list when the diagram has no moves or
    // b = 0, else from diagram move b. → true when one was removed.
    bool RemoveNaviStone(int a, int x, int y);
    // The board's placement of a mark at move a; opens a diagram at a when none is open or a is
    // before its base. Replaces a mark of its class (MarkClass) at the same point; marks of other
    // classes stay. → false when diagram move b is absent.
    bool SetNaviStone(int a, const NaviStone& stone);
    // The reader's placement: as SetNaviStone on the start list (when no moves or b = 0) and on
    // diagram move b when stored; a mark without stone keeps the stone of the entry it replaces.
    void AddNaviStone(int a, const NaviStone& stone);

    // --- stored diagrams ---

    // Stores a copy of the open diagram under a new key and returns the key; returns "same" and
    // stores nothing when an equal diagram (DiagramsEqual) is stored, "" when none is open.
    // The open diagram stays open with its own key.
    std::string StoreAsNew();
    // Makes the open diagram a copy of the stored one under key, with that key → false if absent.
    bool OpenStoredDiagram(const DiagramKey& key);
    // Opens a copy of source under key, as if it were stored here (preview boards copy a
    // diagram of another record this way).
    void OpenDiagramCopy(const DiagramKey& key, const ReferenceDiagram& source);
    // Erases the stored diagram under key, if any.
    void EraseStoredDiagram(const DiagramKey& key);
    // Replaces the stored diagram under key with a copy of diagram → false (nothing stored)
    // when no diagram is stored under key.
    bool ReplaceStoredDiagram(const DiagramKey& key, const ReferenceDiagram& diagram);
    // Copies of the stored diagrams based at move base that branch from no other stored
    // diagram there, in key order.
    std::vector<std::pair<DiagramKey, ReferenceDiagram>> DiagramsOfBase(int base) const;
    // Copies of the stored diagrams that branch from the stored diagram parent after its move
    // number move, in key order.
    std::vector<std::pair<DiagramKey, ReferenceDiagram>> DiagramsBranchingAt(const DiagramKey& parent,
                                                                           int move) const;
    // DiagramsBranchingAt the open diagram (stored) at current move a; none before its base
    // or when no stored diagram is open.
    std::vector<std::pair<DiagramKey, ReferenceDiagram>> NestedAtCurrentMove(int a) const {
        return open_.base >= 0 && a >= open_.base ? DiagramsBranchingAt(open_.key, a - open_.base)
                                                  : std::vector<std::pair<DiagramKey, ReferenceDiagram>>{};
    }
    // Whether diagram branches from a stored diagram of its own base.
    bool IsNested(const ReferenceDiagram& diagram) const;
    // Makes the open diagram a branch of the stored diagram parent after its move number move
    // (the reader's, for a line that branches from another).
    void SetOpenDiagramBranch(const DiagramKey& parent, int move);
    // The open diagram branches after node nodes without a move of its base (see branchNode).
    void SetOpenDiagramBranchNode(int nodes) { open_.branchNode = nodes; }
    // All stored diagrams, in key order.
    const StoredDiagrams& StoredDiagramMap() const { return stored_; }

private:
    // Drops diagram's branch when its parent is not stored at its base any more, or the two no
    // longer share the moves up to the branch, or nothing follows it.
    void KeepBranchIfShared(ReferenceDiagram& diagram) const;
    int Offset(int a) const { return open_.base >= 0 ? a - open_.base : a; }
    const std::vector<NaviStone>* ListOf(int a) const;
    // The list a mark edit at move a changes: the start list while the diagram has no moves or
    // b = 0, else diagram move b's; null when that move is not stored.
    std::vector<NaviStone>* EditedList(int a);

    MainLine mainLine_;
    std::string opening_;
    std::vector<NaviStone> openingMarks_;
    std::vector<KeptProperty> openingProperties_;
    std::vector<SetupStone> start_;
    OpenDiagram open_;
    StoredDiagrams stored_;
    // The stored diagrams' keys by DiagramHash, for StoreAsNew; rebuilt after any other change.
    std::unordered_multimap<std::size_t, DiagramKey> keysByHash_;
    bool keysByHashValid_ = false;
    int boardSize_ = kDefaultBoardSize;
};

}  // namespace velmora
