// Journeys through the real main window as a user takes them: the files, the side panes, the
// board and the edit stories, each ending with save, reopen in a fresh window and compare.

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QUrl>
#include <sys/stat.h>
#include <algorithm>
#include <functional>
#include <fstream>
#include <sstream>
#include <tuple>

#include "MainWindowFixture.h"
#include "app/CommandIds.h"
#include "app/dialogs/BoardSizeDialog.h"
#include "app/dialogs/DialogIds.h"
#include "app/dialogs/LibraryDialog.h"
#include "app/document/Recovery.h"
#include "app/panes/DisplayMenu.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferenceList.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/StoryCard.h"
#include "app/panes/ViewPane.h"
#include "app/KeyControl.h"
#include "game/BoardPanelLogic.h"
#include "game/NextMoveQuiz.h"
#include "platform/Messages.h"
#include "skin/PaneStack.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

using testing::ReadAll;

class JourneyTest : public testing::MainWindowFixture {
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
    // A fixture's path.
    static std::string Data(const std::string& fixture) { return std::string(VELMORA_TEST_DATA) + "/" + fixture; }
    // Copies source to dir + name and opens it as a double-click would.
    std::string OpenCopy(const std::string& source, const std::string& name) {
        const std::string path = dir + name;
        QFile::copy(QString::fromStdString(source), QString::fromStdString(path));
        window->OpenRecordFile(path);
        QApplication::processEvents();  // the view tab the open posts
        return path;
    }
    // Types text as the commentary of move in the input tab.
    void Comment(int move, const std::string& text) {
        SendCommand(window.get(), kTabInput);
        window->Board().Logic().JumpToMove(move);
        SendMessage(window.get(), UM_REFRESH_PANE);
        window->Input()->SetControlText(kInputCommentary, text);
    }
    // A fresh main window, as at the next start, with path opened.
    void Reopen(const std::string& path) {
        window = std::make_unique<MainWindow>();
        ASSERT_TRUE(window->Create(false));
        window->resize(1400, 1000);
        window->OpenRecordFile(path);
        QApplication::processEvents();
    }
    int FileDialogs() const {
        return static_cast<int>(std::count_if(prompter.asked().begin(), prompter.asked().end(),
                                              [](const auto& a) { return a.kind == "save"; }));
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

// Save As makes the new file the one worked on: its name in the title, later saves (the toolbar
// button and Yes in the close question) written there without asking a name, the original left
// as it was; a bare name gains ".SGF" and asks before replacing that file. The title marks
// unsaved changes, a save says where it wrote, and the file menu lists both records.
TEST_F(JourneyTest, SaveAsContinuesInTheNewFileAndEverySaveQuestionSavesInPlace) {
    const std::string original = OpenCopy(Data("gnugo/game_01.sgf"), "original.sgf");
    const std::string before = ReadAll(original);
    EXPECT_TRUE(window->windowTitle().endsWith("original.sgf"));
    Comment(10, "첫 수정");
    EXPECT_TRUE(window->windowTitle().endsWith("original.sgf *"));

    prompter.AnswerFile(dir + "renamed");
    SendCommand(window.get(), kMenuSaveAs);
    const std::string renamed = dir + "renamed.SGF";
    EXPECT_EQ(window->CurrentPath(), renamed);
    EXPECT_TRUE(window->windowTitle().endsWith("renamed.SGF"));
    EXPECT_EQ(window->GetShapeText(kShapeStatus).rfind("renamed.SGF 에 저장했습니다", 0), 0u);
    EXPECT_FALSE(RecordModified());
    const std::string savedAs = ReadAll(renamed);

    Comment(20, "둘째 수정");
    window->OnBoardPanelCommand(kCmdSave);  // the toolbar's 저장
    EXPECT_EQ(FileDialogs(), 1);            // only Save As asked a name
    const std::string savedInPlace = ReadAll(renamed);
    EXPECT_NE(savedInPlace, savedAs);

    // The same bare name again: the file it makes exists, and No keeps it.
    Comment(30, "셋째 수정");
    prompter.AnswerFile(dir + "renamed");
    prompter.Answer(kAnswerNo);
    EXPECT_FALSE(window->SaveRecordAs());
    EXPECT_EQ(ReadAll(renamed), savedInPlace);

    prompter.Answer(kAnswerYes);  // the close question
    EXPECT_TRUE(window->close());
    EXPECT_EQ(FileDialogs(), 2);
    EXPECT_EQ(ReadAll(original), before);
    const std::vector<std::string> recent = window->Document().RecentPaths();
    EXPECT_EQ(recent, (std::vector<std::string>{renamed, original}));

    window = std::make_unique<MainWindow>();
    ASSERT_TRUE(window->Create(false));
    window->Document().SetRecentPaths(recent, {});
    const std::vector<MenuItem> menu = FileMenu(window->Document().RecentPaths());
    EXPECT_TRUE(std::any_of(menu.begin(), menu.end(), [](const MenuItem& m) {
        return m.id == kMenuRecent && m.text.find("renamed.SGF") != std::string::npos;
    }));
    SendCommand(window.get(), kMenuRecent);  // the file menu's newest record
    EXPECT_EQ(window->CurrentPath(), renamed);
    const GameRecord& record = window->Board().Logic().Record();
    EXPECT_EQ(record.GetCommentary(10), "첫 수정");
    EXPECT_EQ(record.GetCommentary(20), "둘째 수정");
    EXPECT_EQ(record.GetCommentary(30), "셋째 수정");
    EXPECT_EQ(record.MainLineLength(), 260);
}

// Records opened one after another: the form shows exactly the record that is open, and a save
// writes back what the user changed and nothing of the record before.
TEST_F(JourneyTest, TheFormShowsOnlyTheOpenRecordAndKeepsWhatIsTyped) {
    const auto write = [this](const std::string& name, const std::string& text) {
        std::ofstream(dir + name, std::ios::binary) << text;
        return dir + name;
    };
    const std::string first = write("first.sgf", "(;GM[1]FF[4]SZ[19]DT[2023]PB[갑]PW[을]TM[3600];B[pd];W[dp])");
    const std::string second = write("second.sgf", "(;GM[1]FF[4]SZ[19]DT[2023-10-05]PB[병];B[dd];W[pp];B[pq])");
    window->OpenRecordFile(first);
    QApplication::processEvents();
    window->OpenRecordFile(second);
    QApplication::processEvents();
    SendCommand(window.get(), kTabInput);
    window->Input()->SetControlText(kInputMainTimeMinutes, "120");
    SendCommand(window.get(), kMenuSave);

    const std::string saved = ReadAll(second);
    EXPECT_NE(saved.find("DT[2023-10-05]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("TM[7200]"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("PW["), std::string::npos) << saved;

    Reopen(second);
    EXPECT_EQ(window->File().Info().mainTimeHours, "2");
    EXPECT_EQ(window->File().Info().month, "10");
}

// The dates @sabaki/sgf reads in the DT of the record at path ("[[2023,10]]"); "" without it.
std::string OtherReaderDates(const std::string& path) {
    QProcess node;
    node.start("node", {"-e", "const s=require(process.argv[1]);const d=s.parseFile(process.argv[2])[0].data.DT;"
                              "console.log(JSON.stringify(s.parseDates(d[0])))",
                        VELMORA_TEST_DATA "/../record/oracle/node_modules/@sabaki/sgf", QString::fromStdString(path)});
    return node.waitForFinished(20000) ? node.readAllStandardOutput().trimmed().toStdString() : "";
}

// Each date form fills the boxes it names (the first of several dates) and goes back as read
// while untouched; once a box is edited the boxes are saved, as another program reads them.
TEST_F(JourneyTest, DatesFillTheirBoxesAndAreSavedAsTheyRead) {
    const std::string path = dir + "date.sgf";
    for (const auto& [date, shown, box, typed, saved, read] :
         std::vector<std::tuple<std::string, std::string, int, std::string, std::string, std::string>>{
             {"2023", "2023||", 0, "", "2023", "[[2023]]"},
             {"2023-10", "2023|10|", 0, "", "2023-10", "[[2023,10]]"},
             {"1996-05-06,07", "1996|05|06", 0, "", "1996-05-06,07", "[[1996,5,6],[1996,5,7]]"},
             {"April 14-15, 1957", "||April 14-15, 1957", 0, "", "April 14-15, 1957", "null"},
             {"2023", "2023||", kInputMonth, "10", "2023-10", "[[2023,10]]"},
             {"2023-10", "2023|10|", kInputDay, "5", "2023-10-05", "[[2023,10,5]]"},
             {"1996-12-27,1997-01-03", "1996|12|27", kInputYear, "1995", "1995-12-27", "[[1995,12,27]]"}}) {
        std::ofstream(path, std::ios::binary) << "(;GM[1]FF[4]SZ[19]DT[" + date + "];B[pd])";
        Reopen(path);
        Tab(kTabInput);
        const auto boxes = [this] {
            return window->Input()->GetControlText(kInputYear) + "|" + window->Input()->GetControlText(kInputMonth) +
                   "|" + window->Input()->GetControlText(kInputDay);
        };
        EXPECT_EQ(boxes(), shown) << date;
        Type(window->Input(), box ? box : kInputPlace, typed);
        SendCommand(window.get(), kMenuSave);
        EXPECT_NE(ReadAll(path).find("DT[" + saved + "]"), std::string::npos) << ReadAll(path);
        const std::string other = OtherReaderDates(path);
        EXPECT_TRUE(other.empty() || other == read) << saved << " read by another program as " << other;
    }
    Reopen(path);
    Tab(kTabInput);
    EXPECT_EQ(window->Input()->GetControlText(kInputYear), "1995");
}

// The file menu's records opened last, newest first without repeats: each entry opens the record
// it names, which a save then writes; a file that has gone is said to be missing and leaves.
TEST_F(JourneyTest, TheRecentListOpensTheRecordItNames) {
    std::vector<std::string> stored;
    window->Document().SetRecentPaths({dir + "gone.sgf", dir + "gone.sgf"}, [&](const auto& paths) { stored = paths; });
    std::vector<std::string> paths;
    for (const std::string name : {"one", "two", "three"}) {
        paths.push_back(dir + name + ".sgf");
        std::ofstream(paths.back(), std::ios::binary) << "(;GM[1]FF[4]SZ[19]PB[" + name + "];B[pd])";
        window->OpenRecordFile(paths.back());
        QApplication::processEvents();
    }
    SendCommand(window.get(), kMenuSave);  // the status line names three.sgf
    SendCommand(window.get(), kMenuRecent + 1);  // "2 two.sgf"
    EXPECT_EQ(window->File().Info().blackName, "two");
    EXPECT_EQ(window->GetShapeText(kShapeStatus), "");
    EXPECT_EQ(stored, (std::vector<std::string>{paths[1], paths[2], paths[0], dir + "gone.sgf"}));
    SendCommand(window.get(), kMenuRecent + 3);
    EXPECT_EQ(prompter.asked().back().text.rfind("gone.sgf 파일이 없습니다", 0), 0u);
    EXPECT_EQ(stored, (std::vector<std::string>{paths[1], paths[2], paths[0]}));
    Tab(kTabInput);
    Type(window->Input(), kInputGameName, "둘째 판");
    SendCommand(window.get(), kMenuSave);
    Reopen(paths[1]);
    EXPECT_EQ(window->File().Info().gameName, "둘째 판");
}

// A file of three games: the chooser lists each game's players, date, result and moves, and
// 취소 opens nothing; the user opens the second game, comments on it and saves; a fresh window
// opens the second game again with the comment, and the other two games are as they were.
TEST_F(JourneyTest, TheSecondGameOfAFileIsEditedAndTheOthersStayAsTheyWere) {
    const std::string first = "(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[갑]BR[5d]PW[을]DT[2024-05-01]RE[B+R]C[첫 판];B[pd];W[dp])";
    const std::string second = "(;GM[1]FF[4]SZ[19]PB[병]PW[정]BR[2k]DT[2024-05-02]RE[W+3.5];B[qd];W[dd];B[pq];W[dq])";
    const std::string third = "(;FF[4]PB[무]PW[기](;B[cc];W[dd])(;B[ee]))";
    const std::string path = dir + "three.sgf";
    std::ofstream(path, std::ios::binary) << first << "\n" << second << "\n\n" << third << "\n";

    prompter.AnswerChoice(-1);  // 취소
    window->OpenRecordFile(path);
    QApplication::processEvents();
    ASSERT_EQ(prompter.asked().size(), 1u);
    const ScriptedPrompter::Asked chooser = prompter.asked()[0];
    EXPECT_EQ(chooser.kind, "choose");
    EXPECT_EQ(chooser.items, (std::vector<std::string>{"갑 5단 | 을 | 2024-05-01 | B+R | 2",
                                                       "병 2급 | 정 | 2024-05-02 | W+3.5 | 4",
                                                       "무 | 기 |  |  | 2"}));
    EXPECT_EQ(window->CurrentPath(), "");
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 0);

    prompter.Clear();
    prompter.AnswerChoice(1);
    window->OpenRecordFile(path);
    QApplication::processEvents();
    EXPECT_EQ(window->CurrentPath(), path);
    EXPECT_EQ(window->File().Info().blackName, "병");
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), 4);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_NE(prompter.asked()[1].text.find("기보가 3개 들어 있습니다. 2번째 기보를 열었고"), std::string::npos);
    Comment(3, "둘째 판의 수정");
    SendCommand(window.get(), kMenuSave);

    const std::string saved = ReadAll(path);
    EXPECT_TRUE(saved.starts_with(first + "\n(;")) << saved;
    EXPECT_TRUE(saved.ends_with(";W[dq])\n\n" + third + "\n")) << saved;
    EXPECT_NE(saved.find("C[둘째 판의 수정]"), std::string::npos) << saved;

    prompter.Clear();
    prompter.AnswerChoice(1);
    Reopen(path);
    EXPECT_EQ(window->File().Info().blackName, "병");
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(3), "둘째 판의 수정");
    // 취소 over an open record leaves it as it is.
    prompter.AnswerChoice(-1);
    window->OpenRecordFile(path);
    QApplication::processEvents();
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(3), "둘째 판의 수정");
    EXPECT_EQ(window->CurrentPath(), path);
    SendCommand(window.get(), kMenuSave);
    EXPECT_EQ(ReadAll(path), saved);
}

