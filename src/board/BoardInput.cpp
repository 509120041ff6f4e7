#include "board/BoardInput.h"

#include "board/MarkLabels.h"
#include "game/NextMoveQuiz.h"
#include "game/RecordModified.h"
#include "platform/Prompter.h"

namespace velmora {

BoardInput::BoardInput(BoardLogic& logic, BoardCanvas& canvas) : logic_(logic), canvas_(canvas) {}

bool BoardInput::ConfirmCut() {
    if (confirm_) return confirm_();
    return Prompter::Current().Popup(kCutQuestion, kButtonsOkCancel) == kAnswerOk;
}

void BoardInput::LeftButtonDown(int x, int y) {
    const GridPoint point = HitTest(x, y);
    const int mode = logic_.Mode();
    if (point.x != -1) {
        switch (mode) {
            case kModePlay:
                // A cancelled cut question ends the click: nothing happened to report.
                if (!PlayClick(point)) return;
                break;
            case kModeDiagram:
                DiagramClick(point);
                break;
            case kModeMarks:
                MarkClick(point);
                break;
            default:
                if (!IsQuizMode(mode)) break;
                if (quizClick_) {
                    quizClick_(point.x, point.y);
                } else {
                    GuessNextMove(logic_, point.x, point.y);
                }
                break;
        }
    }
    const bool notifies =
        mode == kModeView || mode == kModePlay || mode == kModeDiagram || mode == kModePreview;
    if (notifies && !logic_.SuppressClickNotify()) logic_.Notify(UM_BOARD_CLICKED);
}

bool BoardInput::PlayClick(const GridPoint& point) {
    SetRecordModified(true);
    GameRecord& record = logic_.Record();
    const int current = logic_.CurrentMove();
    if (record.MainLineLength() > current) {
        if (!ConfirmCut()) return false;
        record.CutMainLine(current + 1);
        logic_.Notify(UM_STORY_QUERY, current);
    }
    const int base = record.OpenDiagramBase();
    if (base < 0 || current >= base) record.CloseDiagram();
    logic_.PlayMainLineMove(point.x, point.y, false);
    logic_.Notify(UM_REFRESH_PANE);
    return true;
}

void BoardInput::DiagramClick(const GridPoint& point) {
    SetRecordModified(true);
    // Judge first: a refused point must not cost the diagram the moves after the current one.
    RulesEngine probe = logic_.Rules();
    probe.SetColourToPlay(logic_.NextStoneColour());
    if (!IsLegalMove(probe.CheckMove(point.x, point.y))) return;
    GameRecord& record = logic_.Record();
    const int current = logic_.CurrentMove();
    const int base = record.OpenDiagramBase();
    const OpenDiagram& diagram = record.CurrentDiagram();
    if (!diagram.moves.empty()) {
        const int last = diagram.moves.rbegin()->first;
        if (current < base) {
            record.OpenNewDiagram(current);
        } else if (current - base < last) {
            record.CutDiagramMoves(current - base + 1);
        }
    } else if (diagram.startList.empty()) {
        record.OpenNewDiagram(current);
    }
    logic_.PlayDiagramMove(point.x, point.y, false);
}

void BoardInput::MarkClick(const GridPoint& point) {
    SetRecordModified(true);
    const MarkTool& tool = logic_.Tool();
    const int underlay = tool.fixedUnderlay != 0 ? tool.fixedUnderlay : tool.alternatingColour;
    const PointIndex cell = ToPointIndex(point);
    const NaviStone mark{cell.x, cell.y, underlay, tool.kind, tool.text};
    if (logic_.Record().SetNaviStone(logic_.CurrentMove(), mark)) canvas_.DrawMark(mark);
    logic_.SetMarkTool(AdvanceMarkTool(tool, underlay));
}

void BoardInput::RightButtonDown(int x, int y) {
    const PointIndex cell = ToPointIndex(HitTest(x, y));
    const bool removed = logic_.Mode() == kModeMarks && cell.x != -1 &&
                         logic_.Record().RemoveNaviStone(logic_.CurrentMove(), cell.x, cell.y);
    // The board draws from its copy of the marks: reload it before redrawing, or the removed
    // mark comes back. An emptied list is redrawn by the reload itself.
    logic_.ReloadMarksAfterInput();
    if (removed && !logic_.Marks().empty()) logic_.Refresh();
}

void BoardInput::LeftButtonUp() {
    logic_.ReloadMarksAfterInput();
}

void BoardInput::RemovePreview() {
    const PointIndex hover = logic_.HoverPoint();
    if (hover.x != -1) canvas_.RemovePreviewStone(hover.x, hover.y);
    logic_.SetHoverPoint(PointIndex{});
}

bool BoardInput::PreviewAllowed(PointIndex cell) const {
    // The judgement runs on a copy: checking a point records it as the last move and capture,
    // which would upset the ko test of the next real move.
    RulesEngine probe = logic_.Rules();
    probe.SetColourToPlay(logic_.NextStoneColour());
    const GridPoint point = ToGridPoint(cell);
    const int result = probe.CheckMove(point.x, point.y);
    return IsLegalMove(result) || result == kMoveKo;
}

void BoardInput::PointerMoved(int x, int y) {
    const int mode = logic_.Mode();
    if (mode != kModePlay && mode != kModeDiagram) return;
    const PointIndex q = ToPointIndex(HitTest(x, y));

    if (q.x == -1 || logic_.Record().HasNaviStoneAt(logic_.CurrentMove(), q.x, q.y)) {
        RemovePreview();
        return;
    }
    if (q == logic_.HoverPoint()) return;
    RemovePreview();
    if (!PreviewAllowed(q)) return;
    canvas_.DrawPreviewStone(q.x, q.y, logic_.NextStoneColour() == kBlack ? 1 : 2);
    logic_.SetHoverPoint(q);
}

void BoardInput::PointerLeft() { RemovePreview(); }

}  // namespace velmora
