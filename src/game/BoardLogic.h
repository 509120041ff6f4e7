#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "game/BoardMessages.h"
#include "game/BoardState.h"
#include "record/GameRecord.h"
#include "record/RulesEngine.h"

namespace velmora {

// The state of one board and its navigation, without any window: the N×N PointCells, the
// mode, the current move, the display switches, the marks and hints, and the RulesEngine and
// GameRecord it owns for its whole life. The board widget draws from the const accessors and
// is told of changes through a BoardView; notifications go to BoardObservers.
//
// Points: moves use 1-based (column, row) like the RulesEngine; PointCells, LastMovePoint,
// HoverPoint, handicap stones and NaviStones use 0-based (column, row); HintPoints are 1-based.
//
// Replaying a record (the SGF reader, the split dialog): ResetBoard; PlaceSetupStone for
// each stone of the start position; for each main-line move SetColourToPlay then ReplayMoveQuiet; for a
// variation EnterDiagramInput, then SetColourToPlay + PlayDiagramMove(c, r, false) per move
// and AddNaviStone per mark (or set-up stone at the diagram's start), then FinishDiagram; set-up
// stones after a move go to ApplySetupProperty, besides the move's kept properties that bring
// them back on every later step onto the move; finally Refresh (and JumpToMove to move
// anywhere else).
class BoardLogic {
public:
    // An empty board in mode 0, black to play (the rules reset with the preserve flag).
    BoardLogic();
    BoardLogic(const BoardLogic&) = delete;
    BoardLogic& operator=(const BoardLogic&) = delete;

    // --- wiring ---

    // Installs the drawing side (not owned); nullptr for none.
    void SetView(BoardView* view) { view_ = view; }
    BoardView* View() const { return view_; }
    // Where UM_REFRESH_PANE and UM_STORY_QUERY go (the main window); not owned, may be null.
    void SetMainWindow(BoardObserver* observer) { mainWindow_ = observer; }
    // Where UM_BOARD_CLICKED goes (the parent window); not owned, may be null.
    void SetParentObserver(BoardObserver* observer) { parent_ = observer; }
    // Sends message to its receiver (parent for UM_BOARD_CLICKED, else the main window)
    // → the receiver's answer, 0 when there is none.
    int Notify(int message, int wparam = 0, int lparam = 0);

    // --- navigation ---

    // Takes back the current move, restoring what it captured → 1, or 0 at move 0, at the base of
    // an open diagram (except in modes 1 and 8) and when the move's record is missing.
    int StepBack();
    // Replays move current+1 of the open line → 1, or 0 when there is none (or it is refused).
    int StepForward();
    // Steps one move at a time towards n until there or refused, reloads the marks, recomputes
    // the hints and sends UM_REFRESH_PANE → the main window's answer; 0 (nothing done) if n < 0.
    int JumpToMove(int n);
    // In modes 0, 2, 3 with a diagram open: steps until the current move is the diagram's base.
    void ReturnToBase();
    // True when the open line holds a move after the current one (what StepForward would play).
    bool HasNextMove() const;
    // Changes the mode (leaving an open diagram unless m is 2, 3 or 8), recomputes the hints,
    // reloads the marks and refreshes → 1, or 0 (and nothing happens) when m is the mode already.
    int SetBoardMode(int mode);

    // --- moves and position ---

    // The board's number of lines (the record's and the rules' size).
    int BoardSize() const { return rules_.BoardSize(); }
    // Takes a board of n lines (2..25; others ignored); a change of size empties the board and
    // the record (ResetBoard).
    void SetBoardSize(int n);

