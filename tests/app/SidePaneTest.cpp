#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "MainWindowFixture.h"
#include "app/panes/InputPane.h"
#include "app/panes/ReferenceList.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ViewPane.h"
#include "game/BoardLogic.h"
#include "platform/Messages.h"
#include "skin/PaneStack.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

// Moves on a spaced grid never touch, so nothing is ever captured.
GridPoint SpacedPoint(int i) {
    return {1 + 2 * (i % 10), 1 + 2 * (i / 10)};
}

class SidePaneTest : public testing::MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        view = window->View();
        input = window->Input();
        reference = window->Reference();
    }
    BoardLogic& Board() { return window->Board().Logic(); }
    void PlayMoves(int count) {
        for (int i = Board().CurrentMove(); i < count; ++i) {
            Board().SetColourToPlay(i % 2 ? kWhite : kBlack);
            ASSERT_TRUE(Board().PlayMainLineMove(SpacedPoint(i).x, SpacedPoint(i).y, false));
        }
    }
    // Diagram moves go between the grid's stones.
    void PlayDiagramMoves(int count) {
        for (int k = 0; k < count; ++k) ASSERT_TRUE(Board().PlayDiagramMove(2, 2 + 2 * k, false));
    }
    void Type(SkinWindow* pane, int id, const std::string& text) {
        QWidget* w = pane->FindControl(id);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(QString::fromStdString(text));
        if (auto* e = qobject_cast<QPlainTextEdit*>(w))
            e->setPlainText(QString::fromStdString(text));
    }
    void Choose(SkinWindow* pane, int id, int index) {
        auto* c = pane->FindControlAs<QComboBox>(id);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    std::vector<std::string> ListEntries() {
        std::vector<std::string> entries;
        auto* list = reference->FindControlAs<QTreeWidget>(500);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            entries.push_back(list->topLevelItem(i)->text(0).toStdString());
        return entries;
    }
    void Refresh() { SendMessage(window.get(), UM_REFRESH_PANE); }

    ViewPane* view = nullptr;
    InputPane* input = nullptr;
    ReferencePane* reference = nullptr;
};

// Inside a diagram the panes speak of its base: labels, commentary shown and commentary edited.
// Inside a diagram the lists and numbers speak of its base, the commentary boxes of the diagram
// move on the board: its own comment, edited in place and kept in the stored diagram.
TEST_F(SidePaneTest, InsideADiagramThePanesSpeakOfItsBaseAndTheCommentOfItsMove) {
    SendCommand(window.get(), 201);  // play mode
    PlayMoves(40);
    Board().Record().SetCommentary(30, "move 30");
    Board().JumpToMove(30);
    SendCommand(window.get(), 200);  // the view lists move 30's diagrams now, not again below
    SendCommand(window.get(), 201);
    Board().EnterDiagramInput();
    PlayDiagramMoves(3);
    // Stored and shown: a diagram never added does not follow the user into the view tab.
    const std::string key = Board().CommitDiagram();
    ASSERT_TRUE(Board().OpenStoredDiagram(key));
    Board().Record().SetDiagramMoveText(3, "diagram move 3");
    Board().JumpToMove(33);
    ASSERT_EQ(Board().CurrentMove(), 33);

    Refresh();
    EXPECT_EQ(input->GetShapeText(500), "참고도 3수 해설 보기 입력/수정");
    EXPECT_EQ(input->GetControlText(420), "diagram move 3");
    SendCommand(window.get(), 202);
    EXPECT_EQ(reference->GetShapeText(203), "참고도 3수 해설 보기 입력/수정");
    EXPECT_EQ(reference->GetShapeText(204), "30수 참고도 해설 입력/수정");
    EXPECT_EQ(reference->GetShapeText(304), "30수 참고도 목록");
    EXPECT_EQ(reference->GetShapeText(305), "30수");
    EXPECT_EQ(reference->GetControlText(602), "diagram move 3");
    SendCommand(window.get(), 200);
    EXPECT_EQ(view->GetShapeText(1111), "참고도 3수 해설 보기");
    EXPECT_EQ(view->GetShapeText(311), "30수 참고도 보기");
    EXPECT_EQ(view->GetControlText(1110), "diagram move 3");
    ASSERT_EQ(Board().CurrentMove(), 33);

    // Loading the box is not an edit, and an edit goes to the move the box shows.
    EXPECT_FALSE(RecordModified());
    Type(reference, 602, "diagram move 3, edited");
    EXPECT_EQ(Board().Record().GetCommentary(30), "move 30");
    EXPECT_EQ(Board().Record().GetDiagramMove(3)->text, "diagram move 3, edited");
    EXPECT_EQ(Board().Record().StoredDiagramMap().at(key).moves.at(3).text, "diagram move 3, edited");
    EXPECT_TRUE(RecordModified());
    // At the base, the boxes speak of the base move again.
    Board().JumpToMove(30);
    SendCommand(window.get(), 202);
    EXPECT_EQ(reference->GetControlText(602), "move 30");
}

