#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include "../game/BoardTestSupport.h"
#include "MainWindowFixture.h"
#include "app/panes/DisplayMenu.h"
#include "app/panes/InputPane.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ViewPane.h"
#include "board/BoardCanvas.h"
#include "game/NextMoveQuiz.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

// The main window with the quiz controls, the panes' display menus, the keys and the wheel.
class QuizDisplayTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        QApplication::setActiveWindow(window.get());
        SetDisplayMenuRunner([this](const DisplayMenuItems& menu, QPoint) {
            menus.push_back(menu);
            return nextChoice;
        });
    }
    void TearDown() override {
        SetDisplayMenuRunner({});
        SetLastMoveMarkShown(true);
        MainWindowFixture::TearDown();
    }

    BoardLogic& Board() { return window->Board().Logic(); }
    // A game of count moves, shown in the view pane at move `at`.
    void ViewGame(int count, int at) {
        SendCommand(window.get(), 201);
        test::PlaySparseGame(Board(), count);
        SendCommand(window.get(), 200);
        Board().JumpToMove(at);
    }
    // The display menu of pane, as it would drop down now: "id:checked" per item.
    std::vector<std::string> MenuOf(SidePane* pane) {
        nextChoice = 0;
        SendCommand(pane, kCmdDisplayMenu);
        std::vector<std::string> items;
        for (const DisplaySubMenu& sub : menus.back())
            for (const DisplayMenuItem& item : sub.items)
                if (item.checked) items.push_back(sub.title + ":" + std::to_string(item.id));
        return items;
    }
    bool Checked(int id) { return window->View()->FindControlAs<SkinButton>(id)->IsChecked(); }
    bool Shown(int id) {
        const QWidget* c = window->View()->FindControl(id);
        return c->isVisible() && c->isEnabled();
    }
    void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
             const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(to, &press);
    }
    void Wheel(int delta) {
        BoardControl* board = window->Board().Control();
        const QPointF at(board->width() / 2.0, board->height() / 2.0);
        QWheelEvent wheel(at, board->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(board, &wheel);
    }

    std::vector<DisplayMenuItems> menus;
    int nextChoice = 0;
};

TEST_F(QuizDisplayTest, QuizControlsStartSwitchAndStopTheVariants) {
    ViewGame(40, 10);
    ViewPane* view = window->View();
    EXPECT_EQ(Board().Mode(), kModeView);
    SendCommand(view, ViewPane::kQuizAll);
    EXPECT_EQ(Board().Mode(), kModeQuizFour);
    EXPECT_TRUE(Checked(313));
    EXPECT_EQ(Board().NumberDisplay(), kNumbersAll);  // the pane's "실전+참고도 보기" applies again

    SendCommand(view, ViewPane::kQuizNoHints);
    EXPECT_EQ(Board().Mode(), kModeQuizPlain);
    EXPECT_TRUE(Shown(316));
    EXPECT_FALSE(Shown(315));
    SendCommand(view, ViewPane::kQuizHints);
    EXPECT_EQ(Board().Mode(), kModeQuizFour);
    EXPECT_TRUE(Shown(315));
    EXPECT_FALSE(Shown(316));

    // Another variant replaces the first; black's move 11 is played for the user.
    SendCommand(view, ViewPane::kQuizWhite);
    EXPECT_EQ(Board().Mode(), kModeQuizWhite);
    EXPECT_EQ(Board().CurrentMove(), 11);
    EXPECT_TRUE(Checked(312));
    EXPECT_FALSE(Checked(313));

    // A wrong click on the board is answered; a navigation button asks first and, with Yes,
    // stops the quiz and takes its step.
    BoardControl* board = window->Board().Control();
    const std::optional<MoveRecord> next = Board().Record().GetMainLineMove(12);
    const QPoint wrong = board->Canvas().Geometry().PointCentre(next->x % 19, next->y - 1);
    board->Input().LeftButtonDown(wrong.x(), wrong.y());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, kWrongGuessText);
    prompter.Answer(kAnswerYes);
    SendCommand(&window->Board(), 113);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[1].buttons, kButtonsYesNo);
    EXPECT_EQ(Board().Mode(), kModeView);
    EXPECT_EQ(Board().CurrentMove(), 12);
    for (int id : {311, 312, 313}) EXPECT_FALSE(Checked(id)) << id;

    // Leaving the pane ends its quiz; back there the board views, so a click cannot cut moves.
    SendCommand(view, ViewPane::kQuizBlack);
    SendCommand(window.get(), 201);
    EXPECT_EQ(Board().Mode(), kModePlay);
    SendCommand(window.get(), 200);
    EXPECT_EQ(Board().Mode(), kModeView);
    EXPECT_FALSE(Checked(311));
}

