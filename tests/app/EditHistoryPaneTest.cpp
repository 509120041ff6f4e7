#include <QApplication>
#include <QTemporaryDir>
#include <fstream>

#include "MainWindowFixture.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/StoryCard.h"
#include "platform/Messages.h"

namespace velmora {
namespace {

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class EditHistoryPaneTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        window->resize(1400, 1000);
        window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf");
        QApplication::processEvents();
    }
    BoardLogic& Main() { return window->Board().Logic(); }
    EditHistoryPane& Pane() { return *window->History(); }
    StoryCard* AddAt(int move, int tab = -1) {
        Main().JumpToMove(move);
        window->AddEditStory(tab);
        return Pane().Cards().empty() ? nullptr : Pane().Cards().back();
    }
    // A stored diagram of one move hung on move base → its key.
    std::string StoreDiagramAt(int base, int x, int y) {
        Main().JumpToMove(base);
        Main().EnterDiagramInput();
        Main().PlayDiagramMove(x, y, false);
        return Main().CommitDiagram();
    }
};

TEST_F(EditHistoryPaneTest, ACardPreviewsTheMainBoardAndRecallsIt) {
    StoryCard* card = AddAt(40, 202);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->MoveNumber(), 40);
    EXPECT_EQ(card->GetShapeText(202), "40수");
    EXPECT_EQ(card->size(), QSize(150, 170));
    ASSERT_NE(card->Board(), nullptr);
    EXPECT_EQ(card->Board()->Logic().Mode(), 8);
    EXPECT_EQ(card->Board()->Logic().CurrentMove(), 40);
    for (int x = 0; x < 19; ++x)
        for (int y = 0; y < 19; ++y)
            ASSERT_EQ(card->Board()->Logic().Cell(x, y).stone, Main().Cell(x, y).stone);
    AddAt(60, 201);

    // A click on the first card's board brings back its move and tab, and lights only it.
    Main().JumpToMove(100);
    SendMessage(card, UM_BOARD_CLICKED);
    EXPECT_EQ(Main().CurrentMove(), 40);
    EXPECT_EQ(window->CurrentTab(), 202);
    EXPECT_TRUE(card->IsActive());
    EXPECT_FALSE(Pane().Cards()[1]->IsActive());
    SendMessage(Pane().Cards()[1], UM_BOARD_CLICKED);
    EXPECT_FALSE(card->IsActive());
    EXPECT_EQ(Main().CurrentMove(), 60);

    // Move 0 has no story, and the button says so; the eleventh is refused with the notice.
    Main().JumpToMove(0);
    window->AddEditStory();
    EXPECT_EQ(Pane().StoryCount(), 2);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "popup");
    EXPECT_NE(prompter.asked()[0].text.find("처음 장면에는 편집 스토리를 추가할 수 없습니다."), std::string::npos);
    for (int move = 10; Pane().StoryCount() < 10; move += 10) AddAt(move);
    EXPECT_EQ(prompter.asked().size(), 1u);
    AddAt(200);
    EXPECT_EQ(Pane().StoryCount(), 10);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[1].text, "<br>편집 스토리는 최대 10개까지만 추가가 가능합니다.");
    EXPECT_EQ(prompter.asked()[1].buttons, kButtonsOk);
    // Ten cards scroll to the end of the list.
    EXPECT_EQ(Pane().Scroller().ContentSize().height(), 1700);
    EXPECT_EQ(Pane().Cards().back()->geometry().bottom() + 1, Pane().height() - 0);
}

TEST_F(EditHistoryPaneTest, ACutOfTheMainLineAnnouncesAndDropsTheLaterStories) {
    for (int move : {40, 55, 70}) AddAt(move);
    EXPECT_EQ(Pane().DiscardAnnouncement(70), "");
    Main().JumpToMove(50);
    SendCommand(window.get(), 201);
    prompter.Answer(kAnswerOk);
    BoardControl* board = window->Board().Control();
    int x = 0;
    while (Main().Cell(x, 0).stone != 0) ++x;  // a free point of the top row
    const QPoint at = board->Canvas().Geometry().PointCentre(x, 0);
    board->Input().LeftButtonDown(at.x(), at.y());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text,
              "착수를 하시면 이전 착수데이터는 삭제됩니다.<br> 착수하시겠습니까?<br>"
              "(함께 지워지는 편집 스토리: 55수, 70수)");
    ASSERT_EQ(Pane().StoryCount(), 1);
    EXPECT_EQ(Pane().Cards()[0]->MoveNumber(), 40);
}