// The .sgf and .sgfx pair stays one record: opening x.sgf takes the stories from its twin,
// every save writes both, and a twin that holds another record is never written over unasked.
TEST_F(JourneyTest, TheRecordAndItsStoryFileStayAPair) {
    const std::string plain = OpenCopy(Data("gnugo/game_01.sgf"), "pair.sgf");
    const std::string twin = dir + "pair.sgfx";
    window->Board().Logic().JumpToMove(40);
    window->AddEditStory();
    SendCommand(window.get(), kMenuSave);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(twin)));

    // A double-click on pair.sgf: the story is back; an edit saved without new stories reaches
    // both files.
    Reopen(plain);
    EXPECT_EQ(window->History()->StoryCount(), 1);
    Comment(12, "둘이 함께");
    SendCommand(window.get(), kMenuSave);
    EXPECT_EQ(prompter.asked().size(), 0u);

    // Another program changes pair.sgf: opening it says the twin holds another record, and
    // saving with a story asks before writing over the twin; No keeps it.
    QFile::remove(QString::fromStdString(plain));
    QFile::copy(QString(VELMORA_TEST_DATA) + "/gnugo/game_02.sgf", QString::fromStdString(plain));
    const std::string twinBefore = ReadAll(twin);
    Reopen(plain);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_NE(prompter.asked()[0].text.find("pair.sgfx 파일에는 이 기보와 다른 기보가"), std::string::npos);
    EXPECT_EQ(window->History()->StoryCount(), 0);
    window->Board().Logic().JumpToMove(30);
    window->AddEditStory();
    prompter.Answer(kAnswerNo);
    SendCommand(window.get(), kMenuSave);
    EXPECT_EQ(ReadAll(twin), twinBefore);

    // The twin still opens as the record it held, the comment of the paired save included.
    Reopen(twin);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(12), "둘이 함께");
    EXPECT_EQ(window->History()->StoryCount(), 1);
}