TEST_F(SidePaneTest, CommentaryIsStoredOnEveryChangeMoveZerosAsTheOpening) {
    SendCommand(window.get(), 201);
    Type(input, 420, "before the first move");
    EXPECT_EQ(Board().Record().OpeningCommentary(), "before the first move");
    EXPECT_TRUE(RecordModified());
    SetRecordModified(false);
    PlayMoves(2);
    Refresh();
    Type(input, 420, "second");
    EXPECT_EQ(Board().Record().GetCommentary(2), "second");
    Board().JumpToMove(1);
    EXPECT_EQ(input->GetControlText(420), "");
    Board().JumpToMove(2);
    EXPECT_EQ(input->GetControlText(420), "second");
}

TEST_F(SidePaneTest, ReferenceListNamesEachDiagramAndItsPlace) {
    PlayMoves(12);
    std::vector<std::string> keys;
    for (int kind : {0, 3}) {
        Board().JumpToMove(12);
        Board().EnterDiagramInput();
        PlayDiagramMoves(kind + 1);
        Board().Record().SetKindAndText(kind, "");
        keys.push_back(window->StoreReferenceDiagram());
        ASSERT_GT(keys.back().size(), 4u);
    }
    SendCommand(window.get(), 202);
    // The list follows the record's key order.
    const int problemRow = keys[1] > keys[0] ? 1 : 0;
    std::vector<std::string> expected = {"[12수 참고도] 1", "[12수 문제도] 2"};
    if (problemRow == 0) expected = {"[12수 문제도] 1", "[12수 참고도] 2"};
    EXPECT_EQ(ListEntries(), expected);

    // Column 0 opens the diagram, column 1 deletes it once the user agrees.
    reference->ClickListEntry(problemRow, 0);
    EXPECT_EQ(Board().Record().OpenDiagramKey(), keys[1]);
    EXPECT_EQ(Board().CurrentMove(), 16);
    prompter.Answer(kAnswerNo);
    reference->ClickListEntry(problemRow, 1);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, "<br>[12수 문제도] " + std::to_string(problemRow + 1) +
                                            ReferencePane::kDeleteQuestion);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNo);
    EXPECT_EQ(Board().Record().StoredDiagramMap().size(), 2u);
    EXPECT_EQ(Board().Record().OpenDiagramKey(), keys[1]);
    prompter.Answer(kAnswerYes);
    reference->ClickListEntry(problemRow, 1);
    EXPECT_EQ(Board().Record().StoredDiagramMap().size(), 1u);
    EXPECT_EQ(Board().DiagramBase(), -1);  // the deleted diagram left the board too
    EXPECT_EQ(ListEntries(), std::vector<std::string>{"[12수 참고도] 1"});
    reference->ClickListEntry(5, 1);  // no such row
    EXPECT_EQ(Board().Record().StoredDiagramMap().size(), 1u);
}

