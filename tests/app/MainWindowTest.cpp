#include "app/panes/ReferencePane.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QScreen>

#include "MainWindowFixture.h"
#include "app/AppInfo.h"
#include "app/MainLayout.h"
#include "app/dialogs/SplitDialog.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/ViewPane.h"
#include "platform/Messages.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

class MainWindowTest : public testing::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        window->SetMenuRunner([this](const std::vector<MenuItem>& items, QPoint) {
            menus.push_back(items);
            return nextChoice;
        });
    }
    bool Checked(int id) const { return window->FindControlAs<SkinButton>(id)->IsChecked(); }
    void PlaySomeMoves() {
        BoardLogic& b = window->Board().Logic();
        b.SetColourToPlay(2);
        b.PlayMainLineMove(4, 4, false);
        b.SetColourToPlay(1);
        b.PlayMainLineMove(16, 16, false);
    }

    std::vector<std::vector<MenuItem>> menus;
    int nextChoice = 0;
};

TEST_F(MainWindowTest, StartsOnTheInputTabWithEveryPane) {
    ASSERT_NE(window->Board().Control(), nullptr);
    EXPECT_TRUE(window->Board().Logic().SuppressClickNotify());
    EXPECT_EQ(window->CurrentTab(), 201);
    EXPECT_FALSE(window->Input()->isHidden());
    EXPECT_TRUE(window->View()->isHidden());
    EXPECT_TRUE(window->Reference()->isHidden());
    EXPECT_EQ(window->Board().Logic().Mode(), 1);
    EXPECT_TRUE(window->Split()->isHidden());
    EXPECT_EQ(window->GetShapeText(400), kVersionText);
}

TEST_F(MainWindowTest, SelectTabShowsOnlyItsPaneAndChecksOnlyItsButton) {
    const std::pair<int, QWidget*> tabs[] = {
        {200, window->View()}, {202, window->Reference()}, {201, window->Input()}};
    for (const auto& [tab, pane] : tabs) {
        window->SelectTab(tab);
        EXPECT_EQ(window->CurrentTab(), tab);
        for (int id : {200, 201, 202}) EXPECT_EQ(Checked(id), id == tab) << "tab " << tab << " button " << id;
        for (QWidget* p : {static_cast<QWidget*>(window->View()), static_cast<QWidget*>(window->Input()),
                           static_cast<QWidget*>(window->Reference())})
            EXPECT_EQ(p->isHidden(), p != pane) << "tab " << tab;
    }
}

TEST_F(MainWindowTest, TabCommandsAndPaneShortcutsSwitchPanes) {
    SendCommand(window.get(), 202);
    EXPECT_EQ(window->CurrentTab(), 202);
    SendCommand(window->Reference(), 800);  // the pane's shortcut to the view tab
    EXPECT_EQ(window->CurrentTab(), 200);
    EXPECT_FALSE(window->View()->isHidden());
}

TEST_F(MainWindowTest, PanesFollowTheLayoutOnEverySize) {
    for (const QSize size : {QSize(1200, 800), QSize(1600, 1000), QSize(900, 750)}) {
        window->resize(size);
        const QRect client(QPoint(0, 0), size);
        EXPECT_EQ(window->Board().geometry(), MainLayout::Compute(client, 0).boardPanel);
        EXPECT_EQ(window->History()->geometry(), MainLayout::Compute(client, 0).editHistory);
        EXPECT_EQ(window->View()->geometry(), MainLayout::Compute(client, window->View()->width()).sidePane);
    }
}

TEST_F(MainWindowTest, VendorLinksHideNearTheBottomAndReturn) {
    window->setMinimumSize(0, 0);
    window->resize(1030, 700);
    QWidget* last = window->FindControl(1140);
    ASSERT_NE(last, nullptr);
    EXPECT_GT(last->y() + last->height(), 700 - 70);
    EXPECT_TRUE(last->isHidden());
    EXPECT_FALSE(window->FindControl(1100)->isHidden());
    window->resize(1030, 774);
    EXPECT_FALSE(last->isHidden());
}

TEST_F(MainWindowTest, CloseAsksOnlyWithUnsavedEdits) {
    SendCommand(window.get(), 105);
    EXPECT_TRUE(prompter.asked().empty());  // nothing played

    // A record without moves can hold edits too (its information, a problem's comment).
    SetRecordModified(true);
    prompter.Answer(kAnswerCancel);
    SendCommand(window.get(), 105);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_NE(prompter.asked()[0].text.find("저장하지 않은 수정 내용이 있습니다."), std::string::npos);
    EXPECT_NE(prompter.asked()[0].text.find("닫기 전에"), std::string::npos);
    SetRecordModified(false);
    prompter.Clear();

    PlaySomeMoves();
    SendCommand(window.get(), 105);
    EXPECT_TRUE(prompter.asked().empty());  // not modified

    SetRecordModified(true);
    prompter.Answer(kAnswerNo);
    SendCommand(window.get(), 104);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNoCancel);

    prompter.Clear();
    prompter.Answer(kAnswerYes);
    SendCommand(window.get(), 105);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_EQ(prompter.asked()[1].kind, "save");  // Yes saves under a new name
}