// A problem of set-up stones gets a handicap only when the user agrees to lose the stones, and
// then keeps its commentary.
TEST_F(JourneyTest, AHandicapChoiceOnAProblemAsksAndKeepsTheCommentary) {
    const std::string path = dir + "problem.sgf";
    std::ofstream(path) << "(;GM[1]FF[4]SZ[19]C[흑 차례입니다]AB[cc][dc]AW[cd][dd])";
    window->OpenRecordFile(path);
    QApplication::processEvents();
    SendCommand(window.get(), kTabInput);
    auto* combo = window->Input()->FindControlAs<QComboBox>(InputPane::kHandicapCombo);
    ASSERT_TRUE(combo && combo->isEnabled());
    const auto choose = [combo](const char* text) {
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(text)));
        emit combo->activated(combo->currentIndex());
    };
    prompter.Answer(kAnswerNo);
    choose("3점접바둑");
    EXPECT_EQ(window->Board().Logic().Record().StartPosition().size(), 4u);
    EXPECT_EQ(combo->currentText(), "호선");

    prompter.Answer(kAnswerYes);
    choose("3점접바둑");
    ASSERT_EQ(prompter.asked().size(), 2u);
    SendCommand(window.get(), kMenuSave);

    Reopen(path);
    const BoardLogic& board = window->Board().Logic();
    EXPECT_EQ(board.Record().GetCommentary(0), "흑 차례입니다");
    EXPECT_EQ(board.HandicapStones().size(), 3u);
    EXPECT_EQ(board.Record().StartPosition().size(), 3u);
}

