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

std::string BoardInput::RefusalReason(int checkResult) {
    if (IsLegalMove(checkResult)) return {};
    if (checkResult & kMoveOccupied) return "이미 돌이 놓인 자리입니다.";
    if (checkResult & kMoveKo) return "패: 방금 따낸 돌은 바로 되따낼 수 없습니다.<br>다른 곳에 한 수 둔 다음에 따낼 수 있습니다.";
    if (checkResult & kMoveSuicide) return "착수 금지: 놓으면 활로가 하나도 없는 자리입니다.";
    return "둘 수 없는 자리입니다.";
}

int BoardInput::JudgeStone(const GridPoint& point) const {
    // The judgement runs on a copy: checking a point records it as the last move and capture,
    // which would upset the ko test of the next real move.
    RulesEngine probe = logic_.Rules();
    probe.SetColourToPlay(logic_.NextStoneColour());
    return probe.CheckMove(point.x, point.y);
}

bool BoardInput::AcceptStone(const GridPoint& point) {
    const int result = JudgeStone(point);
    if (IsLegalMove(result)) return true;
    if (notice_) notice_(point, RefusalReason(result));
    return false;
}

bool BoardInput::PlayClick(const GridPoint& point) {
    // Judged before the cut question: a refused stone must not cost the record its later moves.
    if (!AcceptStone(point)) return true;
    if (!MakeRoomOnMainLine()) return false;
    logic_.PlayMainLineMove(point.x, point.y, false);
    logic_.Notify(UM_REFRESH_PANE);
    return true;
}

bool BoardInput::MakeRoomOnMainLine() {
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
    return true;
}

void BoardInput::DiagramClick(const GridPoint& point) {
    // Judge first: a refused point must not cost the diagram the moves after the current one.
    if (!AcceptStone(point)) return;
    MakeRoomInDiagram();
    logic_.PlayDiagramMove(point.x, point.y, false);
}

void BoardInput::MakeRoomInDiagram() {
    SetRecordModified(true);
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
}

bool BoardInput::Pass() {
    if (logic_.Mode() == kModePlay) {
        if (!MakeRoomOnMainLine()) return false;
        logic_.PlayPass(false);
        logic_.Notify(UM_REFRESH_PANE);
        return true;
    }
    if (logic_.Mode() == kModeDiagram) {
        MakeRoomInDiagram();
        logic_.PlayPass(true);
        return true;
    }
    return false;
}

void BoardInput::MarkClick(const GridPoint& point) {
    SetRecordModified(true);
    const MarkTool& tool = logic_.Tool();
    // A stone mark is its stone: without a fixed colour it alternates, as with no choice.
    const bool bare = tool.fixedUnderlay == -1 && tool.kind == kNaviStoneOnly;
    const int underlay =
        tool.fixedUnderlay != 0 && !bare ? tool.fixedUnderlay : tool.alternatingColour;
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
    // A preview promises the stone can go there; on a ko point it cannot.
    return IsLegalMove(JudgeStone(ToGridPoint(cell)));
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