TEST_F(SidePaneTest, ViewPaneListsTheMovesDiagramsLedByTheirKind) {
    SendCommand(window.get(), 201);
    PlayMoves(6);
    Board().JumpToMove(3);
    Board().EnterDiagramInput();
    PlayDiagramMoves(2);
    Board().Record().SetKindAndText(kDiagramAnswer, "참고도-word");
    const std::string key = window->StoreReferenceDiagram();
    ASSERT_GT(key.size(), 4u);

    // Opened from the reference list in play mode, then the view tab: the list is rebuilt for
    // move 3 and the board returns to the main line there.
    Board().JumpToMove(6);
    SendCommand(window.get(), 202);
    window->ShowReferenceDiagram(key);
    ASSERT_EQ(Board().CurrentMove(), 5);
    SendCommand(window.get(), 200);
    ASSERT_EQ(view->ReferenceEntries().size(), 1u);
    EXPECT_EQ(view->ReferenceEntries()[0].caption, "[3수 정답도] 1");
    EXPECT_EQ(view->ReferenceEntries()[0].text, "정답도-word");
    EXPECT_EQ(Board().Record().StoredDiagramMap().at(key).text, "word");
    EXPECT_EQ(Board().DiagramBase(), -1);
    EXPECT_EQ(Board().CurrentMove(), 3);
    EXPECT_TRUE(Board().Marks().empty());

    // A pane per diagram: opening it shows the diagram, closing it the main line again.
    PaneStack& stack = view->List()->Stack();
    ASSERT_EQ(stack.PaneCount(), 1);
    EXPECT_EQ(stack.Header(0)->Caption(), "[3수 정답도] 1");
    EXPECT_EQ(stack.Content(0)->findChild<QPlainTextEdit*>()->toPlainText().toStdString(),
              "정답도-word");
    stack.ClickHeader(stack.Header(0)->Id());
    QCoreApplication::processEvents();
    EXPECT_EQ(Board().Record().OpenDiagramKey(), key);
    EXPECT_EQ(Board().CurrentMove(), 5);
    EXPECT_EQ(stack.PaneCount(), 1);
    stack.ClickHeader(stack.Header(0)->Id());
    QCoreApplication::processEvents();
    EXPECT_EQ(Board().DiagramBase(), -1);
    EXPECT_EQ(Board().CurrentMove(), 3);

    const SkinShape* emptyNotice = view->List()->FindShape(100);
    ASSERT_NE(emptyNotice, nullptr);
    EXPECT_FALSE(emptyNotice->visible);

    Board().JumpToMove(4);
    EXPECT_TRUE(view->ReferenceEntries().empty());
    EXPECT_EQ(stack.PaneCount(), 0);
    EXPECT_TRUE(emptyNotice->visible);  // and says so
    EXPECT_EQ(view->List()->GetShapeText(100), "이 수의 참고도가 없습니다.");
}

TEST_F(SidePaneTest, AddingAndSavingDiagramsAnswerWithTheirMessages) {
    PlayMoves(5);
    SendCommand(window.get(), 202);
    Board().EnterDiagramInput();
    SendCommand(reference, ReferencePane::kAddButton);  // no moves, no text
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, ReferencePane::kNothingToAdd);
    EXPECT_TRUE(Board().Record().StoredDiagramMap().empty());

    // Save on a diagram never added asks first; No leaves everything as it was.
    Board().EnterDiagramInput();
    PlayDiagramMoves(2);
    Choose(reference, 300, 4);
    Type(reference, 601, "line\r\nnext");
    prompter.Answer(kAnswerNo);
    SendCommand(reference, ReferencePane::kSaveButton);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[1].text, ReferencePane::kAddQuestion);
    EXPECT_EQ(prompter.asked()[1].buttons, kButtonsYesNo);
    EXPECT_TRUE(Board().Record().StoredDiagramMap().empty());
    EXPECT_EQ(Board().Record().CurrentDiagram().text, "");

    // Yes adds it, with the kind chosen and the text without carriage returns.
    prompter.Answer(kAnswerYes);
    SendCommand(reference, ReferencePane::kSaveButton);
    ASSERT_EQ(Board().Record().StoredDiagramMap().size(), 1u);
    const auto& [key, stored] = *Board().Record().StoredDiagramMap().begin();
    EXPECT_EQ(stored.kind, 4);
    EXPECT_EQ(stored.text, "line\nnext");
    EXPECT_EQ(reference->GetControlText(601), "");

    // The same diagram again is refused.
    Board().OpenStoredDiagram(key);
    Refresh();
    SendCommand(reference, ReferencePane::kAddButton);
    EXPECT_EQ(prompter.asked().back().text, ReferencePane::kDuplicate);
    EXPECT_EQ(Board().Record().StoredDiagramMap().size(), 1u);

    // Save on a stored diagram replaces it under its key.
    Choose(reference, 300, 0);
    Board().OpenStoredDiagram(key);
    Refresh();
    EXPECT_EQ(reference->GetControlText(601), "line\nnext");
    EXPECT_EQ(reference->GetControlText(300), "정답도");
    Choose(reference, 300, 1);
    Type(reference, 601, "scene");
    const size_t asked = prompter.asked().size();
    SendCommand(reference, ReferencePane::kSaveButton);
    EXPECT_EQ(prompter.asked().size(), asked);
    ASSERT_EQ(Board().Record().StoredDiagramMap().size(), 1u);
    EXPECT_EQ(Board().Record().StoredDiagramMap().at(key).kind, 1);
    EXPECT_EQ(Board().Record().StoredDiagramMap().at(key).text, "scene");
}