TEST_F(QuizDisplayTest, EachPaneChecksItsOwnChoices) {
    // Initial: the view pane shows every number, and its menu checks that.
    EXPECT_EQ(MenuOf(window->View()),
              (std::vector<std::string>{"수순:3002", "좌표:3011", "좌표:3013", "기호:3022"}));
    EXPECT_EQ(MenuOf(window->Input()),
              (std::vector<std::string>{"수순:3001", "좌표:3011", "좌표:3013", "기호:3022"}));
    EXPECT_EQ(MenuOf(window->Reference()),
              (std::vector<std::string>{"수순:3003", "좌표:3011", "좌표:3013", "기호:3022"}));
    EXPECT_EQ(menus.back()[0].items.size(), 3u);
    EXPECT_EQ(menus.back()[0].items[1].text, "실전+참고도 보기");
    EXPECT_EQ(menus[1][0].items.size(), 2u);  // the input pane's two number items
    EXPECT_EQ(menus[1][0].items[1].text, "실전수순 보기");

    // Choices made in the reference pane change the board, not the other panes' marks.
    nextChoice = kCmdNumbersAll;
    SendCommand(window->Reference(), kCmdDisplayMenu);
    EXPECT_EQ(Board().NumberDisplay(), kNumbersAll);
    SendCommand(window->Reference(), kCmdCoordinatesOn);
    EXPECT_TRUE(Board().CoordinatesShown());
    SendCommand(window->Reference(), kCmdLastMoveOff);
    EXPECT_FALSE(LastMoveMarkShown());
    EXPECT_EQ(MenuOf(window->Reference()),
              (std::vector<std::string>{"수순:3002", "좌표:3012", "좌표:3013", "기호:3021"}));
    EXPECT_EQ(MenuOf(window->Input()),
              (std::vector<std::string>{"수순:3001", "좌표:3011", "좌표:3013", "기호:3022"}));

    // The view pane's reset brings its own choices back to the board.
    window->View()->ResetDisplay();
    EXPECT_EQ(Board().NumberDisplay(), kNumbersAll);
    EXPECT_FALSE(Board().CoordinatesShown());
    EXPECT_TRUE(LastMoveMarkShown());
}

TEST_F(QuizDisplayTest, CoordinatesShrinkTheBoardByOneCellWhenNeeded) {
    BoardControl* board = window->Board().Control();
    board->resize(400, 400);
    ASSERT_EQ(board->Canvas().Geometry().cell, 19);
    SendCommand(window->Input(), kCmdCoordinatesOn);
    EXPECT_EQ(board->Canvas().Geometry().cell, 18);
    SendCommand(window->Input(), kCmdCoordinatesOff);
    EXPECT_EQ(board->Canvas().Geometry().cell, 19);
}

TEST_F(QuizDisplayTest, TheTypedMoveNumberIsReadAsANumber) {
    EXPECT_EQ(TypedMoveNumber(" 42수"), 42);
    EXPECT_EQ(TypedMoveNumber("-3"), -3);
    EXPECT_EQ(TypedMoveNumber("수"), 0);
    EXPECT_EQ(TypedMoveNumber("99999999999"), 2147483647);

    ViewGame(30, 30);
    window->View()->SetControlText(300, "12");
    SendCommand(window->View(), kCmdJumpToTyped);
    EXPECT_EQ(Board().CurrentMove(), 12);
    EXPECT_TRUE(window->Board().FindControl(113)->isEnabled());
    // Typed past the end: the board stops at the last move, and the entry says so and hands
    // the keys back to the board.
    QWidget* entry = window->View()->FindControl(300);
    entry->setFocus();
    window->View()->SetControlText(300, "99");
    SendCommand(window->View(), kCmdJumpToTyped);
    EXPECT_EQ(Board().CurrentMove(), 30);
    EXPECT_FALSE(window->Board().FindControl(113)->isEnabled());
    EXPECT_EQ(window->View()->GetControlText(300), "30");
    EXPECT_EQ(QApplication::focusWidget(), window->Board().Control());

    // Enter in either entry jumps as the button does.
    const std::tuple<int, SidePane*, int> entries[] = {{201, window->Input(), 8},
                                                       {200, window->View(), 5}};
    for (const auto& [tab, pane, move] : entries) {
        SendCommand(window.get(), tab);
        QWidget* typed = pane->FindControl(300);
        typed->setFocus();
        pane->SetControlText(300, std::to_string(move));
        Key(typed, Qt::Key_Return);
        EXPECT_EQ(Board().CurrentMove(), move);
    }
}

