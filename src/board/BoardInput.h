#pragma once

#include <functional>
#include <string>

#include "board/BoardCanvas.h"
#include "game/BoardLogic.h"

namespace velmora {

// What the mouse does on a board, without the window: the hit test, clicks by BoardMode,
// mark placing with the MarkTool, and the preview stone that follows the pointer. Pixel
// positions are client coordinates of the canvas.
class BoardInput {
  public:
    // The question asked before a click in play mode cuts the later moves of the main line.
    static constexpr const char* kCutQuestion =
        "착수를 하시면 이전 착수데이터는 삭제됩니다.<br> 착수하시겠습니까?<br>";

    // Drives logic and draws on canvas (neither owned; both outlive this object).
    BoardInput(BoardLogic& logic, BoardCanvas& canvas);

    // Replaces the confirmation of a cut (true: go ahead). The default asks kCutQuestion
    // through the Prompter's Popup with OK/Cancel; the main window installs its own.
    void SetConfirmPlacement(std::function<bool()> confirm) { confirm_ = std::move(confirm); }
    // Replaces how a refused stone is explained (reason at the 1-based point); the default
    // does nothing, the board control shows it beside the pointer.
    void SetRefusalNotice(std::function<void(const GridPoint& point, const std::string& reason)> notice) {
        notice_ = std::move(notice);
    }
    // Why the rules refuse a stone, for a CheckMove result: the point is taken, a ko, or a
    // suicide; "" for a legal result.
    static std::string RefusalReason(int checkResult);

    // Replaces the click of quiz modes 4–7 at the 1-based point (column, row); default: the
    // guess of GuessNextMove.
    void SetQuizClick(std::function<void(int column, int row)> click) {
        quizClick_ = std::move(click);
    }

    // The 1-based point under pixel (x, y), or (−1, −1).
    GridPoint HitTest(int x, int y) const { return canvas_.Geometry().HitTest(x, y); }

    // Left button pressed at (x, y): the mode's action, then the click notification in modes 0,
    // 1, 2 and 8 (not after a cancelled cut question). A miss changes nothing but is still
    // notified.
    void LeftButtonDown(int x, int y);
    // A pass where a click would put a stone: on the main line in mode 1 (asking first, as a
    // click does, when later moves would be cut), in the open diagram in mode 2 → false, with
    // nothing changed, in other modes or when the cut question was cancelled.
    bool Pass();
    // Right button pressed: in mode 3 removes the mark there; in every mode reloads the marks.
    void RightButtonDown(int x, int y);
    // Left button released: reloads the marks.
    void LeftButtonUp();
    // Pointer moved to (x, y): in modes 1 and 2 the preview stone follows it.
    void PointerMoved(int x, int y);
    // Pointer left the window: the preview goes.
    void PointerLeft();

  private:
    bool ConfirmCut();
    // False when the cut question was cancelled.
    bool PlayClick(const GridPoint& point);
    void DiagramClick(const GridPoint& point);
    // Makes the main line ready for a new move after the current one: cuts the later moves
    // once the user agreed, closes a diagram the move leaves → false when the question was
    // cancelled.
    bool MakeRoomOnMainLine();
    // Makes the open diagram ready for a new move at the current one: a fresh diagram before
    // its base or when empty, its later moves cut otherwise.
    void MakeRoomInDiagram();
    void MarkClick(const GridPoint& point);
    // Takes the preview stone off the board and forgets the hover point.
    void RemovePreview();
    // The rules' judgement of the stone a click would place at point (1-based): ForcedColour
    // in diagram input, else the colour to play. Judged on a copy of the rules.
    int JudgeStone(const GridPoint& point) const;
    // True when the judgement is legal; otherwise says why where the user clicked.
    bool AcceptStone(const GridPoint& point);
    // True when the stone to play could go on cell: not on a ko point either.
    bool PreviewAllowed(PointIndex cell) const;

    BoardLogic& logic_;
    BoardCanvas& canvas_;
    std::function<bool()> confirm_;
    std::function<void(int, int)> quizClick_;
    std::function<void(const GridPoint&, const std::string&)> notice_;
};

}  // namespace velmora