    // Plays (column, row), 1-based, for ColourToPlay as main-line move current+1; stores it in
    // the main line unless replaying → 1, or 0 (nothing changed) when the rules refuse it.
    int PlayMainLineMove(int column, int row, bool replaying);
    // Plays (column, row) as the next move of the open diagram (opened at the current move when
    // none is), in ForcedColour when set; stores it unless replaying → 1, or 0 when refused.
    int PlayDiagramMove(int column, int row, bool replaying);
    // Plays a pass as the next move of the main line (diagram false) or of the open diagram
    // (opened at the current move when none is), in NextStoneColour, stored and numbered as a
    // pass read from a file is: no stone, the last-move mark goes, a ko is lifted. Refreshes.
    void PlayPass(bool diagram);
    // As PlayMainLineMove storing the move, but no point is shown: the caller refreshes when done.
    int ReplayMoveQuiet(int column, int row);
    // The reader's move of the main line (diagram false) or of the open diagram (opened at the
    // current move when none is), in ColourToPlay, stored: (0, 0) with no valueAsRead is a pass,
    // which steps without a stone; a move the rules refuse keeps its place as a move not played
    // (MoveRecord::notPlayed), valueAsRead its value when the letters cannot give it back. No
    // point is shown on the main line. → the rules' MoveResult (kMoveLegal for a pass).
    int ReadMove(int column, int row, bool diagram, const std::string& valueAsRead = {});
    // Replays another record's stored main-line move as the next one in its colour, storing a
    // copy with its kept properties and putting its set-up stones on the board: a stone as
    // ReplayMoveQuiet, a pass or a move not played as a step without a stone → 1, or 0 when the
    // rules now refuse the stone.
    int ReplayStoredMove(const MoveRecord& move);
    // Puts a black handicap stone at (column, row), 0-based, into the start position.
    void PlaceHandicapStone(int column, int row);
    // Places the handicap table's stones for count (none outside 2–9) → how many were placed.
    int PlaceHandicapStones(int count);
    // Puts a stone of the start position (1-based point) on the rules' grid, its cell and the
    // record's start position; points off the board and colours other than 1, 2 are ignored.
    void PlaceSetupStone(const SetupStone& stone);
    // A set-up stone of the current move's node (AB, AW; colour 0 for AE), 1-based point: put
    // on the board as the move's own, and taken off again, with what the point held restored,
    // when the move is stepped back. Nothing at move 0 or off the board.
    void ApplySetupStone(const SetupStone& stone);
    // ApplySetupStone for each point of an AB, AW or AE (one point or a rectangle, in the
    // file's letters); other properties are ignored.
    void ApplySetupProperty(const KeptProperty& property);
    // Empties the board and the record: no stones, coordinates off, NumberDisplay 1, no marks,
    // hints or last move, ForcedColour 0, move 0, black to play, no ko;
    // the mode stays. Refreshes.
    void ResetBoard();
    // The colour (1 white, 2 black) the next stone takes; set before replaying a move.
    int ColourToPlay() const { return rules_.ColourToPlay(); }
    // The colour a clicked stone would take: ForcedColour in diagram input when set, else the
    // colour to play (what the preview stone shows).
    int NextStoneColour() const {
        return mode_ == kModeDiagram && forcedColour_ != 0 ? forcedColour_ : ColourToPlay();
    }
    void SetColourToPlay(int colour) { rules_.SetColourToPlay(colour); }

    // --- reference diagrams ---

    // The start position becomes count handicap stones (black has played them, so white moves
    // next when any were placed), and a refresh. A record without moves keeps everything else
    // (commentary, marks, diagrams); one with moves starts afresh (ResetBoard).
    void SetUpHandicap(int count);
    // Whether the start position holds only handicap stones (none, or exactly one row of the
    // handicap table): changing the handicap then replaces no stone the user set up.
    bool StartIsHandicapOnly() const;