TEST_F(QuizDisplayTest, KeysAndTheWheelStepLikeTheButtonsUnlessATextFieldHasTheFocus) {
    ViewGame(100, 10);
    Wheel(-120);
    EXPECT_EQ(Board().CurrentMove(), 11);
    Wheel(240);
    EXPECT_EQ(Board().CurrentMove(), 9);
    Wheel(-60);  // half a notch waits for the other half
    EXPECT_EQ(Board().CurrentMove(), 9);
    Wheel(-60);
    EXPECT_EQ(Board().CurrentMove(), 10);

    Board().JumpToMove(95);
    Key(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(Board().CurrentMove(), 100);
    Key(window.get(), Qt::Key_PageUp);
    EXPECT_EQ(Board().CurrentMove(), 90);
    Key(window.get(), Qt::Key_Left);
    EXPECT_EQ(Board().CurrentMove(), 89);
    Key(window.get(), Qt::Key_Right);
    EXPECT_EQ(Board().CurrentMove(), 90);
    Key(window.get(), Qt::Key_Home);
    EXPECT_EQ(Board().CurrentMove(), 0);
    Key(window.get(), Qt::Key_End);
    EXPECT_EQ(Board().CurrentMove(), 100);

    // Typing commentary in the input pane types and never steps.
    SendCommand(window.get(), 201);
    Board().JumpToMove(50);
    auto* commentary = window->Input()->FindControlAs<QPlainTextEdit>(420);
    ASSERT_NE(commentary, nullptr);
    commentary->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), commentary);
    Key(commentary, Qt::Key_A, Qt::NoModifier, "a");
    Key(commentary, Qt::Key_Left);
    Key(commentary, Qt::Key_End);
    Key(commentary, Qt::Key_PageDown);
    EXPECT_EQ(commentary->toPlainText(), "a");
    EXPECT_EQ(Board().CurrentMove(), 50);
    // Escape hands the keys back to the board.
    Key(commentary, Qt::Key_Escape);
    Key(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(Board().CurrentMove(), 51);

    // The view pane's commentary only shows text: the keys still step there.
    SendCommand(window.get(), 200);
    auto* shown = window->View()->FindControlAs<QPlainTextEdit>(1110);
    ASSERT_TRUE(shown && shown->isReadOnly());
    shown->setFocus();
    Key(shown, Qt::Key_Left);
    EXPECT_EQ(Board().CurrentMove(), 50);

    // During a quiz a key asks, like the button.
    SendCommand(window->View(), ViewPane::kQuizAll);
    prompter.Answer(kAnswerNo);
    Key(window.get(), Qt::Key_Right);
    EXPECT_EQ(Board().CurrentMove(), 50);
    EXPECT_EQ(Board().Mode(), kModeQuizFour);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNo);
}

TEST_F(QuizDisplayTest, ShortcutsRunTheirCommands) {
    Key(window.get(), Qt::Key_O, Qt::ControlModifier);
    Key(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[0].kind, "open");
    EXPECT_EQ(prompter.asked()[1].kind, "save");
    // Ctrl+N empties the record, as the input pane's button does, and ends a quiz on it.
    ViewGame(3, 1);
    SendCommand(window->View(), ViewPane::kQuizAll);
    SetRecordModified(true);
    prompter.Answer(kAnswerNo);
    Key(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Board().Record().MainLineLength(), 0);
    EXPECT_EQ(Board().Mode(), kModeView);
    EXPECT_FALSE(Checked(313));
}

}  // namespace
}  // namespace velmora