// Escape on the close question must not lose the work: neither the question's Yes nor its No.
// The window manager's close asks too, and a save that does not happen keeps the window.
TEST_F(MainWindowTest, TheCloseQuestionKeepsTheWindowUnlessAnswered) {
    PlaySomeMoves();
    SetRecordModified(true);
    prompter.Answer(kAnswerCancel);  // Escape
    SendCommand(window.get(), 105);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());

    prompter.Answer(kAnswerYes);  // then the save dialog is cancelled
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    prompter.Answer(kAnswerCancel);
    EXPECT_FALSE(window->close());

    QTemporaryDir dir;
    const QString saved = dir.filePath("닫기 전.sgf");
    prompter.Answer(kAnswerYes);
    prompter.AnswerFile(saved.toStdString());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(RecordModified());
    EXPECT_EQ(prompter.asked().size(), 6u);  // four questions, two of them followed by a save dialog
}

// A record handed over by a second start replaces the open one only after the same question as
// a new record, when there are unsaved changes; the title names the program once.
TEST_F(MainWindowTest, AHandedOverRecordAsksBeforeReplacingUnsavedWork) {
    const std::string first = std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf";
    const std::string second = std::string(VELMORA_TEST_DATA) + "/sgf/standard-tree.sgf";
    const auto asked = [this] { return prompter.asked().size(); };

    window->OpenHandedOver(first);  // nothing unsaved: no question
    EXPECT_EQ(asked(), 0u);
    EXPECT_EQ(window->CurrentPath(), first);
    EXPECT_EQ(window->windowTitle().toStdString(), std::string(kAppTitle) + " - game_01.sgf");

    SetRecordModified(true);
    prompter.Answer(kAnswerCancel);
    window->OpenHandedOver(second);
    EXPECT_EQ(asked(), 1u);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNoCancel);
    EXPECT_EQ(window->CurrentPath(), first);
    EXPECT_TRUE(RecordModified());

    prompter.Answer(kAnswerNo);  // the edits go, the record opens unmodified
    window->OpenHandedOver(second);
    EXPECT_EQ(asked(), 2u);
    EXPECT_EQ(window->CurrentPath(), second);
    EXPECT_FALSE(RecordModified());
    EXPECT_EQ(window->windowTitle().toStdString(), std::string(kAppTitle) + " - standard-tree.sgf");
}

TEST_F(MainWindowTest, MenusListTheirItemsAndRunTheChoice) {
    nextChoice = 20003;
    SendCommand(window.get(), 1501);
    ASSERT_EQ(menus.size(), 1u);
    std::vector<int> ids;
    for (const MenuItem& m : menus[0]) ids.push_back(m.id);
    EXPECT_EQ(ids, (std::vector<int>{20001, 20002, 20003, 0, 20004, 0, 20011, 0, 104}));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "save");
    EXPECT_FALSE(window->FindControlAs<SkinButton>(1501)->IsPressed());

    nextChoice = 20008;
    SendCommand(window.get(), 1503);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1][0].text, "버전정보 V1.0");
    EXPECT_EQ(menus[1][1].id, 0);
    nextChoice = 0;
    SendCommand(window.get(), 300);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[2].back().text, "도움말");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://baduk.velmora.example/board/?menu=11");
}

TEST_F(MainWindowTest, VendorLinksOpenTheRedirectPage) {
    for (int id : {1100, 1130, 1140, 1200}) SendCommand(window.get(), id);
    const std::string redirect = "https://baduk.velmora.example/user/redirect.zelone?param=";
    EXPECT_EQ(opened, (std::vector<std::string>{redirect + "main", redirect + "column", redirect + "lecture",
                                                redirect + "main"}));
}