// A new record on a 9×9 board: the size chosen when it begins (and remembered for the next),
// a handicap of the size's points, moves clicked on the smaller board, a save and a fresh
// window that shows the same board. The size dialog itself offers 19, 13, 9 and any size from
// 2 to 25, and says so when another is typed.
TEST_F(JourneyTest, ANineByNineRecordIsBegunPlayedSavedAndReopened) {
    prompter.AnswerSize(9);
    Tab(kTabInput);
    SendCommand(window->Input(), InputPane::kNewRecordButton);
    ASSERT_EQ(Main().BoardSize(), 9);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_EQ(prompter.asked().back().kind, "size");
    EXPECT_EQ(prompter.asked().back().text, "19");  // the first new record suggests 19

    auto* combo = window->Input()->FindControlAs<QComboBox>(InputPane::kHandicapCombo);
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(combo->findText("2점접바둑"));
    emit combo->activated(combo->currentIndex());
    ASSERT_EQ(Record().StartPosition().size(), 2u);
    for (const GridPoint& p : {GridPoint{5, 5}, GridPoint{6, 7}, GridPoint{9, 9}, GridPoint{3, 3}})
        Click(p);  // white first after the handicap
    ASSERT_EQ(Record().MainLineLength(), 4);
    EXPECT_EQ(Main().Cell(8, 8).stone, kWhite);  // the far corner of a 9×9 board

    // The next new record suggests the size chosen last; cancelling it keeps the record.
    prompter.Answer(kAnswerNo);
    prompter.AnswerSize(0);
    EXPECT_FALSE(window->StartNewRecord());
    EXPECT_EQ(prompter.asked().back().text, "9");
    EXPECT_EQ(Record().MainLineLength(), 4);

    const std::string path = dir + "nine.sgf";
    prompter.AnswerFile(path);
    SendCommand(window.get(), kMenuSave);
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find("SZ[9]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("AB[gc][cg]"), std::string::npos) << saved;
    EXPECT_NE(saved.find(";W[ee];B[fg];W[ii];B[cc]"), std::string::npos) << saved;

    std::vector<int> before;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) before.push_back(Main().Cell(i, j).stone);
    Reopen(path);
    ASSERT_EQ(Main().BoardSize(), 9);
    std::vector<int> after;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) after.push_back(Main().Cell(i, j).stone);
    EXPECT_EQ(after, before);
    EXPECT_EQ(Record().MainLineLength(), 4);
    EXPECT_EQ(Main().LastMovePoint(), (PointIndex{2, 2}));

    BoardSizeDialog dialog(window.get(), 9);
    dialog.show();
    QApplication::processEvents();
    auto* nine = dialog.FindControlAs<SkinButton>(kBoardSize9);
    ASSERT_TRUE(nine && nine->IsChecked());
    EXPECT_EQ(dialog.ChosenSize(), 9);
    auto* other = dialog.FindControlAs<QLineEdit>(kBoardSizeOtherEdit);
    ASSERT_NE(other, nullptr);
    other->setText("21");  // typing a size chooses "다른 크기"
    EXPECT_FALSE(nine->IsChecked());
    EXPECT_EQ(dialog.ChosenSize(), 21);
    other->setText("30");
    prompter.Clear();
    dialog.done(SkinDialog::kResultOk);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Asked("2줄부터 25줄까지"));
    dialog.Suggest(13);
    EXPECT_TRUE(dialog.FindControlAs<SkinButton>(kBoardSize13)->IsChecked());
    dialog.done(SkinDialog::kResultOk);
    EXPECT_EQ(dialog.result(), SkinDialog::kResultOk);
    EXPECT_EQ(dialog.ChosenSize(), 13);
}

// A file whose name is not UTF-8 (from an old archive, another system's encoding) opens by a
// drop and saves in place; Qt's dialog, which can only give back a changed name, says why it
// cannot open it.
TEST_F(JourneyTest, AFileNamedInAnotherEncodingOpensAndSaves) {
    const std::string path = dir + "\xb1\xe2\xba\xb8.sgf";  // "기보" in EUC-KR
    {
        std::ofstream out(path, std::ios::binary);
        out << ReadAll(std::string(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf");
    }
    QMimeData mime;
    mime.setUrls({QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"))});
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(window.get())->event(&drop);
    QApplication::processEvents();
    ASSERT_EQ(window->CurrentPath(), path);
    Comment(7, "이름이 달라도");
    SendCommand(window.get(), kMenuSave);
    EXPECT_EQ(FileDialogs(), 0);

    prompter.AnswerFile(QString::fromUtf8(path.c_str()).toStdString());  // what the dialog gives back
    EXPECT_EQ(window->OpenRecordDialog(), 0);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_NE(prompter.asked().back().text.find("열기 창으로 열 수 없습니다"), std::string::npos);

    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(7), "이름이 달라도");
}

// Unsaved work survives a crash: the copy kept aside comes back at the next start as the record
// of its own file, and saving it there removes the copy.
TEST_F(JourneyTest, UnsavedWorkComesBackAfterACrash) {
    const std::string state = dir + "state";
    window->Document().EnableRecovery(state);
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "crash.sgf");
    const std::string before = ReadAll(path);
    Comment(33, "저장 전에 꺼짐");
    window->History()->AddStory(kTabView);
    ASSERT_TRUE(window->Document().SaveAside());  // what the minute's timer does
    EXPECT_EQ(ReadAll(path), before);             // never over the user's file
    window.reset();                               // the power goes: no clean close
    SetRecordModified(false);

    window = std::make_unique<MainWindow>();
    ASSERT_TRUE(window->Create(false));
    window->Document().EnableRecovery(state);
    prompter.Answer(kAnswerCancel);  // Escape: asked again at the next start
    EXPECT_FALSE(window->Document().OfferRecovery());
    prompter.Answer(kAnswerYes);
    ASSERT_TRUE(window->Document().OfferRecovery());
    EXPECT_NE(prompter.asked().back().text.find("crash.sgf"), std::string::npos);
    EXPECT_EQ(window->CurrentPath(), path);
    EXPECT_TRUE(RecordModified());
    EXPECT_TRUE(window->windowTitle().endsWith("crash.sgf *"));
    EXPECT_EQ(window->History()->StoryCount(), 1);
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(Recovery(state).Find());

    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(33), "저장 전에 꺼짐");
    EXPECT_EQ(window->History()->StoryCount(), 1);
}

// Another program saves the open file: the editor says so at once; kept, the record's next
// save asks before writing over the other program's; read again, the file's record shows.
TEST_F(JourneyTest, AFileChangedByAnotherProgramIsOfferedAgainAndNotOverwrittenUnasked) {
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "shared.sgf");
    const int ours = window->Board().Logic().Record().MainLineLength();
    const auto otherProgramSaves = [&](const char* fixture) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << ReadAll(std::string(VELMORA_TEST_DATA) + "/gnugo/" + fixture);
    };
    const auto waitForQuestion = [this](std::size_t questions) {
        for (int i = 0; i < 300 && prompter.asked().size() < questions; ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(10);
        }
        return prompter.asked().size() >= questions;
    };
    Comment(5, "내 수정");
    prompter.Answer(kAnswerNo);  // keep mine
    otherProgramSaves("game_02.sgf");
    ASSERT_TRUE(waitForQuestion(1));
    EXPECT_NE(prompter.asked()[0].text.find("shared.sgf 파일이 다른 프로그램에서 바뀌었습니다"), std::string::npos);
    EXPECT_NE(prompter.asked()[0].text.find("사라집니다"), std::string::npos);
    prompter.Answer(kAnswerYes);  // write over it after all
    SendCommand(window.get(), kMenuSave);
    ASSERT_EQ(prompter.asked().size(), 2u);
    EXPECT_NE(prompter.asked()[1].text.find("덮어쓰시겠습니까"), std::string::npos);

    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), ours);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(5), "내 수정");

    prompter.Answer(kAnswerYes);  // read the other program's record
    otherProgramSaves("game_03.sgf");
    ASSERT_TRUE(waitForQuestion(3));
    SendCommand(window.get(), kMenuSave);  // unchanged since it was read again: no question
    EXPECT_EQ(prompter.asked().size(), 3u);
    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(5), "");
}

