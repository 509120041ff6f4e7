#include "game/BoardLogic.h"

#include <algorithm>

#include "platform/Prompter.h"
#include "record/SgfHandicap.h"
#include "record/SgfReader.h"

namespace velmora {

BoardLogic::BoardLogic() { rules_.ResetRules(true); }

int BoardLogic::Notify(int message, int wparam, int lparam) {
    BoardObserver* to = message == UM_BOARD_CLICKED ? parent_ : mainWindow_;
    return to ? to->OnBoardMessage(message, wparam, lparam) : 0;
}

// --- navigation ---

std::optional<MoveRecord> BoardLogic::OpenLineMove(int n) const {
    const int base = record_.OpenDiagramBase();
    if (ShowsDiagram(mode_) && base >= 0 && n > base) return record_.GetDiagramMove(n - base);
    return record_.GetMainLineMove(n);
}

std::optional<MoveRecord> BoardLogic::BoardMove(int n) const {
    // Which line a move came from depends on the mode it was played in, so it is remembered.
    if (n < 1 || n > static_cast<int>(fromDiagram_.size())) return std::nullopt;
    if (fromDiagram_[n - 1]) return record_.GetDiagramMove(n - record_.OpenDiagramBase());
    return record_.GetMainLineMove(n);
}

bool BoardLogic::HasNextMove() const { return OpenLineMove(current_ + 1).has_value(); }

int BoardLogic::StepForward() {
    const std::optional<MoveRecord> move = OpenLineMove(current_ + 1);
    if (!move) return 0;
    rules_.SetColourToPlay(move->colour);
    const int base = record_.OpenDiagramBase();
    const bool diagram = ShowsDiagram(mode_) && base >= 0 && current_ >= base;
    // A stored move the rules refuse now ends the step: "until none" loops must terminate.
    const int played = !PutsStone(*move) ? StepWithoutStone(*move, diagram, false, true)
                       : diagram         ? PlayDiagramMove(move->x, move->y, true)
                                         : PlayMainLineMove(move->x, move->y, true);
    if (played) ApplyKeptSetup(move->properties);
    return played;
}

int BoardLogic::StepBack() {
    if (current_ <= 0) return 0;
    const int base = record_.OpenDiagramBase();
    if (mode_ != kModePlay && mode_ != kModePreview && base >= 0 && current_ <= base) return 0;

    const std::optional<MoveRecord> move = BoardMove(current_);
    if (!move) {
        Prompter::Current().MessageBox("앞 수로 돌아가지 못했습니다: 기보에 지금 수의 기록이 없습니다.", "", kButtonsOk);
        return 0;
    }
    // The move's set-up stones come off first, each point as it was before them.
    const std::vector<Covered> covered = std::move(setupUndo_.back());
    setupUndo_.pop_back();
    for (auto it = covered.rbegin(); it != covered.rend(); ++it) {
        rules_.PutStone(it->x + 1, it->y + 1, it->cell.stone);
        SetPoint(it->x, it->y, it->cell);
    }
    // A pass or a move not played left the board as it was.
    if (PutsStone(*move)) {
        rules_.PutStone(move->x, move->y, kEmpty);
        SetPoint(move->x - 1, move->y - 1, PointCell{});
        if (lastMove_ == ToPointIndex(GridPoint{move->x, move->y})) lastMove_ = PointIndex{};
        for (const CapturedEntry& stone : move->captured) {
            rules_.SetColourToPlay(stone.colour);
            rules_.PlayMove(stone.x, stone.y);
            rules_.SetPointNumber(stone.x, stone.y, current_);
            SetPoint(stone.x - 1, stone.y - 1, PointCell{stone.colour, stone.flags, stone.number});
        }
    }
    rules_.SetColourToPlay(move->colour);
    // The ko of the position stepped back to holds again.
    rules_.SetLastCapture(koBefore_.back().point, koBefore_.back().count);
    koBefore_.pop_back();
    --current_;
    fromDiagram_.pop_back();

    if (current_ >= 1) {
        if (const std::optional<MoveRecord> previous = BoardMove(current_); previous && PutsStone(*previous)) {
            const int column = previous->x - 1;
            const int row = previous->y - 1;
            // Set-up after the move may have taken its stone off or put another there.
            if (Cell(column, row).stone == previous->colour) {
                SetPoint(column, row,
                         PointCell{previous->colour, previous->flags, Cell(column, row).number});
                lastMove_ = PointIndex{column, row};
            }
        }
    }
    return 1;
}

int BoardLogic::JumpToMove(int n) {
    if (n < 0) return 0;
    StepTo(n);
    ReloadMarksAfterNavigation();
    RecomputeHints();
    return Notify(UM_REFRESH_PANE);
}

void BoardLogic::ReturnToBase() {
    if (!ShowsDiagram(mode_)) return;
    const int base = record_.OpenDiagramBase();
    if (base >= 0) StepTo(base);
}

void BoardLogic::StepTo(int n) {
    while (current_ < n && StepForward()) {
    }
    while (current_ > n && StepBack()) {
    }
}

int BoardLogic::SetBoardMode(int mode) {
    if (mode == mode_) return 0;
    if (mode != kModeDiagram && mode != kModeMarks && mode != kModePreview) LeaveDiagram();
    mode_ = mode;
    RecomputeHints();
    ReloadMarksAfterInput();
    Refresh();
    return 1;
}

// --- moves and position ---

int BoardLogic::PlayMainLineMove(int column, int row, bool replaying) {
    return PlayStone(column, row, false, !replaying, true);
}

int BoardLogic::PlayDiagramMove(int column, int row, bool replaying) {
    if (record_.OpenDiagramBase() < 0) record_.OpenNewDiagram(current_);
    return PlayStone(column, row, true, !replaying, true);
}

void BoardLogic::PlayPass(bool diagram) {
    if (diagram && record_.OpenDiagramBase() < 0) record_.OpenNewDiagram(current_);
    StepWithoutStone(MoveRecord{}, diagram, true, true);
    Refresh();
}

int BoardLogic::ReplayMoveQuiet(int column, int row) {
    return PlayStone(column, row, false, true, false);
}

int BoardLogic::PlayStone(int column, int row, bool diagram, bool store, bool show) {
    const int previousColour = rules_.ColourToPlay();
    const KoState ko{rules_.LastCapturePoint(), rules_.LastCaptureCount()};
    // Judge the stone in the colour it will take.
    if (diagram && forcedColour_ != 0) rules_.SetColourToPlay(forcedColour_);
    const int colour = rules_.ColourToPlay();
    if (!IsLegalMove(rules_.CheckMove(column, row))) {
        rules_.SetColourToPlay(previousColour);
        return 0;
    }

    const int base = record_.OpenDiagramBase();
    ++current_;
    fromDiagram_.push_back(diagram);
    setupUndo_.emplace_back();
    koBefore_.push_back(ko);
    rules_.PlayMove(column, row);
    rules_.SetPointNumber(column, row, diagram ? base : current_);

    ClearLastMoveMark(show);
    lastMove_ = ToPointIndex(GridPoint{column, row});
    hover_ = PointIndex{};

    MoveRecord move;
    move.x = column;
    move.y = row;
    move.colour = colour;
    move.number = diagram ? current_ - base : current_;
    move.flags = diagram ? kFlagLastMove | kFlagHighlight : kFlagLastMove;
    SetPoint(column - 1, row - 1, PointCell{colour, move.flags, move.number}, show);

    rules_.SetColourToPlay(diagram && forcedColour_ != 0 ? forcedColour_ : Opponent(colour));

    // The engine's colour of each captured stone is always right, also when a forced colour is
    // left over from diagram input while playing on the main line.
    int x = 0;
    int y = 0;
    int capturedColour = 0;
    for (int n = 1; rules_.GetCapturedStone(n, x, y, capturedColour); ++n) {
        const PointCell was = Cell(x - 1, y - 1);
        move.captured.push_back(CapturedEntry{x, y, capturedColour, was.number, was.flags, {}});
        SetPoint(x - 1, y - 1, PointCell{}, show);
    }

    if (store) StoreMove(move, diagram, base);
    return 1;
}

void BoardLogic::StoreMove(const MoveRecord& move, bool diagram, int base) {
    if (diagram) {
        record_.AddDiagramMove(current_ - base, move);
    } else {
        record_.AddMainLineMove(current_, move);
    }
}

void BoardLogic::ClearLastMoveMark(bool show) {
    if (lastMove_.x < 0) return;
    PointCell previous = Cell(lastMove_.x, lastMove_.y);
    previous.flags &= ~kFlagLastMove;
    SetPoint(lastMove_.x, lastMove_.y, previous, show);
}

int BoardLogic::StepWithoutStone(MoveRecord move, bool diagram, bool store, bool show) {
    if (diagram && forcedColour_ != 0) rules_.SetColourToPlay(forcedColour_);
    move.colour = rules_.ColourToPlay();
    const int base = record_.OpenDiagramBase();
    ++current_;
    fromDiagram_.push_back(diagram);
    setupUndo_.emplace_back();
    koBefore_.push_back({rules_.LastCapturePoint(), rules_.LastCaptureCount()});
    ClearLastMoveMark(show);
    lastMove_ = PointIndex{};
    hover_ = PointIndex{};
    if (IsPassMove(move)) rules_.Pass();
    rules_.SetColourToPlay(diagram && forcedColour_ != 0 ? forcedColour_ : Opponent(move.colour));
    move.number = diagram ? current_ - base : current_;
    move.flags = diagram ? kFlagLastMove | kFlagHighlight : kFlagLastMove;
    move.captured.clear();
    if (store) StoreMove(move, diagram, base);
    return 1;
}

int BoardLogic::ReadMove(int column, int row, bool diagram, const std::string& valueAsRead) {
    if (diagram && record_.OpenDiagramBase() < 0) record_.OpenNewDiagram(current_);
    MoveRecord move;
    move.x = column;
    move.y = row;
    move.valueAsRead = valueAsRead;
    if (column == 0 && row == 0 && valueAsRead.empty()) {
        StepWithoutStone(move, diagram, true, diagram);
        return kMoveLegal;
    }
    const int judged = rules_.CheckMove(column, row);
    if (IsLegalMove(judged) && PlayStone(column, row, diagram, true, diagram)) return judged;
    move.notPlayed = IsLegalMove(judged) ? kMoveOutside : judged;
    StepWithoutStone(move, diagram, true, diagram);
    return move.notPlayed;
}

int BoardLogic::ReplayStoredMove(const MoveRecord& move) {
    SetColourToPlay(move.colour);
    if (PutsStone(move)) {
        if (!ReplayMoveQuiet(move.x, move.y)) return 0;
    } else {
        MoveRecord copy;
        copy.x = move.x;
        copy.y = move.y;
        copy.notPlayed = move.notPlayed;
        copy.valueAsRead = move.valueAsRead;
        StepWithoutStone(copy, false, true, false);
    }
    if (std::optional<MoveRecord> stored = record_.GetMainLineMove(current_)) {
        stored->properties = move.properties;
        record_.AddMainLineMove(current_, *stored);
    }
    ApplyKeptSetup(move.properties);
    return 1;
}

void BoardLogic::PlaceHandicapStone(int column, int row) {
    PlaceSetupStone(SetupStone{column + 1, row + 1, kBlack});
}

int BoardLogic::PlaceHandicapStones(int count) {
    const std::vector<GridPoint> stones = HandicapTable(count, BoardSize());
    for (const GridPoint& p : stones) PlaceSetupStone(SetupStone{p.x, p.y, kBlack});
    return static_cast<int>(stones.size());
}

void BoardLogic::PlaceSetupStone(const SetupStone& stone) {
    if (!OnBoard(stone.x, stone.y, BoardSize()) ||
        (stone.colour != kBlack && stone.colour != kWhite))
        return;
    rules_.PutStone(stone.x, stone.y, stone.colour);
    SetPoint(stone.x - 1, stone.y - 1, PointCell{stone.colour, 0, 0});
    record_.SetStartStone(stone);
}

void BoardLogic::ApplySetupStone(const SetupStone& stone) {
    if (current_ <= 0 || setupUndo_.empty() || !OnBoard(stone.x, stone.y, BoardSize())) return;
    const int colour = stone.colour == kBlack || stone.colour == kWhite ? stone.colour : kEmpty;
    const int column = stone.x - 1;
    const int row = stone.y - 1;
    setupUndo_.back().push_back(Covered{column, row, Cell(column, row)});
    rules_.PutStone(stone.x, stone.y, colour);
    SetPoint(column, row, PointCell{colour, 0, 0});
}

void BoardLogic::ApplyKeptSetup(const std::vector<KeptProperty>& properties) {
    for (const KeptProperty& p : properties) ApplySetupProperty(p);
}

void BoardLogic::ApplySetupProperty(const KeptProperty& p) {
    if (p.id != "AB" && p.id != "AW" && p.id != "AE") return;
    const int colour = p.id == "AB" ? kBlack : p.id == "AW" ? kWhite : kEmpty;
    // One point, or a rectangle "aa:cc".
    const std::size_t colon = p.value.find(':');
    int x0 = 0;
    int y0 = 0;
    SgfPointOf(std::string_view(p.value).substr(0, colon), x0, y0);
    int x1 = x0;
    int y1 = y0;
    if (colon != std::string::npos) SgfPointOf(std::string_view(p.value).substr(colon + 1), x1, y1);
    for (int x = std::max(1, std::min(x0, x1)); x <= std::min(BoardSize(), std::max(x0, x1)); ++x)
        for (int y = std::max(1, std::min(y0, y1)); y <= std::min(BoardSize(), std::max(y0, y1)); ++y)
            ApplySetupStone(SetupStone{x, y, colour});
}

std::vector<PointIndex> BoardLogic::HandicapStones() const {
    std::vector<PointIndex> stones;
    for (const SetupStone& s : record_.StartPosition())
        if (s.colour == kBlack) stones.push_back(ToPointIndex(GridPoint{s.x, s.y}));
    return stones;
}

void BoardLogic::SetBoardSize(int n) {
    if (!IsBoardSize(n) || n == BoardSize()) return;
    rules_.SetBoardSize(n);
    record_.SetBoardSize(n);
    ResetBoard();
}

void BoardLogic::ResetBoard() {
    for (auto& column : cells_) column.fill(PointCell{});
    coordinates_ = false;
    numberDisplay_ = kNumbersDiagram;
    marks_.clear();
    drawings_.clear();
    lastMove_ = PointIndex{};
    hover_ = PointIndex{};
    forcedColour_ = 0;
    current_ = 0;
    fromDiagram_.clear();
    setupUndo_.clear();
    koBefore_.clear();
    hints_.fill(GridPoint{});
    // A new record starts without the last record's ko.
    rules_.ResetRules(false);
    record_.ClearAll();
    Refresh();
}

// --- reference diagrams ---

void BoardLogic::EnterDiagramInput() {
    SetBoardMode(kModeDiagram);
    record_.OpenNewDiagram(current_);
}

void BoardLogic::SetUpHandicap(int count) {
    if (record_.MainLineLength() > 0) {
        ResetBoard();
    } else {
        LeaveDiagram();
        for (const SetupStone& s : std::vector<SetupStone>(record_.StartPosition()))
            record_.SetStartStone(SetupStone{s.x, s.y, 0});
        for (auto& column : cells_) column.fill(PointCell{});
        rules_.ResetRules(false);
        LoadMarks();
    }
    if (PlaceHandicapStones(count) > 0) SetColourToPlay(1);
    Refresh();
}

bool BoardLogic::StartIsHandicapOnly() const {
    const std::vector<SetupStone>& start = record_.StartPosition();
    if (start.empty()) return true;
    const std::vector<GridPoint> table = HandicapTable(static_cast<int>(start.size()), BoardSize());
    return table.size() == start.size() &&
           std::all_of(start.begin(), start.end(), [&table](const SetupStone& s) {
               return s.colour == kBlack && std::any_of(table.begin(), table.end(), [&s](const GridPoint& p) {
                          return p.x == s.x && p.y == s.y;
                      });
           });
}

void BoardLogic::LeaveDiagram() {
    ReturnToBase();
    record_.CloseDiagram();
    LoadMarks();
}

void BoardLogic::LeaveDiagramForMove() {
    // Back to the base in any mode (a board left in play mode steps past it otherwise).
    if (const int base = record_.OpenDiagramBase(); base >= 0) StepTo(std::min(current_, base));
    record_.CloseDiagram();
    ReloadMarksAfterNavigation();
    Refresh();
}

std::string BoardLogic::FinishDiagram() {
    const std::string result = record_.StoreAsNew();
    SetBoardMode(kModeView);
    LeaveDiagram();
    return result;
}

bool BoardLogic::OpenStoredDiagram(const DiagramKey& key) {
    const int base = record_.OpenDiagramBase();
    if (base >= 0 && current_ < base) {
        record_.CloseDiagram();
        ReloadMarksAfterNavigation();
    }
    ReturnToBase();
    const auto stored = record_.StoredDiagramMap().find(key);
    if (stored == record_.StoredDiagramMap().end()) return false;
    // Go to the diagram's own base on the main line first, so that its moves follow the
    // position they were entered on.
    record_.CloseDiagram();
    StepTo(stored->second.base);
    return record_.OpenStoredDiagram(key);
}

std::string BoardLogic::CommitDiagram() {
    const OpenDiagram& open = record_.CurrentDiagram();
    // Marks alone make a diagram too (a position to point at): what the save offers to add.
    if (open.moves.empty() && open.text.empty() && open.startList.empty()) return {};
    const std::string result = record_.StoreAsNew();
    if (!result.empty()) {
        LeaveDiagram();
        Notify(UM_REFRESH_PANE);
        Refresh();
    }
    return result;
}

bool BoardLogic::ReplaceOpenDiagram() {
    return record_.ReplaceStoredDiagram(record_.OpenDiagramKey(), record_.CurrentDiagram());
}

bool BoardLogic::DeleteStoredDiagram(const DiagramKey& key) {
    if (!record_.StoredDiagramMap().contains(key)) return false;
    // The board must not go on showing a diagram that is gone.
    if (record_.OpenDiagramKey() == key) {
        LeaveDiagram();
        Refresh();
    }
    record_.EraseStoredDiagram(key);
    return true;
}

void BoardLogic::AddNaviStone(const NaviStone& stone) {
    record_.AddNaviStone(current_, stone);
}

void BoardLogic::CopyPositionTo(BoardLogic& target, const DiagramKey& key) const {
    if (&target == this) return;
    // A copy into a board that already shows a position would play over its stones.
    target.SetBoardSize(BoardSize());
    target.ResetBoard();
    for (const SetupStone& stone : record_.StartPosition()) target.PlaceSetupStone(stone);
    target.SetBoardMode(kModePlay);
    const int shown = DisplayedMove();
    for (int k = 1; k <= shown; ++k) {
        const std::optional<MoveRecord> move = record_.GetMainLineMove(k);
        if (!move) break;
        target.ReplayStoredMove(*move);
    }
    if (!key.empty()) {
        const auto stored = record_.StoredDiagramMap().find(key);
        if (stored != record_.StoredDiagramMap().end()) {
            target.record_.OpenDiagramCopy(key, stored->second);
        }
    }
    target.SetBoardMode(kModeDiagram);
    target.JumpToMove(current_);
}

// --- marks and hints ---

void BoardLogic::LoadMarks() {
    if (std::optional<std::vector<NaviStone>> list = record_.NaviStones(current_)) {
        marks_ = std::move(*list);
    } else {
        marks_.clear();
    }
    drawings_.clear();
    for (const KeptProperty& p : record_.NodeProperties(current_))
        if (p.id == "TB" || p.id == "TW" || p.id == "AR" || p.id == "LN") drawings_.push_back(p);
}

void BoardLogic::ReloadMarksAfterNavigation() {
    if (ShowsDiagram(mode_)) {
        LoadMarks();
        Refresh();
    } else {
        marks_.clear();
        drawings_.clear();
    }
}

void BoardLogic::ReloadMarksAfterInput() {
    if (ShowsDiagram(mode_) || mode_ == kModePreview) {
        LoadMarks();
        // Marks drawn before must be wiped when the move has none.
        if (marks_.empty()) Refresh();
    } else {
        marks_.clear();
        drawings_.clear();
    }
}

void BoardLogic::RecomputeHints() {
    if (mode_ == kModePlay || mode_ == kModeDiagram || mode_ == kModeMarks) {
        showHints_ = false;
        return;
    }
    showHints_ = true;
    for (int k = 1; k <= static_cast<int>(hints_.size()); ++k) {
        const std::optional<MoveRecord> move = record_.GetMainLineMove(current_ + k);
        bool hint = false;
        if (move && PutsStone(*move)) {
            hint = (mode_ == kModeQuizFour && k <= 4) ||
                   (mode_ == kModeQuizBlack && move->colour == kBlack) ||
                   (mode_ == kModeQuizWhite && move->colour == kWhite);
        }
        hints_[k - 1] = hint ? GridPoint{move->x, move->y} : GridPoint{};
    }
    Refresh();
}

// --- display settings ---

void BoardLogic::ShowCoordinates(bool on) {
    coordinates_ = on;
    Refresh();
}

void BoardLogic::SetNumberDisplay(int value) {
    if (value >= kNumbersNone && value <= kNumbersAll) numberDisplay_ = value;
    Redraw();
}

void BoardLogic::SetNumberDisplayFromText(const std::string& text) {
    // "실전+참고도 보기" names both: "실전" is looked for first.
    if (text.find("실전") != std::string::npos) {
        numberDisplay_ = kNumbersAll;
    } else if (text.find("감추기") != std::string::npos) {
        numberDisplay_ = kNumbersNone;
    } else if (text.find("참고도") != std::string::npos) {
        numberDisplay_ = kNumbersDiagram;
    }
    Redraw();
}

void BoardLogic::CycleNumberDisplay() {
    switch (numberDisplay_) {
        case kNumbersNone:
            numberDisplay_ = mode_ == kModeDiagram ? kNumbersDiagram : kNumbersAll;
            break;
        case kNumbersDiagram:
            numberDisplay_ = kNumbersAll;
            break;
        default:
            numberDisplay_ = kNumbersNone;
            break;
    }
    Redraw();
}

void BoardLogic::SetRangeNumbering(const RangeNumbering& range) {
    range_ = range;
    Redraw();
}

void BoardLogic::SetPoint(int column, int row, const PointCell& cell, bool show) {
    if (!OnBoard(PointIndex{column, row}, BoardSize())) return;
    cells_[column][row] = cell;
    if (view_) view_->OnPointChanged(column, row, show);
}

void BoardLogic::Refresh() {
    if (view_) view_->OnRefresh();
}

void BoardLogic::Redraw() {
    if (view_) view_->OnRedrawPoints();
}

// --- state queries ---

const PointCell& BoardLogic::Cell(int column, int row) const {
    static const PointCell kNone;
    return OnBoard(PointIndex{column, row}, BoardSize()) ? cells_[column][row] : kNone;
}

int BoardLogic::DisplayedMove() const {
    const int base = record_.OpenDiagramBase();
    return base >= 0 && base < current_ ? base : current_;
}

}  // namespace velmora
