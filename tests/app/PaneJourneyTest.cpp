// Journeys through the side panes, the board and the edit stories as a user takes them, each
// ending with save, reopen in a fresh window and compare. Each names the items of issue 26 it
// covers.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeWidget>

#include "MainWindowFixture.h"
#include "app/CommandIds.h"
#include "app/panes/DisplayMenu.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferenceList.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/StoryCard.h"
#include "app/panes/ViewPane.h"
#include "game/BoardPanelLogic.h"
#include "game/NextMoveQuiz.h"
#include "platform/Messages.h"
#include "skin/PaneStack.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

class PaneJourneyTest : public testing::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(temp.isValid());
        dir = temp.path().toStdString() + "/";
        window->resize(1400, 1000);
        SetDisplayMenuRunner([this](const DisplayMenuItems& menu, QPoint) {
            menus.push_back(menu);
            return 0;
        });
    }
    void TearDown() override {
        SetDisplayMenuRunner({});
        MainWindowFixture::TearDown();
    }

    // Copies source to dir + name and opens it as a double-click would.
    std::string OpenCopy(const std::string& source, const std::string& name) {
        const std::string path = dir + name;
        QFile::copy(QString::fromStdString(source), QString::fromStdString(path));
        window->OpenRecordFile(path);
        QApplication::processEvents();  // the view tab the open posts
        return path;
    }
    // The saved file opened in a fresh editor, as after a restart.
    void Reopen(const std::string& path) {
        window = std::make_unique<MainWindow>();
        ASSERT_TRUE(window->Create(false));
        window->resize(1400, 1000);
        window->OpenRecordFile(path);
        QApplication::processEvents();
    }
    BoardLogic& Main() { return window->Board().Logic(); }
    GameRecord& Record() { return Main().Record(); }
    void Tab(int tab) { SendCommand(window.get(), tab); }
    // An option button of pane pressed with the mouse: checked, then its command.
    void Press(SkinWindow* pane, int id) {
        if (auto* b = pane->FindControlAs<SkinButton>(id)) b->SetChecked(true);
        SendCommand(pane, id);
    }
    void Type(SkinWindow* pane, int id, const std::string& text) {
        QWidget* w = pane->FindControl(id);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(QString::fromStdString(text));
        if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->setPlainText(QString::fromStdString(text));
    }
    QPoint Pixel(const GridPoint& p) {
        return window->Board().Control()->Canvas().Geometry().PointCentre(p.x - 1, p.y - 1);
    }
    // A left click on the main board at p (1-based), pressed and released.
    void Click(const GridPoint& p) {
        BoardControl* board = window->Board().Control();
        const QPointF at = Pixel(p);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, board->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(board, &e);
        }
    }
    // The n-th empty point (counted from the top left) whose neighbours are empty too, so that
    // stones placed on such points never touch the position or each other.
    GridPoint OpenPoint(int n) {
        for (int y = 2; y <= 18; y += 2)
            for (int x = 2; x <= 18; x += 2) {
                bool open = true;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    open = open && Main().Cell(x - 1 + dx, y - 1 + dy).stone == 0;
                if (open && n-- == 0) return {x, y};
            }
        ADD_FAILURE() << "no open point";
        return {};
    }
    // The reference pane's list row of the diagram key, −1 when not listed.
    int ListRow(const std::string& key) {
        auto* list = window->Reference()->FindControlAs<QTreeWidget>(500);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(2).toStdString() == key) return i;
        return -1;
    }
    bool Asked(const std::string& text) {
        for (const auto& a : prompter.asked())
            if (a.text.find(text) != std::string::npos) return true;
        return false;
    }

    QTemporaryDir temp;
    std::string dir;
    std::vector<DisplayMenuItems> menus;
};