// A file the user made read-only is not written over, even by root: the save names it, the edits
// stay unsaved, and once the file may be written again the save goes through.
// Every question before unsaved work gives way offers 예, 아니오 and 취소, and 취소 stays with
// the work whichever way it was to go: a new record, the open dialog, the file menu's list, a
// drop, a second start's file, closing. Saved work is not asked about; 예 saves in place. The
// context menu's 도움말 shows the help.
TEST_F(JourneyTest, EveryQuestionBeforeUnsavedWorkOffersToStay) {
    const std::string other = OpenCopy(Data("sgf/cp949.sgf"), "other.sgf");
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "game.sgf");
    Comment(5, "남길 해설");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    const auto key = [this](int k, Qt::KeyboardModifiers mods) {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(window.get(), &press);
    };
    const std::vector<std::function<void()>> ways = {
        [&] { key(Qt::Key_N, Qt::ControlModifier); },
        [&] { SendCommand(window.get(), kMenuOpen); },
        [&] { SendCommand(window.get(), kMenuRecent + 1); },  // other.sgf, opened before
        [&] { static_cast<QObject*>(window.get())->event(&drop); },
        [&] { window->OpenHandedOver(other); },
        [&] { SendCommand(window.get(), kCmdClose); },
    };
    prompter.Clear();
    for (const auto& way : ways) {
        prompter.Answer(kAnswerCancel);
        way();
        QApplication::processEvents();
    }
    ASSERT_EQ(prompter.asked().size(), ways.size());
    for (const auto& asked : prompter.asked()) {
        EXPECT_EQ(asked.buttons, kButtonsYesNoCancel) << asked.text;
        EXPECT_NE(asked.text.find("저장하지 않은 수정 내용이 있습니다"), std::string::npos) << asked.text;
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->CurrentPath(), path);
    EXPECT_EQ(Record().GetCommentary(5), "남길 해설");
    EXPECT_TRUE(RecordModified());

    // Saved, a new record has nothing to ask about (its size question cancelled keeps it).
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(RecordModified());
    prompter.Clear();
    prompter.AnswerSize(0);
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "size");

    std::string shown;
    window->SetMenuRunner([](const std::vector<MenuItem>& items, QPoint) { return items.back().id; });
    QTimer::singleShot(0, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = modal->metaObject()->className();
            modal->close();
        }
    });
    SendCommand(window.get(), kCmdContextMenu);
    EXPECT_EQ(shown, "velmora::HelpDialog");

    Comment(6, "닫을 때 저장");
    prompter.Answer(kAnswerYes);
    SendCommand(window.get(), kCmdClose);
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(FileDialogs(), 0);
    Reopen(path);
    EXPECT_EQ(Record().GetCommentary(5), "남길 해설");
    EXPECT_EQ(Record().GetCommentary(6), "닫을 때 저장");
    EXPECT_EQ(Record().MainLineLength(), 260);
}

// A save that fails names the file and says why, in the user's words, and keeps the work
// unsaved: a read-only file, a folder that is not there, also when the close question's 예 saves.
TEST_F(JourneyTest, AReadOnlyFileIsNotWrittenOver) {
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "locked.sgf");
    const std::string before = ReadAll(path);
    chmod(path.c_str(), 0444);
    Comment(3, "잠긴 파일");
    SendCommand(window.get(), kMenuSave);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_EQ(prompter.asked().back().text, "locked.sgf 파일을 저장하지 못했습니다: 읽기 전용 파일입니다.\n(" + path + ")");
    EXPECT_TRUE(RecordModified());
    EXPECT_EQ(ReadAll(path), before);

    prompter.Answer(kAnswerYes);  // the close question: the save fails, the window stays
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompter.asked().back().text.rfind("locked.sgf 파일을 저장하지 못했습니다: 읽기 전용", 0), 0u);

    prompter.AnswerFile(dir + "gone/elsewhere.sgf");
    EXPECT_FALSE(window->SaveRecordAs());
    EXPECT_EQ(prompter.asked().back().text.rfind("elsewhere.sgf 파일을 저장하지 못했습니다: 폴더가 없습니다.", 0), 0u);
    EXPECT_EQ(window->CurrentPath(), path);

    chmod(path.c_str(), 0644);
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(3), "잠긴 파일");
}

// Items 12, 13, 15 and 11. In the 참고도 tab a click enters a diagram, never a main-line move or
// a cut; leaving the tab or opening a listed diagram asks about the diagram being entered (취소
// stays, 예 adds, 아니오 discards); marks alone are a diagram that the save offers and then adds,
// and a story at its start comes back inside it.
TEST_F(JourneyTest, ADiagramBeingEnteredIsNeverLostAndMarksAloneMakeOne) {
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "diagrams.sgf");
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