TEST_F(MainWindowTest, OpeningARecordReplaysItAndShowsTheViewTab) {
    EXPECT_EQ(window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf"), 0);
    EXPECT_GT(window->Board().Logic().Record().MainLineLength(), 0);
    EXPECT_TRUE(window->Board().SequenceInProgress());
    EXPECT_EQ(window->CurrentPath(), std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf");
    QApplication::processEvents();  // the posted view tab
    EXPECT_EQ(window->CurrentTab(), 200);
}

TEST_F(MainWindowTest, ARefusedRecordLeavesTheOpenOneAlone) {
    const std::string opened = std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf";
    window->OpenRecordFile(opened);
    const int moves = window->Board().Logic().Record().MainLineLength();
    SetRecordModified(true);

    // A 30×30 board through the dialog, then a file that is not there by path; the edits may go.
    prompter.Answer(kAnswerNo);
    prompter.AnswerFile(std::string(VELMORA_TEST_DATA) + "/sgf/size30.sgf");
    EXPECT_EQ(window->OpenRecordDialog(), 0);
    prompter.Answer(kAnswerNo);
    window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/no-such-record.sgf");

    ASSERT_EQ(prompter.asked().size(), 5u);
    EXPECT_EQ(prompter.asked()[2].kind, "message");
    EXPECT_NE(prompter.asked()[2].text.find("SZ[30]"), std::string::npos);
    EXPECT_EQ(prompter.asked()[4].kind, "message");
    EXPECT_NE(prompter.asked()[4].text.find("(파일이 없습니다)"), std::string::npos);
    // Save still writes to the record that is shown, and the edits still count as unsaved.
    EXPECT_EQ(window->CurrentPath(), opened);
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), moves);
    EXPECT_TRUE(RecordModified());
}

TEST_F(MainWindowTest, AMoveThatCutsTheLineDisablesTheForwardButtons) {
    window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf");
    SendCommand(window.get(), 201);
    SendCommand(&window->Board(), 110);  // back to the start
    const QWidget* forward = window->Board().FindControl(113);
    ASSERT_NE(forward, nullptr);
    EXPECT_TRUE(forward->isEnabled());

    prompter.Answer(kAnswerOk);  // discard the later moves
    BoardControl* board = window->Board().Control();
    ASSERT_NE(board, nullptr);
    const QPoint tengen = board->Canvas().Geometry().PointCentre(9, 9);
    board->Input().LeftButtonDown(tengen.x(), tengen.y());
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 1);
    for (int id : {113, 114, 115}) EXPECT_FALSE(window->Board().FindControl(id)->isEnabled()) << id;
}

TEST_F(MainWindowTest, TheViewPaneShowsOnlyTheOpenRecordsPlayers) {
    window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/cp949.sgf");
    const auto* view = window->findChild<ViewPane*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetShapeText(1101), "이세돌(9단)");
    window->OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/large.sgf");  // no players
    EXPECT_EQ(view->GetShapeText(1101), "");
    EXPECT_EQ(view->GetShapeText(1102), "");
}

TEST_F(MainWindowTest, RestoringAWindowThatStartedMaximisedCentresIt) {
    const QSize skinSize = window->size();
    window.reset();
    window = std::make_unique<MainWindow>();
    ASSERT_TRUE(window->Create(true));
    window->show();
    window->Restore();
    const QPoint centre = window->screen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 2);
    EXPECT_EQ(window->size(), skinSize);
}

TEST_F(MainWindowTest, NewRecordQuestionDecidesOnSaving) {
    EXPECT_TRUE(window->StartNewRecord());  // nothing to lose: no question
    SetRecordModified(true);
    prompter.Answer(kAnswerCancel);
    EXPECT_FALSE(window->StartNewRecord());
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_NE(prompter.asked()[1].text.find("새 기보를 시작하기 전에"), std::string::npos);

    PlaySomeMoves();
    prompter.Answer(kAnswerCancel);
    window->StartNewRecord();
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 2);  // cancelled

    // "Save first" whose save dialog is cancelled keeps unsaved edits.
    prompter.Answer(kAnswerYes);
    EXPECT_FALSE(window->StartNewRecord());
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 2);
    SetRecordModified(false);
    prompter.Clear();

    // Moves with nothing unsaved (just saved) go without a question.
    window->StartNewRecord();
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "size");
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 0);
    EXPECT_TRUE(window->CurrentPath().empty());

    // The input pane's button asks the same question.
    PlaySomeMoves();
    SetRecordModified(true);
    prompter.Answer(kAnswerNo);
    SendCommand(window->findChild<InputPane*>(), InputPane::kNewRecordButton);
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 0);
}

TEST_F(MainWindowTest, PlacementQuestionIsAnOkCancelPopup) {
    prompter.Answer(kAnswerCancel);
    EXPECT_EQ(window->ConfirmPlacement(), kAnswerCancel);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, "착수를 하시면 이전 착수데이터는 삭제됩니다.<br> 착수하시겠습니까?<br>");
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsOkCancel);
}

}  // namespace
}  // namespace velmora