// Items 12, 13, 15 and 11. In the 참고도 tab a click enters a diagram, never a main-line move or
// a cut; leaving the tab or opening a listed diagram asks about the diagram being entered (취소
// stays, 예 adds, 아니오 discards); marks alone are a diagram that the save offers and then adds,
// and a story at its start comes back inside it.
TEST_F(PaneJourneyTest, ADiagramBeingEnteredIsNeverLostAndMarksAloneMakeOne) {
    const std::string path = OpenCopy(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf", "diagrams.sgf");
    const std::size_t fileDiagrams = Record().StoredDiagramMap().size();
    Tab(kTabInput);
    Main().JumpToMove(50);
    Tab(kTabReference);
    EXPECT_EQ(Main().Mode(), kModeDiagram);
    const GridPoint a = OpenPoint(0);
    const GridPoint b = OpenPoint(3);
    const GridPoint c = OpenPoint(6);
    const GridPoint d = OpenPoint(9);
    prompter.Clear();
    Click(a);
    Click(b);
    EXPECT_TRUE(prompter.asked().empty());  // no question about cutting the game
    EXPECT_EQ(Record().MainLineLength(), 260);
    EXPECT_EQ(Record().CurrentDiagram().moves.size(), 2u);
    Type(window->Reference(), 601, "흑의 다른 길");

    // Another tab: 취소 stays with the diagram, 예 adds it and goes.
    prompter.Answer(kAnswerCancel);
    Tab(kTabView);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, ReferencePane::kAddBeforeLeaving);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNoCancel);
    EXPECT_EQ(window->CurrentTab(), kTabReference);
    EXPECT_EQ(Record().CurrentDiagram().moves.size(), 2u);
    prompter.Answer(kAnswerYes);
    Tab(kTabInput);
    EXPECT_EQ(window->CurrentTab(), kTabInput);
    ASSERT_EQ(Record().DiagramsOfBase(50).size(), 1u);
    const std::string added = Record().DiagramsOfBase(50)[0].first;
    EXPECT_EQ(Main().DiagramBase(), -1);  // the input tab plays on the main line, no diagram shown

    // A listed diagram opened while another is entered: 아니오 discards the one entered.
    Tab(kTabReference);
    Click(c);
    ASSERT_EQ(Record().CurrentDiagram().moves.size(), 1u);
    prompter.Clear();
    prompter.Answer(kAnswerNo);
    window->Reference()->ClickListEntry(ListRow(added), 0);
    EXPECT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(Record().OpenDiagramKey(), added);
    EXPECT_EQ(Record().StoredDiagramMap().size(), fileDiagrams + 1);

    // A triangle on an empty point, by default with no stone under it.
    window->ShowReferenceDiagram("원래대로");
    Press(window->Reference(), 401);
    Press(window->Reference(), 407);
    EXPECT_EQ(Main().Mode(), kModeMarks);
    Click(d);
    ASSERT_EQ(Record().CurrentDiagram().startList.size(), 1u);
    EXPECT_EQ(Record().CurrentDiagram().startList[0].kind, kNaviTriangle);
    EXPECT_EQ(Record().CurrentDiagram().startList[0].underlay, -1);
    EXPECT_EQ(Main().Cell(d.x - 1, d.y - 1).stone, 0);

    // The save offers it, and 예 adds it.
    prompter.Clear();
    prompter.Answer(kAnswerYes);
    SendCommand(window.get(), kMenuSave);
    EXPECT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(Asked(ReferencePane::kAddBeforeSaving));
    EXPECT_FALSE(Asked(ReferencePane::kNothingToAdd));
    EXPECT_EQ(Record().DiagramsOfBase(50).size(), 2u);
    EXPECT_FALSE(RecordModified());

    // A story at that diagram's start (item 11) stays in the diagram.
    std::string marked;
    for (const auto& [key, diagram] : Record().DiagramsOfBase(50))
        if (diagram.moves.empty()) marked = key;
    window->ShowReferenceDiagram(marked);
    ASSERT_EQ(Main().CurrentMove(), 50);
    window->AddEditStory();
    SendCommand(window.get(), kMenuSave);

    Reopen(dir + "diagrams.sgfx");
    ASSERT_EQ(window->History()->StoryCount(), 1);
    EXPECT_FALSE(window->History()->Cards()[0]->Name().empty());
    Reopen(path);
    EXPECT_EQ(Record().MainLineLength(), 260);
    const auto diagrams = Record().DiagramsOfBase(50);
    ASSERT_EQ(diagrams.size(), 2u);
    int withMoves = 0, marksAlone = 0;
    for (const auto& [key, diagram] : diagrams) {
        if (diagram.moves.size() == 2 && diagram.text == "흑의 다른 길") ++withMoves;
        if (diagram.moves.empty() && diagram.startList.size() == 1 &&
            diagram.startList[0].kind == kNaviTriangle && diagram.startList[0].underlay == -1)
            ++marksAlone;
    }
    EXPECT_EQ(withMoves, 1);
    EXPECT_EQ(marksAlone, 1);
}