// A diagram with branches of branches, three deep: the 참고도 list shows only the diagram at its
// base, and each branch once the diagram is open at the move it branches from; opened, a branch
// shows that move. A branch the user plays from a branch, and a story taken in a branch, come
// back from the saved pair of files, and the save holds each move once, as the file had it.
TEST_F(JourneyTest, BranchesOfADiagramAreListedWhereTheyBranchAndSavedNested) {
    const std::string source = Data("sgf/nested-diagrams.sgf");
    const std::string path = OpenCopy(source, "nested.sgf");
    EXPECT_EQ(Record().MainLineLength(), 6);
    ASSERT_EQ(Record().DiagramsOfBase(4).size(), 1u);
    const std::string outer = Record().DiagramsOfBase(4)[0].first;
    const auto only = [&](const std::string& parent, int move) {
        const auto nested = Record().DiagramsBranchingAt(parent, move);
        EXPECT_EQ(nested.size(), 1u) << "at " << move;
        return nested.empty() ? std::string() : nested[0].first;
    };
    const std::string atFirst = only(outer, 1);  // the 정답도 of its own text
    const std::string atThird = only(outer, 3);
    const std::string deepest = only(atThird, 4);
    EXPECT_EQ(Record().StoredDiagramMap().at(atFirst).kind, kDiagramAnswer);
    EXPECT_EQ(Record().StoredDiagramMap().at(atFirst).text, "바로 젖힘");
    EXPECT_EQ(Record().StoredDiagramMap().at(deepest).moves.size(), 6u);
    EXPECT_EQ(Record().StoredDiagramMap().at(deepest).moves.at(5).text, "넷째 갈래 둘");

    // The 참고도 tab at move 4 lists the outer diagram alone.
    Tab(kTabReference);
    Press(window->Reference(), 400);
    Main().JumpToMove(4);
    SendMessage(window.get(), UM_REFRESH_PANE);
    auto* list = window->Reference()->FindControlAs<QTreeWidget>(500);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    window->Reference()->ClickListEntry(ListRow(outer), 0);
    EXPECT_EQ(Record().OpenDiagramKey(), outer);
    EXPECT_EQ(ListRow(atFirst), -1);  // shown at its end, the diagram has no branch there
    Main().JumpToMove(5);
    ASSERT_EQ(ListRow(atFirst), 1);
    EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), "[4수 정답도 1수에서 갈림] 2");
    Main().JumpToMove(7);
    ASSERT_NE(ListRow(atThird), -1);
    window->Reference()->ClickListEntry(ListRow(atThird), 0);
    EXPECT_EQ(Record().OpenDiagramKey(), atThird);
    EXPECT_EQ(Main().CurrentMove(), 7);
    Main().JumpToMove(8);
    ASSERT_NE(ListRow(deepest), -1);
    window->Reference()->ClickListEntry(ListRow(deepest), 0);
    EXPECT_EQ(Main().CurrentMove(), 8);
    Main().JumpToMove(10);
    window->AddEditStory();  // a story in the deepest branch, past where it branches

    // From the middle branch's fourth move the user plays another way and adds it.
    window->ShowReferenceDiagram(atThird);
    Main().JumpToMove(8);
    EXPECT_EQ(Record().OpenDiagramKey(), atThird);
    Click(GridPoint{10, 10});
    Type(window->Reference(), 601, "걸쳐 온 길");
    SendCommand(window->Reference(), ReferencePane::kAddButton);
    const auto fromThird = Record().DiagramsBranchingAt(atThird, 4);
    ASSERT_EQ(fromThird.size(), 2u);
    EXPECT_EQ(Record().DiagramsOfBase(4).size(), 1u);
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());

    // Every move of the file once, and the one played.
    const auto moves = [](const std::string& text) {
        int n = 0;
        for (std::size_t i = 1; i < text.size(); ++i)
            n += (text[i] == '[' && (text[i - 1] == 'B' || text[i - 1] == 'W') &&
                  (text[i - 2] == ';' || text[i - 2] == ']'));
        return n;
    };
    EXPECT_EQ(moves(ReadAll(path)), moves(ReadAll(source)) + 1) << ReadAll(path);

    Reopen(dir + "nested.sgfx");
    ASSERT_EQ(window->History()->StoryCount(), 1);
    StoryCard* card = window->History()->Cards()[0];
    SendMessage(card, UM_BOARD_CLICKED);
    EXPECT_EQ(Main().CurrentMove(), 10);
    const OpenDiagram& shown = Record().CurrentDiagram();
    EXPECT_EQ(shown.key, card->Name());
    EXPECT_EQ(shown.moves.size(), 6u);
    EXPECT_EQ(shown.moves.at(5).text, "넷째 갈래 둘");
    ASSERT_EQ(Record().DiagramsOfBase(4).size(), 1u);
    const std::string outerAgain = Record().DiagramsOfBase(4)[0].first;
    const std::string third = only(outerAgain, 3);
    const auto branches = Record().DiagramsBranchingAt(third, 4);
    ASSERT_EQ(branches.size(), 2u);
    EXPECT_EQ(branches[1].second.text, "걸쳐 온 길");
    EXPECT_EQ(branches[1].second.moves.at(5).x, 10);
    EXPECT_EQ(only(outerAgain, 1).empty(), false);
    EXPECT_EQ(Record().StoredDiagramMap().size(), 8u);  // 4 + the new one + 3 of the other branch

    // The view tab's list: the branch joins the list once the open diagram reaches its move,
    // and the diagram's own entry stays open.
    window->ShowReferenceDiagram("원래대로");
    Tab(kTabView);
    Main().JumpToMove(4);
    ViewPane& view = *window->View();
    ASSERT_EQ(view.ReferenceEntries().size(), 1u);
    PaneStack& stack = view.List()->Stack();
    stack.ClickHeader(stack.Header(0)->Id());
    QApplication::processEvents();
    EXPECT_EQ(Record().OpenDiagramKey(), outerAgain);
    Main().JumpToMove(5);
    ASSERT_EQ(view.ReferenceEntries().size(), 2u);
    EXPECT_EQ(view.ReferenceEntries()[1].caption, "[4수 정답도 1수에서 갈림] 2");
    EXPECT_EQ(stack.OpenIndex(), 0);
    stack.ClickHeader(stack.Header(1)->Id());
    QApplication::processEvents();
    EXPECT_EQ(Record().OpenDiagramKey(), view.ReferenceEntries()[1].key);
    EXPECT_EQ(Main().CurrentMove(), 5);
}