// A diagram entered but never added would leave the file without a word; a save offers it.
TEST_F(SidePaneTest, ASaveOffersTheDiagramBeingEntered) {
    PlayMoves(5);
    SendCommand(window.get(), 202);
    Board().EnterDiagramInput();
    PlayDiagramMoves(2);
    QTemporaryDir dir;
    const std::string path = dir.filePath("참고도.sgf").toStdString();
    const auto saveAs = [&](int answer) {
        prompter.Clear();
        prompter.Answer(answer);
        prompter.AnswerFile(path);
        EXPECT_TRUE(window->SaveRecordAs());
    };
    saveAs(kAnswerNo);  // saved as it is: the record has no diagram yet
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[0].text, ReferencePane::kAddBeforeSaving);
    EXPECT_TRUE(Board().Record().StoredDiagramMap().empty());

    saveAs(kAnswerYes);
    EXPECT_EQ(Board().Record().StoredDiagramMap().size(), 1u);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The record, the empty node that ends the game for other readers, the diagram's variation.
    EXPECT_EQ(file.readAll().count('('), 3);

    saveAs(kAnswerYes);  // nothing left to offer: only the file dialog
    EXPECT_EQ(prompter.asked().size(), 1u);
}

TEST_F(SidePaneTest, StoneAndMarkInputFollowTheChoices) {
    PlayMoves(3);  // black played last
    SendCommand(window.get(), 202);
    auto* stones = reference->FindControlAs<SkinButton>(400);
    auto* marks = reference->FindControlAs<SkinButton>(401);
    marks->SetChecked(true);
    SendCommand(reference, 401);
    EXPECT_EQ(Board().Mode(), kModeMarks);
    EXPECT_TRUE(reference->FindControl(404)->isEnabled());
    reference->FindControlAs<SkinButton>(404)->SetChecked(true);  // capitals
    Type(reference, 423, "Y");
    Choose(reference, 421, 0);  // marks alone
    SendCommand(reference, 404);
    EXPECT_EQ(Board().Tool().kind, kNaviLabelCapital);
    EXPECT_EQ(Board().Tool().text, "Y");
    EXPECT_EQ(Board().Tool().fixedUnderlay, -1);
    // An empty start field starts at the set's first label, so no label is ever blank.
    Type(reference, 423, "");
    EXPECT_EQ(Board().Tool().text, "A");
    reference->FindControlAs<SkinButton>(402 + kNaviLabelSyllable)->SetChecked(true);
    reference->FindControlAs<SkinButton>(404)->SetChecked(false);
    Type(reference, 422, "");
    SendCommand(reference, 402 + kNaviLabelSyllable);
    EXPECT_EQ(Board().Tool().text, "가");

    stones->SetChecked(true);
    SendCommand(reference, 400);
    EXPECT_EQ(Board().Mode(), kModeDiagram);
    EXPECT_FALSE(reference->FindControl(404)->isEnabled());
    EXPECT_EQ(Board().ColourToPlay(), kWhite);
    Choose(reference, 420, 1);  // black only
    EXPECT_EQ(Board().ForcedColour(), kBlack);
    EXPECT_EQ(Board().ColourToPlay(), kBlack);
}

