// Journeys through the real main window as a user takes them, each ending with save, reopen in
// a fresh window and compare.

#include <QApplication>
#include <sys/stat.h>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "MainWindowFixture.h"
#include "app/CommandIds.h"
#include "app/document/Recovery.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/PaneIds.h"
#include "game/BoardPanelLogic.h"
#include "platform/Messages.h"

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
    }
    // Copies fixture to dir + name and opens it as a double-click would.
    std::string OpenCopy(const std::string& fixture, const std::string& name) {
        const std::string path = dir + name;
        QFile::copy(QString(VELMORA_TEST_DATA) + "/" + QString::fromStdString(fixture), QString::fromStdString(path));
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
        window->OpenRecordFile(path);
        QApplication::processEvents();
    }
    int FileDialogs() const {
        return static_cast<int>(std::count_if(prompter.asked().begin(), prompter.asked().end(),
                                              [](const auto& a) { return a.kind == "save"; }));
    }

    QTemporaryDir temp;
    std::string dir;
};

// Save As makes the new file the one worked on: its name in the title, later saves (the toolbar
// button and Yes in the close question) written there without asking a name, the original left
// as it was; a bare name gains ".SGF" and asks before replacing that file. The title marks
// unsaved changes, a save says where it wrote, and the file menu lists both records.
TEST_F(JourneyTest, SaveAsContinuesInTheNewFileAndEverySaveQuestionSavesInPlace) {
    const std::string original = OpenCopy("gnugo/game_01.sgf", "original.sgf");
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
    const std::string plain = OpenCopy("gnugo/game_01.sgf", "pair.sgf");
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
    const std::string path = OpenCopy("gnugo/game_01.sgf", "crash.sgf");
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
    const std::string path = OpenCopy("gnugo/game_01.sgf", "shared.sgf");
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
TEST_F(JourneyTest, AReadOnlyFileIsNotWrittenOver) {
    const std::string path = OpenCopy("gnugo/game_01.sgf", "locked.sgf");
    const std::string before = ReadAll(path);
    chmod(path.c_str(), 0444);
    Comment(3, "잠긴 파일");
    SendCommand(window.get(), kMenuSave);
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_EQ(prompter.asked().back().text, "Error File Save\n" + path);
    EXPECT_TRUE(RecordModified());
    EXPECT_EQ(ReadAll(path), before);

    chmod(path.c_str(), 0644);
    SendCommand(window.get(), kMenuSave);
    EXPECT_FALSE(RecordModified());
    Reopen(path);
    EXPECT_EQ(window->Board().Logic().Record().GetCommentary(3), "잠긴 파일");
}

}  // namespace
}  // namespace velmora
