#include "app/panes/DisplayMenu.h"

#include <QMenu>
#include <cctype>
#include <climits>

#include "app/PopupMenu.h"
#include "board/BoardCanvas.h"
#include "game/BoardLogic.h"

namespace velmora {
namespace {

constexpr const char* kHideNumbers = "수순 감추기";
constexpr const char* kGameNumbers = "실전수순 보기";
constexpr const char* kAllNumbers = "실전+참고도 보기";
constexpr const char* kDiagramNumbers = "참고도 수순 보기";

int RunQMenu(const DisplayMenuItems& menu, QPoint at) {
    const std::unique_ptr<QMenu> top = MakePopupMenu(true);
    for (const DisplaySubMenu& sub : menu) {
        QMenu* submenu = top->addMenu(QString::fromStdString(sub.title));
        for (const DisplayMenuItem& item : sub.items) {
            QAction* action = submenu->addAction(QString::fromStdString(item.text));
            action->setData(item.id);
            action->setCheckable(true);
            action->setChecked(item.checked);
        }
    }
    return RunPopupMenu(*top, at);
}

DisplayMenuRunner& Runner() {
    static DisplayMenuRunner runner;
    return runner;
}

std::function<void(CoordinateStyle)>& StyleChosen() {
    static std::function<void(CoordinateStyle)> chosen;
    return chosen;
}

}  // namespace

void SetDisplayMenuRunner(DisplayMenuRunner runner) {
    Runner() = std::move(runner);
}

int RunDisplayMenu(const DisplayMenuItems& menu, QPoint at) {
    return Runner() ? Runner()(menu, at) : RunQMenu(menu, at);
}

void SetCoordinateStyleChosen(std::function<void(CoordinateStyle style)> chosen) {
    StyleChosen() = std::move(chosen);
}

PaneDisplay::PaneDisplay(DisplayPane pane) : pane_(pane) {
    switch (pane) {
        case DisplayPane::kInput:
            numberText_ = kHideNumbers;
            break;
        case DisplayPane::kReference:
            numberText_ = kDiagramNumbers;
            break;
        case DisplayPane::kView:
            // Every number: a record opened shows its moves and diagrams numbered, and the
            // menu's check mark says so.
            numberText_ = kAllNumbers;
            break;
    }
}

DisplayMenuItems PaneDisplay::Menu() const {
    std::vector<DisplayMenuItem> numbers;
    if (pane_ == DisplayPane::kInput) {
        numbers = {{kCmdNumbersHidden, kHideNumbers, false}, {kCmdNumbersAll, kGameNumbers, false}};
    } else {
        numbers = {{kCmdNumbersHidden, kHideNumbers, false},
                   {kCmdNumbersAll, kAllNumbers, false},
                   {kCmdNumbersDiagram, kDiagramNumbers, false}};
    }
    for (DisplayMenuItem& item : numbers) item.checked = item.text == numberText_;
    const bool usual = BoardCoordinateStyle() == CoordinateStyle::kUsual;
    return {
        {"수순", numbers},
        {"좌표",
         {{kCmdCoordinatesOff, "좌표 감추기", !coordinates_},
          {kCmdCoordinatesOn, "좌표 보기", coordinates_},
          {kCmdCoordinatesClassic, "A–S, 줄은 위에서부터", !usual},
          {kCmdCoordinatesUsual, "A–T (I 없이), 줄은 아래에서부터", usual}}},
        {"기호",
         {{kCmdLastMoveOff, "최종수순 기호 숨기기", !lastMove_},
          {kCmdLastMoveOn, "최종수순 기호 표시", lastMove_}}},
    };
}

bool PaneDisplay::Apply(int id, BoardLogic& board) {
    switch (id) {
        case kCmdNumbersHidden:
        case kCmdNumbersAll:
        case kCmdNumbersDiagram: {
            const DisplayMenuItems menu = Menu();
            for (const DisplayMenuItem& item : menu.front().items) {
                if (item.id != id) continue;
                numberText_ = item.text;
                board.SetNumberDisplayFromText(numberText_);
                return true;
            }
            return false;
        }
        case kCmdCoordinatesOff:
        case kCmdCoordinatesOn:
            coordinates_ = id == kCmdCoordinatesOn;
            board.ShowCoordinates(coordinates_);
            return true;
        case kCmdCoordinatesClassic:
        case kCmdCoordinatesUsual: {
            const CoordinateStyle style =
                id == kCmdCoordinatesUsual ? CoordinateStyle::kUsual : CoordinateStyle::kClassic;
            SetBoardCoordinateStyle(style);
            if (StyleChosen()) StyleChosen()(style);
            // Choosing how they read means wanting to see them.
            coordinates_ = true;
            board.ShowCoordinates(true);
            return true;
        }
        case kCmdLastMoveOff:
        case kCmdLastMoveOn:
            lastMove_ = id == kCmdLastMoveOn;
            SetLastMoveMarkShown(lastMove_);
            board.Refresh();
            return true;
        default:
            return false;
    }
}

void PaneDisplay::ApplyNumberText(BoardLogic& board) const {
    board.SetNumberDisplayFromText(numberText_);
}

void PaneDisplay::Reset(BoardLogic& board) const {
    board.SetNumberDisplayFromText(numberText_);
    SetLastMoveMarkShown(lastMove_);
    board.ShowCoordinates(coordinates_);  // re-lays out and redraws the whole board
}

int TypedMoveNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) {
            value = INT_MAX;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace velmora
