#include "app/dialogs/SplitDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include "MainWindowFixture.h"
#include "app/panes/InputPane.h"
#include "platform/Messages.h"
#include "skin/SkinShape.h"

namespace velmora {
namespace {

class SplitDialogTest : public testing::MainWindowFixture {
protected:
    void Open(const char* name) {
        ASSERT_EQ(window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/gnugo/" + name), 0);
    }
    SplitDialog& Split() { return *window->Split(); }
    BoardLogic& Board() { return Split().Board()->Logic(); }
    void Command(int id) { SendCommand(&Split(), id); }
    void ApplyRange(const char* first, const char* last, const char* number) {
        Split().SetControlText(300, first);
        Split().SetControlText(301, last);
        Split().SetControlText(302, number);
        Command(105);
    }
    bool ForwardEnabled() {
        const bool on = Split().FindControl(113)->isEnabled();
        EXPECT_EQ(Split().FindControl(114)->isEnabled(), on);
        EXPECT_EQ(Split().FindControl(115)->isEnabled(), on);
        return on;
    }
    bool Shown(int id) { return !Split().FindControl(id)->isHidden(); }
};

TEST_F(SplitDialogTest, EachButtonOpensItsModeWithTheWholeRecord) {
    // An empty record: nothing to split, and both buttons say so rather than doing nothing.
    SendCommand(window->Input(), InputPane::kSplitButton);
    window->OnBoardPanelCommand(119);
    EXPECT_TRUE(Split().isHidden());
    ASSERT_EQ(prompter.asked().size(), 2u);
    for (const auto& asked : prompter.asked()) {
        EXPECT_EQ(asked.kind, "popup");
        EXPECT_NE(asked.text.find("기보에 아직 수순이 없습니다."), std::string::npos);
    }

    Open("game_01.sgf");
    SendCommand(window->Input(), InputPane::kSplitButton);
    ASSERT_TRUE(Split().isVisible());
    EXPECT_EQ(Split().CurrentMode(), SplitDialog::kSplit);
    EXPECT_EQ(Split().GetShapeText(400), "| 총보 나누기");
    EXPECT_EQ(Split().windowTitle().toStdString(), "총보 나누기");  // as the window system names it
    EXPECT_TRUE(Shown(300) && Shown(105));
    EXPECT_FALSE(Shown(500) || Shown(510));
    EXPECT_EQ(Board().Mode(), kModeView);
    EXPECT_EQ(Board().CurrentMove(), 260);
    EXPECT_EQ(Board().Range(), (RangeNumbering{true, 1, 260, 1}));
    EXPECT_EQ(Split().GetControlText(300) + "~" + Split().GetControlText(301) + "#" +
                  Split().GetControlText(302),
              "1~260#1");  // the edits name the range shown
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            EXPECT_EQ(Board().Rules().Grid().Get(x, y), window->Board().Logic().Rules().Grid().Get(x, y));
    EXPECT_FALSE(ForwardEnabled());
    EXPECT_EQ(Split().geometry().center(), window->geometry().center());

    // Showing again while visible changes nothing; the board pane's button after hiding
    // opens the try-placing mode.
    window->OnBoardPanelCommand(119);
    EXPECT_EQ(Split().CurrentMode(), SplitDialog::kSplit);
    Command(100);
    EXPECT_TRUE(Split().isHidden());
    window->OnBoardPanelCommand(119);
    EXPECT_EQ(Split().CurrentMode(), SplitDialog::kTryPlacing);
    EXPECT_EQ(Split().GetShapeText(400), "| 놓아보기");
    EXPECT_EQ(Split().windowTitle().toStdString(), "놓아보기");
    EXPECT_EQ(Split().GetShapeText(502), "수로");
    EXPECT_FALSE(Shown(300) || Shown(105));
    EXPECT_FALSE(Split().FindShape(401)->visible);  // the split edits' captions go with them
    EXPECT_TRUE(Shown(500) && Shown(501) && Shown(505) && Shown(506) && Shown(510));
    EXPECT_EQ(Board().Mode(), kModeDiagram);
    EXPECT_FALSE(Board().Range().on);
}

TEST_F(SplitDialogTest, ApplyingARangeNumbersItOrRefusesIt) {
    Open("game_02.sgf");
    SendCommand(window->Input(), InputPane::kSplitButton);
    ApplyRange("50", "100", "1");
    EXPECT_EQ(Board().CurrentMove(), 100);
    EXPECT_EQ(Board().Range(), (RangeNumbering{true, 50, 100, 1}));
    EXPECT_TRUE(prompter.asked().empty());

    // Backwards, beyond the record, below 1 or not a number: the message, an empty board.
    for (const auto& [first, last, number] :
         std::vector<std::array<const char*, 3>>{{"60", "40", "1"},
                                                 {"1", "261", "1"},
                                                 {"0", "40", "1"},
                                                 {"10", "40", "x"}}) {
        prompter.Clear();
        ApplyRange(first, last, number);
        ASSERT_EQ(prompter.asked().size(), 1u) << first << " " << last << " " << number;
        EXPECT_EQ(prompter.asked()[0].text, kSplitRangeMessage);
        EXPECT_EQ(Board().CurrentMove(), 0);
        EXPECT_EQ(Board().Record().MainLineLength(), 0);
    }
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 260);  // the record is whole