// Items 11, 13 and 14. The sample opens with its numbers shown and checked; its story inside a
// diagram recalls that diagram; a story taken in a diagram being entered is named when the
// diagram is added (the card recalled meanwhile asks first); deleting a diagram takes every
// story in it, and closing a story is an edit to save.
TEST_F(PaneJourneyTest, StoriesComeBackWhereTheyWereTaken) {
    const std::string samples = std::string(VELMORA_BIN_DIR) + "/samples/";
    QFile::copy(QString::fromStdString(samples + "sample.sgf"), QString::fromStdString(dir + "sample.sgf"));
    const std::string path = OpenCopy(samples + "sample.sgfx", "sample.sgfx");
    EditHistoryPane& stories = *window->History();
    ASSERT_EQ(stories.StoryCount(), 2);

    // The record shows its numbers, and the 수순 menu says which choice does it.
    EXPECT_EQ(Main().NumberDisplay(), kNumbersAll);
    SendCommand(window->View(), kCmdDisplayMenu);
    ASSERT_FALSE(menus.empty());
    std::vector<int> checked;
    for (const DisplayMenuItem& item : menus.back().front().items)
        if (item.checked) checked.push_back(item.id);
    EXPECT_EQ(checked, std::vector<int>{kCmdNumbersAll});

    // The second card points into a diagram: recalled, the board shows that diagram.
    StoryCard* inDiagram = stories.Cards()[1];
    ASSERT_FALSE(inDiagram->Name().empty());
    SendMessage(inDiagram, UM_BOARD_CLICKED);
    EXPECT_EQ(Record().OpenDiagramKey(), inDiagram->Name());
    EXPECT_EQ(Main().CurrentMove(), inDiagram->BoardIndex());
    EXPECT_GT(Main().CurrentMove(), Main().DiagramBase());
    EXPECT_EQ(window->CurrentTab(), kTabView);
    const std::string sampleDiagram = inDiagram->Name();
    window->AddEditStory();  // a second story in the same diagram
    ASSERT_EQ(stories.StoryCount(), 3);
    EXPECT_EQ(stories.Cards()[2]->Name(), sampleDiagram);

    // A new diagram entered at move 100, with a story at its second move.
    Tab(kTabReference);
    Press(window->Reference(), 400);  // 수순 입력
    window->ShowReferenceDiagram("원래대로");
    Main().JumpToMove(100);
    Click(OpenPoint(0));
    Click(OpenPoint(2));
    window->AddEditStory();
    ASSERT_EQ(stories.StoryCount(), 4);
    StoryCard* entered = stories.Cards()[3];

    // Recalling the first card asks about that diagram and names its story; 예 adds it.
    prompter.Clear();
    prompter.Answer(kAnswerYes);
    SendMessage(stories.Cards()[0], UM_BOARD_CLICKED);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_NE(prompter.asked()[0].text.find("(편집스토리 100수  정보도 동시에 삭제됩니다.)"), std::string::npos);
    ASSERT_EQ(Record().DiagramsOfBase(100).size(), 1u);
    const std::string newDiagram = Record().DiagramsOfBase(100)[0].first;
    EXPECT_EQ(entered->Name(), newDiagram);
    EXPECT_EQ(Main().CurrentMove(), stories.Cards()[0]->MoveNumber());

    // The sample's diagram deleted: both its stories go, and the question names both.
    Tab(kTabReference);
    Main().JumpToMove(inDiagram->MoveNumber());
    SendMessage(window.get(), UM_REFRESH_PANE);
    prompter.Clear();
    prompter.Answer(kAnswerYes);
    window->Reference()->ClickListEntry(ListRow(sampleDiagram), 1);
    ASSERT_EQ(prompter.asked().size(), 1u);
    const std::string story = std::to_string(inDiagram->MoveNumber()) + "수 ";
    EXPECT_NE(prompter.asked()[0].text.find("(편집스토리 " + story + story + " 정보도"), std::string::npos);
    QApplication::processEvents();
    ASSERT_EQ(stories.StoryCount(), 2);

    // Saved; then a story closed is an edit the next save keeps.
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    SendCommand(stories.Cards()[0], kStoryCloseButton);
    QApplication::processEvents();
    EXPECT_TRUE(RecordModified());
    SendCommand(window.get(), kMenuSave);

    Reopen(path);
    EditHistoryPane& reread = *window->History();
    ASSERT_EQ(reread.StoryCount(), 1);
    StoryCard* card = reread.Cards()[0];
    EXPECT_EQ(card->MoveNumber(), 100);
    SendMessage(card, UM_BOARD_CLICKED);
    EXPECT_EQ(Main().DiagramBase(), 100);
    EXPECT_EQ(Main().CurrentMove(), 102);
    EXPECT_EQ(Record().StoredDiagramMap().count(sampleDiagram), 0u);
}