TEST_F(SidePaneTest, ViewPaneTextsOfTheGameInformation) {
    GameInfo info;
    info.blackName = "이름";
    info.blackRank = "3단";
    info.mainTimeHours = "1";
    info.mainTimeSeconds = "30";
    view->ShowInfo(info);
    EXPECT_EQ(view->GetShapeText(1101), "이름(3단)");
    EXPECT_EQ(view->GetShapeText(1105), "1시간30초");
    EXPECT_EQ(view->GetShapeText(1106), "");  // not a lone "/"
    info.komiText = "6.5";
    view->ShowInfo(info);
    EXPECT_EQ(view->GetShapeText(1106), "6.5");  // no trailing slash without a handicap
    info.blackName.clear();  // a deleted name goes from the pane too
    view->ShowInfo(info);
    EXPECT_EQ(view->GetShapeText(1101), "");
}

// Loaded values survive the form untouched: long texts, odd dates, ranks the list lacks.
TEST_F(SidePaneTest, TheFormWritesBackWhatItWasNotAskedToChange) {
    GameInfo& info = window->File().Info();
    info.year = "April 14-15, 1957";
    info.gameName = std::string(80, 'g');
    info.blackRank = "7단 (아마)";
    info.whiteRank = "5급";
    input->LoadForm(info);
    EXPECT_EQ(input->GetControlText(403), "April 14-15, 1957");
    EXPECT_EQ(input->FindControlAs<QComboBox>(901)->currentIndex(),
              input->FindControlAs<QComboBox>(901)->count() - 1);
    EXPECT_EQ(input->GetControlText(902), "5급");

    GameInfo saved;
    input->SaveForm(saved);
    EXPECT_EQ(saved.year, "April 14-15, 1957");
    EXPECT_EQ(saved.gameName, std::string(80, 'g'));
    EXPECT_EQ(saved.blackRank, "7단 (아마)");

    // An edit reaches the record at once; the untouched fields stay as loaded.
    Type(input, 404, "4");
    Choose(input, 901, 0);
    EXPECT_EQ(info.month, "4");
    EXPECT_EQ(info.blackRank, "9단");
    EXPECT_EQ(info.year, "April 14-15, 1957");
    EXPECT_TRUE(RecordModified());
    // The limit still holds for typing.
    EXPECT_EQ(input->FindControlAs<QLineEdit>(404)->maxLength(), 2);
}

TEST_F(SidePaneTest, HandicapChoiceBeforeTheFirstMoveAndANewRecordStartingAfresh) {
    SendCommand(window.get(), 201);
    Choose(input, InputPane::kHandicapCombo, 1);  // 정선
    EXPECT_EQ(input->GetControlText(414), "정선");
    EXPECT_EQ(window->File().Info().handicapText, "정선");
    EXPECT_TRUE(Board().HandicapStones().empty());
    Choose(input, InputPane::kHandicapCombo, 3);  // 3점접바둑
    EXPECT_EQ(Board().HandicapStones().size(), 3u);
    EXPECT_EQ(Board().ColourToPlay(), kWhite);

    PlayMoves(1);
    Refresh();
    EXPECT_FALSE(input->FindControl(InputPane::kHandicapCombo)->isEnabled());

    // A cancelled new record keeps the choice; a new one starts again at 호선.
    SetRecordModified(true);
    prompter.Answer(kAnswerCancel);
    SendCommand(input, InputPane::kNewRecordButton);
    EXPECT_EQ(input->GetControlText(InputPane::kHandicapCombo), "3점접바둑");
    prompter.Answer(kAnswerNo);
    Type(view, 300, "1");  // a number typed before, in both move entries
    Type(input, 300, "1");
    Type(reference, 601, "a draft for the old record");
    SendCommand(input, InputPane::kNewRecordButton);
    EXPECT_EQ(input->GetControlText(InputPane::kHandicapCombo), "호선");
    EXPECT_EQ(input->GetControlText(414), "호선");
    EXPECT_EQ(window->File().Info().handicapText, "");  // shown, not written into the record
    EXPECT_EQ(reference->GetControlText(601), "");
    EXPECT_TRUE(input->FindControl(InputPane::kHandicapCombo)->isEnabled());
    // The move entries show the new record's move, and follow the board.
    EXPECT_EQ(input->GetControlText(300), "0");
    SendCommand(window.get(), 200);
    EXPECT_EQ(view->GetControlText(300), "0");
    PlayMoves(3);
    Refresh();
    EXPECT_EQ(view->GetControlText(300), "3");
}

}  // namespace
}  // namespace velmora