    // SetBoardMode(2), then opens a new diagram based at the current move.
    void EnterDiagramInput();
    // Returns to the open diagram's base, closes it (unstored moves are dropped), reloads marks.
    void LeaveDiagram();
    // Leaves the open diagram in any mode, for another move's diagrams to be listed: back to its
    // base when past it (a board before the base stays), closed, marks reloaded, refreshed.
    void LeaveDiagramForMove();
    // Stores the open diagram as new, SetBoardMode(0), leaves it → the new key, "same" for a
    // duplicate, "" when none was open.
    std::string FinishDiagram();
    // Returns from any open diagram to its base; then, when key is stored, closes it, steps the
    // main line to the stored diagram's base and opens that diagram there → false when not stored.
    bool OpenStoredDiagram(const DiagramKey& key);
    // Stores the open diagram as new; unless the result is "", leaves it, sends
    // UM_REFRESH_PANE and refreshes → the store result (key, "same" or "": none open, or one
    // with no moves, no marks at its start and no text, which is not stored).
    std::string CommitDiagram();
    // Stores the open diagram again under the key it was opened with → false when that key is
    // not stored.
    bool ReplaceOpenDiagram();
    // Deletes the stored diagram key, leaving it first (and refreshing) when it is the open one
    // → false when no such diagram is stored.
    bool DeleteStoredDiagram(const DiagramKey& key);
    // The reader's mark or set-up stone (0-based point) at the current move: into the open
    // diagram (opened at the current move when none is), replacing one at the same point.
    void AddNaviStone(const NaviStone& stone);
    // Rebuilds this board's position on target (emptied first): handicap stones, main-line moves
    // up to DisplayedMove, the stored diagram under key (none when key is ""), then jumps to this
    // board's current move in mode 2. The caller then sets target's mode (8 for story cards).
    void CopyPositionTo(BoardLogic& target, const DiagramKey& key) const;

    // --- marks and hints ---

    // After navigation: in modes 0, 2, 3 the marks of the current move and a refresh; in other
    // modes the list is emptied.
    void ReloadMarksAfterNavigation();
    // After a mode change or a click: in modes 0, 2, 3, 8 the marks of the current move (with a
    // refresh when there are none, to wipe old ones); in other modes emptied, no refresh.
    void ReloadMarksAfterInput();
    // The quiz hints: off in modes 1–3 (slots kept); otherwise on, slot k−1 = the point of
    // main-line move current+k when mode 4 and k ≤ 4, mode 5 and black, mode 6 and white, else
    // none; then refreshes.
    void RecomputeHints();

    // --- display settings ---

    // Shows or hides the coordinates and refreshes.
    void ShowCoordinates(bool on);
    // Sets NumberDisplay (0, 1, 2; others ignored) and redraws every point.
    void SetNumberDisplay(int value);
    // From a menu text: "실전" → 2, else "감추기" → 0, else "참고도" → 1, else unchanged;
    // redraws every point in any case.
    void SetNumberDisplayFromText(const std::string& text);
    // 0 → 1 in mode 2, else 0 → 2; 1 → 2; 2 → 0; redraws every point.
    void CycleNumberDisplay();
    // Sets the range numbering and redraws every point.
    void SetRangeNumbering(const RangeNumbering& range);
    // 0, or the colour (1, 2) every diagram move takes.
    void SetForcedColour(int colour) { forcedColour_ = colour; }
    // Where the preview stone is drawn (0-based), (−1, −1) for none; the input layer draws it.
    void SetHoverPoint(PointIndex point) { hover_ = point; }
    void SetMarkTool(const MarkTool& tool) { markTool_ = tool; }
    // On: left clicks send no UM_BOARD_CLICKED (the board panel's own board).
    void SetSuppressClickNotify(bool on) { suppressClickNotify_ = on; }
    // The one place a PointCell changes: stores cell at (column, row), 0-based, and tells the
    // view (shown at once unless show is false). Ignored outside the board (0..N−1).
    void SetPoint(int column, int row, const PointCell& cell, bool show = true);
    // Rebuilds the whole picture: re-layout, every point, hints and marks; invalidates.
    void Refresh();

    // --- state queries ---