// Items 11, 13 and 14. The sample opens with its numbers shown and checked; its story inside a
// diagram recalls that diagram; a story taken in a diagram being entered is named when the
// diagram is added (the card recalled meanwhile asks first); deleting a diagram takes every
// story in it, and closing a story is an edit to save.
TEST_F(JourneyTest, StoriesComeBackWhereTheyWereTaken) {
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
    EXPECT_NE(prompter.asked()[0].text.find("(함께 지워지는 편집 스토리: 100수)"), std::string::npos);
    ASSERT_EQ(Record().DiagramsOfBase(100).size(), 1u);
    const std::string newDiagram = Record().DiagramsOfBase(100)[0].first;
    EXPECT_EQ(entered->Name(), newDiagram);
    EXPECT_EQ(Main().CurrentMove(), stories.Cards()[0]->MoveNumber());

    // The sample's diagram deleted: both its stories go, and the question names their move once.
    Tab(kTabReference);
    Main().JumpToMove(inDiagram->MoveNumber());
    SendMessage(window.get(), UM_REFRESH_PANE);
    prompter.Clear();
    prompter.Answer(kAnswerYes);
    window->Reference()->ClickListEntry(ListRow(sampleDiagram), 1);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_NE(prompter.asked()[0].text.find("(함께 지워지는 편집 스토리: " + std::to_string(inDiagram->MoveNumber()) +
                                            "수 2개)"),
              std::string::npos)
        << prompter.asked()[0].text;
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
TEST_F(JourneyTest, TheQuizAndTheViewPaneFollowWhatTheUserDid) {
    const std::string path = OpenCopy(Data("gnugo/game_01.sgf"), "quiz.sgf");
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

// Another program's file with passes and moves the board cannot play: each is a numbered
// step the panes name, its comment edited like any move's, and all come back after a save.
TEST_F(JourneyTest, PassesAndMovesNotPlayedAreStepsThePanesName) {
    const std::string path = OpenCopy(Data("sgf/other/passes.sgf"), "passes.sgf");
    // HA[3] names no stones: the file opens as written, so W[dd] (move 7) finds its point empty.
    EXPECT_TRUE(Asked("둘 수 없는 수가 2개"));
    EXPECT_TRUE(Asked("HA[3])이지만 접바둑 돌(AB)이 적혀 있지 않아"));
    ASSERT_EQ(Record().MainLineLength(), 10);
    ViewPane* view = window->View();
    Tab(kTabView);
    Main().JumpToMove(2);
    SendCommand(&window->Board(), kCmdForward);
    ASSERT_EQ(Main().CurrentMove(), 3);
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "3수 (백 패스) 해설 보기");
    EXPECT_EQ(view->GetControlText(kViewCommentary), "백이 쉽니다");
    EXPECT_EQ(Main().LastMovePoint(), PointIndex{});
    SendCommand(&window->Board(), kCmdForward);
    SendCommand(&window->Board(), kCmdForward);
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "5수 (둘 수 없는 수: 자충수) 해설 보기");
    EXPECT_EQ(Main().Cell(0, 0).stone, kEmpty);
    SendCommand(&window->Board(), kCmdForward);
    SendCommand(&window->Board(), kCmdForward);
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "7수 해설 보기");
    EXPECT_EQ(Main().Cell(3, 3).stone, kWhite);
    SendCommand(&window->Board(), kCmdBack);
    EXPECT_EQ(Main().CurrentMove(), 6);
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "6수 (흑 패스) 해설 보기");

    Comment(6, "흑도 쉽니다 (고침)");
    EXPECT_EQ(window->Input()->GetShapeText(kInputCommentaryCaption), "6수 (흑 패스) 해설 보기 입력/수정");
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find(";W[aa]C[자충수]TR[aa];B[]C[흑도 쉽니다 (고침)];W[dd]"), std::string::npos) << saved;

    Reopen(path);
    ASSERT_EQ(Record().MainLineLength(), 10);
    EXPECT_EQ(Record().GetCommentary(6), "흑도 쉽니다 (고침)");
    EXPECT_TRUE(IsPassMove(*Record().GetMainLineMove(6)));
    EXPECT_EQ(Record().GetMainLineMove(7)->notPlayed, 0);
    EXPECT_TRUE(Record().StartPosition().empty());
    Main().JumpToMove(9);
    EXPECT_EQ(window->View()->GetShapeText(kViewCommentaryCaption), "9수 (백 패스) 해설 보기");
}

// Another program's file whose nodes hold more than moves: a set-up node in mid-game is real
// stones from its move on and gone before it, two marks share a point, the view pane shows the
// set-up node's comment and name and each diagram move's own comment and marks; an edit and a
// save keep every node as it was.
TEST_F(JourneyTest, EveryNodeOfAnotherProgramsFileShowsWhatItHoldsAndSavesAsItWas) {
    const std::string path = OpenCopy(Data("sgf/other/nodes.sgf"), "nodes.sgf");
    ViewPane* view = window->View();
    Tab(kTabView);
    const auto stone = [this](int x, int y) { return Main().Cell(x - 1, y - 1).stone; };
    Main().JumpToMove(1);
    EXPECT_EQ(Main().Marks().size(), 2u);  // a triangle and a label on the first stone
    SendCommand(&window->Board(), kCmdForward);
    ASSERT_EQ(Main().CurrentMove(), 2);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17)), std::tuple(0, kBlack));
    EXPECT_EQ(view->GetControlText(kViewCommentary), "백 돌을 들어냈습니다");
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "2수 해설 보기 — 배치");
    SendCommand(&window->Board(), kCmdBack);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17)), std::tuple(0, 0));
    SendCommand(&window->Board(), kCmdForward);
    SendCommand(&window->Board(), kCmdForward);
    ASSERT_EQ(Main().CurrentMove(), 3);
    EXPECT_EQ(Main().Drawings().size(), 5u);

    // The diagram at move 3, opened from the view pane's list, shows each move's own comment.
    PaneStack& list = view->List()->Stack();
    ASSERT_EQ(list.PaneCount(), 2);
    list.ClickHeader(list.Header(0)->Id());
    QApplication::processEvents();
    ASSERT_EQ(Main().DiagramBase(), 3);
    Main().JumpToMove(4);
    EXPECT_EQ(view->GetControlText(kViewCommentary), "참고 첫 수");
    EXPECT_EQ(view->GetShapeText(kViewCommentaryCaption), "참고도 1수 해설 보기");
    EXPECT_EQ(Main().Marks().size(), 2u);
    SendCommand(&window->Board(), kCmdForward);
    EXPECT_EQ(view->GetControlText(kViewCommentary), "둘째\n\n설정");
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16)), std::tuple(0, kWhite));
    SendCommand(&window->Board(), kCmdBack);
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16)), std::tuple(kBlack, 0));

    const std::string before = window->File().PlainText();
    Comment(1, "첫 수를 고쳐 씀");
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    const std::string saved = ReadAll(path);
    Reopen(path);
    EXPECT_EQ(window->File().PlainText(), saved);
    std::string expected = before;
    const std::string old = "C[첫 수]";
    expected.replace(expected.find(old), old.size(), "C[첫 수를 고쳐 씀]");
    EXPECT_EQ(saved, expected);
    Main().JumpToMove(2);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17), stone(16, 17)), std::tuple(0, kBlack, kBlack));
}