    // Enter in an edit applies the range as the button does.
    prompter.Clear();
    Split().SetControlText(300, "20");
    Split().SetControlText(301, "30");
    Split().SetControlText(302, "1");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Split().FindControl(302), &enter);
    EXPECT_EQ(Board().CurrentMove(), 30);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(SplitDialogTest, NavigationAndTryingMovesLeaveTheRecordAlone) {
    Open("game_03.sgf");
    window->OnBoardPanelCommand(119);
    Command(110);
    EXPECT_EQ(Board().CurrentMove(), 0);
    EXPECT_TRUE(ForwardEnabled());
    Command(114);
    EXPECT_EQ(Board().CurrentMove(), 10);
    Command(113);
    Command(112);
    Command(111);
    EXPECT_EQ(Board().CurrentMove(), 0);
    Split().SetControlText(500, "255");
    Command(501);
    EXPECT_EQ(Board().CurrentMove(), 255);
    Command(114);
    EXPECT_EQ(Board().CurrentMove(), 260);
    EXPECT_FALSE(ForwardEnabled());
    // The navigation keys step this board as its buttons do.
    for (const int key : {Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Right}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(Split().Board(), &press);
    }
    EXPECT_EQ(Board().CurrentMove(), 250);
    // And the wheel, a move a notch, towards the user forward.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Split(), &wheel);  // from its board, which leaves the wheel to it
    EXPECT_EQ(Board().CurrentMove(), 252);
    EXPECT_EQ(window->Board().Logic().CurrentMove(), 260);  // the main board stays

    // A tried move at move 40 goes into the dialog's own diagram only.
    Split().SetControlText(500, "40");
    Command(501);
    int x = 1, y = 1;
    while (!IsLegalMove(Board().Rules().CheckMove(x, y))) {
        if (++x > 19) x = 1, ++y;
    }
    ASSERT_EQ(Board().PlayDiagramMove(x, y, false), 1);
    EXPECT_EQ(Board().CurrentMove(), 41);
    Board().Notify(UM_BOARD_CLICKED);
    EXPECT_FALSE(ForwardEnabled());  // the tried line ends here
    Command(510);
    EXPECT_EQ(Board().CurrentMove(), 40);
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 260);
    EXPECT_EQ(window->Board().Logic().Record().GetMainLineMove(41)->x,
              Board().Record().GetMainLineMove(41)->x);

    const int numbers = Board().NumberDisplay();
    Command(505);
    EXPECT_NE(Board().NumberDisplay(), numbers);
    Command(506);
    EXPECT_TRUE(Board().CoordinatesShown());
}

}  // namespace
}  // namespace velmora