    // The cell at (column, row), 0-based; an empty cell outside the board.
    const PointCell& Cell(int column, int row) const;
    // How many moves of the open line are on the board.
    int CurrentMove() const { return current_; }
    int Mode() const { return mode_; }
    // The open diagram's base move, −1 when none is open.
    int DiagramBase() const { return record_.OpenDiagramBase(); }
    // The main-line move shown: the current move, or the open diagram's base when smaller.
    int DisplayedMove() const;
    // The point with the last-move mark (0-based), (−1, −1) for none.
    PointIndex LastMovePoint() const { return lastMove_; }
    PointIndex HoverPoint() const { return hover_; }
    int ForcedColour() const { return forcedColour_; }
    int NumberDisplay() const { return numberDisplay_; }
    const RangeNumbering& Range() const { return range_; }
    bool CoordinatesShown() const { return coordinates_; }
    bool ShowHints() const { return showHints_; }
    const HintPoints& Hints() const { return hints_; }
    // The NaviStones drawn on the board, in list order: a copy of the current move's list, taken
    // only by ReloadMarksAfterNavigation, ReloadMarksAfterInput (mode changes, button presses
    // and releases) and LeaveDiagram. A mark edit in the record shows after one of them.
    const std::vector<NaviStone>& Marks() const { return marks_; }
    // What the current node draws besides its marks, taken with them: its territory (TB, TW),
    // arrows (AR) and lines (LN) as the file has them.
    const std::vector<KeptProperty>& Drawings() const { return drawings_; }
    const MarkTool& Tool() const { return markTool_; }
    bool SuppressClickNotify() const { return suppressClickNotify_; }
    // The black stones of the start position (0-based), in placing order.
    std::vector<PointIndex> HandicapStones() const;

    // The record of moves, diagrams and marks (commentary and reference lists for the panes).
    const GameRecord& Record() const { return record_; }
    GameRecord& Record() { return record_; }
    const RulesEngine& Rules() const { return rules_; }
    RulesEngine& Rules() { return rules_; }

    // The record of move n (1..current) as it was played on this board: from the open diagram
    // (move n − base) or from the main line; nullopt when not stored or not on the board.
    std::optional<MoveRecord> BoardMove(int n) const;

private:
    // Move n of the open line as StepForward sees it.
    std::optional<MoveRecord> OpenLineMove(int n) const;
    // Steps forward or back until the current move is n or a step is refused; nothing else.
    void StepTo(int n);
    int PlayStone(int column, int row, bool diagram, bool store, bool show);
    // Steps over move (a pass, or a move not played) as the next move of its line: no stone,
    // no last-move mark, the turn changes and a pass lifts a ko.
    int StepWithoutStone(MoveRecord move, bool diagram, bool store, bool show);
    // Stores move as the current move of the open diagram (based at base) or of the main line.
    void StoreMove(const MoveRecord& move, bool diagram, int base);
    // Takes the last-move mark off the point that has it, if any.
    void ClearLastMoveMark(bool show);
    void LoadMarks();
    void Redraw();
    // Applies the AB, AW and AE among a move's kept properties (ApplySetupStone).
    void ApplyKeptSetup(const std::vector<KeptProperty>& properties);

    std::array<std::array<PointCell, kMaxBoardSize>, kMaxBoardSize> cells_{};
    int mode_ = kModeView;
    int current_ = 0;
    PointIndex lastMove_;
    PointIndex hover_;
    int forcedColour_ = 0;
    int numberDisplay_ = kNumbersDiagram;
    RangeNumbering range_;
    bool coordinates_ = false;
    bool showHints_ = false;
    HintPoints hints_{};
    std::vector<NaviStone> marks_;
    std::vector<KeptProperty> drawings_;
    MarkTool markTool_;
    bool suppressClickNotify_ = false;
    // For each move on the board, whether it was played from the open diagram.
    std::vector<bool> fromDiagram_;
    // For each move on the board, what its set-up stones covered, in the order they were put.
    struct Covered {
        int x = 0;
        int y = 0;
        PointCell cell;
    };
    std::vector<std::vector<Covered>> setupUndo_;
    // For each move on the board, the last capture (the ko) of the position before it.
    struct KoState {
        GridPoint point;
        int count = 0;
    };
    std::vector<KoState> koBefore_;

    RulesEngine rules_;
    GameRecord record_;

    BoardView* view_ = nullptr;
    BoardObserver* mainWindow_ = nullptr;
    BoardObserver* parent_ = nullptr;
};

}  // namespace velmora