// Item 18, which has nothing to save: a stone the rules refuse is explained beside the pointer,
// no preview promises it on a ko point, and a refused click before the end of the game neither
// asks about nor cuts the later moves.
TEST_F(JourneyTest, ARefusedStoneIsExplainedWhereItWasClicked) {
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

// A pass by the 패스 button and by P, on the main line and in a diagram, numbered and named as a
// read pass; a step by key redraws the preview under the pointer. GNU Go reads the saved passes (black to play after white's), a fresh window too.
TEST_F(JourneyTest, PassesArePlayedByButtonAndKeyOnTheMainLineAndInADiagram) {
    prompter.AnswerSize(9);
    Tab(kTabInput);
    SendCommand(window->Input(), InputPane::kNewRecordButton);
    BoardControl* board = window->Board().Control();
    ASSERT_TRUE(board && window->Board().FindControl(kCmdPass));  // the 패스 button
    const auto pressButton = [this] { SendCommand(&window->Board(), kCmdPass); };
    const auto key = [](QWidget* to, int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, code == Qt::Key_P ? "p" : "");
        QApplication::sendEvent(to, &press);
    };
    // Each move as '.', or the colour of a pass numbered as its place.
    const auto passes = [](const MainLine& line) {
        std::string out;
        for (const auto& [n, m] : line) out += !IsPassMove(m) ? '.' : m.number != n ? '?' : m.colour == kBlack ? 'B' : 'W';
        return out;
    };

    Click({3, 3});
    pressButton();
    Click({7, 7});
    key(board, Qt::Key_P);
    EXPECT_EQ(passes(Record().MainLineMoves()), ".W.W");
    EXPECT_EQ(window->Input()->GetShapeText(kInputCommentaryCaption), "4수 (백 패스) 해설 보기 입력/수정");
    // The pointer rests on (5,5) with black's preview; ← takes back white's pass: white's preview.
    const QPoint rest = Pixel({5, 5}) + QPoint(board->Canvas().Geometry().cell / 4, 0);
    QMouseEvent move(QEvent::MouseMove, rest, board->mapToGlobal(rest), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(board, &move);
    const auto grey = [&] { return qGray(static_cast<QRgb>(board->Canvas().BackBuffer().Pixel(rest.x(), rest.y()))); };
    const int blackPreview = grey();
    key(board, Qt::Key_Left);
    EXPECT_GT(grey(), blackPreview + 40);

    // A diagram after move 3: white's stone, black's pass by the button, white's by P.
    Tab(kTabReference);
    Click({5, 5});
    pressButton();
    key(board, Qt::Key_P);
    EXPECT_EQ(passes(Record().CurrentDiagram().moves), ".BW");
    EXPECT_FALSE(window->StoreReferenceDiagram().empty());

    const std::string path = dir + "passes.sgf";
    prompter.AnswerFile(path);
    SendCommand(window.get(), kMenuSave);
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find(";B[cc];W[];B[gg](;W[])(;C[참고도-];W[ee];B[];W[])"), std::string::npos) << saved;
    QProcess gnugo;
    gnugo.start("/usr/games/gnugo", {"--mode", "gtp"});
    gnugo.write(("loadsgf " + path + "\nquit\n").c_str());
    ASSERT_TRUE(gnugo.waitForFinished(10000)) << "GNU Go (/usr/games/gnugo) did not run: run scripts/install-deps";
    EXPECT_TRUE(gnugo.readAllStandardOutput().startsWith("= black")) << saved;

    Reopen(path);
    EXPECT_EQ(passes(Record().MainLineMoves()), ".W.W");
    ASSERT_EQ(Record().DiagramsOfBase(3).size(), 1u);
    EXPECT_EQ(passes(Record().DiagramsOfBase(3)[0].second.moves), ".BW");
}

TEST_F(JourneyTest, TheLibraryIndexesAFolderFiltersByPlayerAndOpensTheGameDoubleClicked) {
    // A folder of records: three fixture games and a collection whose second game is wanted.
    const std::string folder = dir + "기보함";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    for (const char* name : {"game_01.sgf", "game_02.sgf", "game_03.sgf"})
        QFile::copy(QString::fromStdString(Data(std::string("gnugo/") + name)), QString::fromStdString(folder + "/" + name));
    std::ofstream(folder + "/모음.sgf")
        << "(;GM[1]SZ[9]PB[Kim Baduk]PW[한돌]DT[2019-03-01];B[ee];W[cc])"
           "(;GM[1]SZ[9]PB[한돌]PW[Park Seoul]DT[2020-05-05]RE[W+R];B[cc];W[gg];B[cg];W[gc])\n";
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir + "data"));

    // Ctrl+L, or the file menu's item, opens the library.
    QKeyEvent ctrlL(QEvent::KeyPress, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(KeyControl::ShortcutCommand(ctrlL), kMenuLibrary);
    SendCommand(window.get(), kMenuLibrary);
    LibraryDialog& library = window->Library();
    ASSERT_TRUE(library.isVisible());
    prompter.AnswerFile(folder);
    SendCommand(&library, 102);
    for (int i = 0; i < 500 && library.Scanning(); ++i) {
        QThread::msleep(10);
        QApplication::processEvents();
    }
    ASSERT_FALSE(library.Scanning());
    EXPECT_EQ(library.Folders()->count(), 1);
    EXPECT_EQ(library.Games()->topLevelItemCount(), 5);
    EXPECT_NE(library.GetShapeText(403).find("5판"), std::string::npos) << library.GetShapeText(403);

    // The player filter: case and spaces ignored, either colour.
    library.SetControlText(310, "parkseoul");
    SendCommand(&library, 105);
    ASSERT_EQ(library.Games()->topLevelItemCount(), 1);
    EXPECT_EQ(library.Games()->topLevelItem(0)->text(1).toStdString(), "Park Seoul");
    EXPECT_EQ(library.Games()->topLevelItem(0)->text(5).toStdString(), "4");
    // The small board shows the game's final position: four stones.
    const std::vector<int>& stones = library.Thumbnail()->Stones();
    EXPECT_EQ(std::count_if(stones.begin(), stones.end(), [](int c) { return c != 0; }), 4);

    // A double click opens that game of the collection, asking first about unsaved work.
    SetRecordModified(true);
    prompter.Answer(kAnswerNo);
    QTreeWidget* games = library.Games();
    const QRect row = games->visualItemRect(games->topLevelItem(0));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
        QMouseEvent click(type, row.center(), games->viewport()->mapToGlobal(row.center()), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(games->viewport(), &click);
    }
    QApplication::processEvents();
    EXPECT_EQ(window->CurrentPath(), folder + "/모음.sgf");
    EXPECT_EQ(window->File().Info().blackName, "한돌");
    EXPECT_EQ(window->File().Info().whiteName, "Park Seoul");
    EXPECT_FALSE(RecordModified());
    EXPECT_TRUE(std::any_of(prompter.asked().begin(), prompter.asked().end(),
                            [](const auto& a) { return a.kind == "popup"; }));
    EXPECT_FALSE(std::any_of(prompter.asked().begin(), prompter.asked().end(),
                             [](const auto& a) { return a.kind == "choose"; }));
    // Nothing in the file changed: a rescan reads none again.
    SendCommand(&library, 103);
    for (int i = 0; i < 500 && library.Scanning(); ++i) {
        QThread::msleep(10);
        QApplication::processEvents();
    }
    EXPECT_NE(library.GetShapeText(403).find("0개 파일"), std::string::npos) << library.GetShapeText(403);
    if (oldData.isNull()) qunsetenv("XDG_DATA_HOME");
    else qputenv("XDG_DATA_HOME", oldData);
}

}  // namespace
}  // namespace velmora
