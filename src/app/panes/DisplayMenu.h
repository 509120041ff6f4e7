#pragma once

#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "record/BoardLines.h"

namespace velmora {

class BoardLogic;

// The display menu that button 302 of each side pane drops down: sub-menus "수순" (move
// numbers), "좌표" (coordinates) and "기호" (last-move mark), with the pane's own check marks.

// Commands of the display menu and the other controls the panes share.
enum DisplayCommand : int {
    kCmdJumpToTyped = 301,  // jump to the move number typed in control 300
    kCmdDisplayMenu = 302,  // drop the display menu down
    kCmdNumbersHidden = 3001,
    kCmdNumbersAll = 3002,  // "실전수순 보기" in the input pane, "실전+참고도 보기" elsewhere
    kCmdNumbersDiagram = 3003,
    kCmdCoordinatesOff = 3011,
    kCmdCoordinatesOn = 3012,
    kCmdCoordinatesClassic = 3013,  // columns A–S (with I), rows from the top
    kCmdCoordinatesUsual = 3014,    // columns A–T without I, rows from the bottom
    kCmdLastMoveOff = 3021,
    kCmdLastMoveOn = 3022,
};

// Which side pane a display belongs to: the input pane's number items differ.
enum class DisplayPane { kInput, kReference, kView };

struct DisplayMenuItem {
    int id = 0;
    std::string text;
    bool checked = false;
};

struct DisplaySubMenu {
    std::string title;
    std::vector<DisplayMenuItem> items;
};

using DisplayMenuItems = std::vector<DisplaySubMenu>;

// Runs a menu of sub-menus at a screen point → the chosen item's id, 0 when none was chosen.
using DisplayMenuRunner = std::function<int(const DisplayMenuItems& menu, QPoint at)>;

// Replaces how the display menus run (tests script them); an empty runner restores the pop-up.
void SetDisplayMenuRunner(DisplayMenuRunner runner);
// Runs menu at `at` with the current runner → the chosen id, 0 for none.
int RunDisplayMenu(const DisplayMenuItems& menu, QPoint at);
// What is told of the coordinate style chosen in a display menu (the program remembers it);
// an empty one tells nothing.
void SetCoordinateStyleChosen(std::function<void(CoordinateStyle style)> chosen);

// One pane's copy of the display choices. It only places the pane's check marks: the board's
// own state is never read back, so each pane shows what was last chosen in it.
class PaneDisplay {
  public:
    // The pane's initial choices: numbers "수순 감추기" (input), "참고도 수순 보기" (reference),
    // "실전+참고도 보기" (view); coordinates off; last-move mark on.
    explicit PaneDisplay(DisplayPane pane);

    DisplayPane Pane() const { return pane_; }
    // The text of the last number item chosen here.
    const std::string& NumberText() const { return numberText_; }
    bool Coordinates() const { return coordinates_; }
    bool LastMoveMark() const { return lastMove_; }

    // The three sub-menus with this pane's items and check marks.
    DisplayMenuItems Menu() const;
    // Carries out a display command (3001–3003, 3011–3014, 3021/3022) on board and remembers the
    // choice (the coordinate style for every board and pane) → false, with nothing changed, for any other id or an item this pane lacks.
    bool Apply(int id, BoardLogic& board);
    // Applies the remembered number text to board again (after a quiz starts or stops).
    void ApplyNumberText(BoardLogic& board) const;
    // Applies all three remembered choices to board and re-lays it out.
    void Reset(BoardLogic& board) const;

  private:
    DisplayPane pane_;
    std::string numberText_;
    bool coordinates_ = false;
    bool lastMove_ = true;
};

// The number typed in an entry, read as C's atoi does: leading blanks, an optional sign and the
// digits that follow; text that is not a number gives 0, and a number too large is clamped.
int TypedMoveNumber(const std::string& text);

}  // namespace velmora