// Items 16 and 17. A deleted player's name leaves the view pane; during a quiz a listed diagram
// asks the quiz's question (아니오 keeps the quiz and closes the entry, 예 stops it and shows
// the diagram with its panes); a wrong guess is said in the program's pop-up; 예 to the
// question of a navigation button stops the quiz and takes the step.
TEST_F(PaneJourneyTest, TheQuizAndTheViewPaneFollowWhatTheUserDid) {
    const std::string path = OpenCopy(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf", "quiz.sgf");
    ViewPane* view = window->View();
    ASSERT_FALSE(window->File().Info().blackName.empty());
    ASSERT_FALSE(view->GetShapeText(kViewBlackName).empty());
    Tab(kTabInput);
    Type(window->Input(), kInputBlackName, "");
    Main().JumpToMove(30);
    Tab(kTabReference);
    Press(window->Reference(), 400);  // 수순 입력
    Click(OpenPoint(0));
    SendCommand(window->Reference(), ReferencePane::kAddButton);
    ASSERT_EQ(Record().DiagramsOfBase(30).size(), 1u);
    Tab(kTabView);
    EXPECT_EQ(view->GetShapeText(kViewBlackName), "");
    ASSERT_EQ(view->List()->Stack().PaneCount(), 1);

    Press(view, ViewPane::kQuizAll);
    ASSERT_EQ(Main().Mode(), kModeQuizFour);
    const std::optional<MoveRecord> next = Record().GetMainLineMove(31);
    ASSERT_TRUE(next);
    prompter.Clear();
    Click({next->x % 19 + 1, next->y});
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "popup");
    EXPECT_EQ(prompter.asked()[0].text, kWrongGuessText);

    PaneStack& list = view->List()->Stack();
    prompter.Clear();
    prompter.Answer(kAnswerNo);
    list.ClickHeader(list.Header(0)->Id());
    QApplication::processEvents();
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, BoardPanelLogic::kQuizInterruptQuestion);
    EXPECT_EQ(Main().Mode(), kModeQuizFour);
    EXPECT_EQ(list.OpenIndex(), -1);
    EXPECT_EQ(Main().DiagramBase(), -1);
    prompter.Answer(kAnswerYes);
    list.ClickHeader(list.Header(0)->Id());
    QApplication::processEvents();
    EXPECT_EQ(Main().Mode(), kModeView);
    EXPECT_EQ(Main().DiagramBase(), 30);
    EXPECT_EQ(Main().CurrentMove(), 31);
    EXPECT_FALSE(view->FindControlAs<SkinButton>(ViewPane::kQuizAll)->IsChecked());
    EXPECT_EQ(view->GetShapeText(kViewDiagramsCaption), "30수 참고도 보기");
    EXPECT_EQ(list.OpenIndex(), 0);

    Press(view, ViewPane::kQuizAll);
    ASSERT_EQ(Main().Mode(), kModeQuizFour);
    ASSERT_EQ(Main().CurrentMove(), 30);
    prompter.Answer(kAnswerYes);
    SendCommand(&window->Board(), kCmdForward);
    EXPECT_EQ(Main().Mode(), kModeView);
    EXPECT_EQ(Main().CurrentMove(), 31);

    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    Reopen(path);
    EXPECT_EQ(window->File().Info().blackName, "");
    EXPECT_EQ(window->View()->GetShapeText(kViewBlackName), "");
    EXPECT_EQ(Record().DiagramsOfBase(30).size(), 1u);
    EXPECT_EQ(Record().MainLineLength(), 260);
}

// Item 18, which has nothing to save: a stone the rules refuse is explained beside the pointer,
// no preview promises it on a ko point, and a refused click before the end of the game neither
// asks about nor cuts the later moves.
TEST_F(PaneJourneyTest, ARefusedStoneIsExplainedWhereItWasClicked) {
    Tab(kTabInput);
    // Black's stone at (3,2) has just taken White's at (2,2): retaking there is a ko.
    const std::pair<GridPoint, int> moves[] = {
        {{1, 2}, kBlack}, {{4, 2}, kWhite}, {{2, 1}, kBlack}, {{3, 1}, kWhite}, {{2, 3}, kBlack},
        {{3, 3}, kWhite}, {{10, 10}, kBlack}, {{2, 2}, kWhite}, {{3, 2}, kBlack}};
    for (const auto& [p, colour] : moves) {
        Main().SetColourToPlay(colour);
        ASSERT_TRUE(Main().PlayMainLineMove(p.x, p.y, false));
    }
    ASSERT_EQ(Main().Cell(1, 1).stone, 0);
    BoardControl* board = window->Board().Control();
    const QPoint ko = Pixel({2, 2});
    board->Input().PointerMoved(ko.x(), ko.y());
    EXPECT_EQ(Main().HoverPoint(), PointIndex{});
    const QPoint free = Pixel({16, 16});
    board->Input().PointerMoved(free.x(), free.y());
    EXPECT_EQ(Main().HoverPoint(), (PointIndex{15, 15}));

    prompter.Clear();
    Click({2, 2});
    EXPECT_EQ(Record().MainLineLength(), 9);
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("패"));

    Main().JumpToMove(4);
    Click({1, 2});
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(Record().MainLineLength(), 9);
    EXPECT_TRUE(QToolTip::text().contains("이미 돌이"));
}

}  // namespace
}  // namespace velmora