TEST_F(EditHistoryPaneTest, ClosingACardMovesTheNextOnesUp) {
    for (int move : {10, 20, 30}) AddAt(move);
    StoryCard* third = Pane().Cards()[2];
    EXPECT_EQ(third->y(), 340);
    SendCommand(Pane().Cards()[1], 100);
    EXPECT_TRUE(Pane().Cards()[1]->isHidden());
    QApplication::processEvents();  // the posted removal
    ASSERT_EQ(Pane().StoryCount(), 2);
    EXPECT_EQ(Pane().Cards()[1], third);
    EXPECT_EQ(third->y(), 170);

    const std::string key = StoreDiagramAt(30, 1, 1);
    ASSERT_FALSE(key.empty());
    window->ShowReferenceDiagram(key);
    window->AddEditStory();
    ASSERT_EQ(Pane().StoryCount(), 3);
    EXPECT_EQ(Pane().Cards()[2]->Name(), key);
    // The deletion question names the story that goes with the diagram, worded as a cut's.
    EXPECT_EQ(Pane().RemovalAnnouncement(key),
              "(함께 지워지는 편집 스토리: " + std::to_string(Pane().Cards()[2]->MoveNumber()) + "수)");
    EXPECT_EQ(Pane().RemovalAnnouncement("no such diagram"), "");
    window->DeleteReferenceDiagram(key);  // its story goes with it
    EXPECT_EQ(Pane().StoryCount(), 2);
    EXPECT_EQ(Pane().RemovalAnnouncement(key), "");
}

TEST_F(EditHistoryPaneTest, EveryStoryIsWrittenOnceAndReadBack) {
    // Two stories at the same move and board index, in two diagrams of that move.
    const std::string a = StoreDiagramAt(30, 1, 1);
    const std::string b = StoreDiagramAt(30, 2, 1);
    ASSERT_NE(a, b);
    for (const auto& [key, tab] : {std::pair{a, 202}, std::pair{b, 201}}) {
        Main().OpenStoredDiagram(key);
        window->AddEditStory(tab);
    }
    Main().LeaveDiagram();
    AddAt(80, 200);
    ASSERT_EQ(Pane().StoryCount(), 3);
    EXPECT_EQ(Pane().Cards()[0]->BoardIndex(), Pane().Cards()[1]->BoardIndex());
    for (int save = 0; save < 2; ++save) {
        const std::string text = window->File().ExtendedText(Pane());
        Pane().ClearWritten(true);
        EXPECT_EQ(Count(text, "HI["), 3) << save;
        EXPECT_EQ(Count(text, "HI[202]"), 1) << save;
        EXPECT_EQ(Count(text, "HI[201]"), 1) << save;
    }

    // Saved and opened again in a new editor: the same stories with their boards.
    QTemporaryDir temp;
    const std::string path = temp.path().toStdString() + "/stories.sgf";
    prompter.AnswerFile(path);
    ASSERT_TRUE(window->SaveRecordAs());
    window.reset();
    window = std::make_unique<MainWindow>();
    ASSERT_TRUE(window->Create(false));
    window->OpenRecordFile(temp.path().toStdString() + "/stories.sgfx");
    ASSERT_EQ(Pane().StoryCount(), 3);
    std::vector<int> moves, tabs;
    for (const StoryCard* card : Pane().Cards()) {
        moves.push_back(card->MoveNumber());
        tabs.push_back(card->Tab());
        EXPECT_EQ(card->Board()->Logic().CurrentMove(), card->BoardIndex());
        EXPECT_FALSE(card->IsUnsaved());
    }
    EXPECT_EQ(moves, (std::vector<int>{30, 30, 80}));
    EXPECT_EQ(tabs, (std::vector<int>{202, 201, 200}));
    EXPECT_FALSE(RecordModified());

    // Another program's story number, which names no tab, comes back as it was.
    const std::string other = temp.path().toStdString() + "/other.sgfx";
    std::ofstream(other) << "(;GM[1]FF[4]SZ[19];B[pd];W[dp]HI[0];B[pp])";
    window->OpenRecordFile(other);
    ASSERT_EQ(Pane().StoryCount(), 1);
    EXPECT_NE(window->File().ExtendedText(Pane()).find(";W[dp]HI[0]"), std::string::npos);
}

}  // namespace
}  // namespace velmora
