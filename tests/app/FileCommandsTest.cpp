#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/document/RecordPaths.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/StoryCard.h"
#include "game/RecordModified.h"

namespace velmora {
namespace {

using testing::ReadAll;

bool Exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

class FileCommandsTest : public testing::EditorSkinTest {
  protected:
    void SetUp() override {
        EditorSkinTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(temp.isValid());
        dir = temp.path().toStdString() + "/";
        window = std::make_unique<MainWindow>();
        ASSERT_TRUE(window->Create(false));
    }
    void TearDown() override {
        window.reset();
        SetRecordModified(false);
        EditorSkinTest::TearDown();
    }
    // A copy of a 260-move record at dir + name, opened by path.
    std::string OpenCopy(const std::string& name) {
        const std::string path = dir + name;
        QFile::copy(QString(VELMORA_TEST_DATA) + "/gnugo/game_01.sgf",
                    QString::fromStdString(path));
        window->OpenRecordFile(path);
        QApplication::processEvents();  // the view tab the open posts
        return path;
    }
    void AddStoryAt(int move) {
        window->Board().Logic().JumpToMove(move);
        window->AddEditStory();
    }
    int Stories() const { return window->History()->StoryCount(); }

    QTemporaryDir temp;
    std::string dir;
    std::unique_ptr<MainWindow> window;
    // The save-first questions asked, each checked to be an open's, worded as one.
    int SaveQuestions() const {
        int n = 0;
        for (const auto& a : prompter.asked()) {
            if (a.buttons != kButtonsYesNoCancel) continue;
            EXPECT_NE(a.text.find("다른 기보를 열기 전에"), std::string::npos) << a.text;
            ++n;
        }
        return n;
    }
};

TEST(RecordPathsTest, OnlyTheFileExtensionCountsAndKeepsItsCase) {
    const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
        {"/r/a.sgf", {"/r/a.sgf", "/r/a.sgfx"}},
        {"/r/A.SGF", {"/r/A.SGF", "/r/A.SGFX"}},
        {"/r/a.Sgf", {"/r/a.Sgf", "/r/a.Sgfx"}},
        {"/r.sgf/my.sgf.d/b.sgf", {"/r.sgf/my.sgf.d/b.sgf", "/r.sgf/my.sgf.d/b.sgfx"}},
        {"/r/b.sgfx", {"/r/b.sgf", "/r/b.sgfx"}},
        {"/r/B.SGFX", {"/r/B.SGF", "/r/B.SGFX"}},
        {"/r.sgf/c.TXT", {"/r.sgf/c.TXT", "/r.sgf/c.TXT.SGFX"}},
        {"/r.sgf/noext", {"/r.sgf/noext", "/r.sgf/noext.sgfx"}},
    };
    for (const auto& [path, expected] : cases) {
        const RecordPaths p = RecordPathsFor(path);
        EXPECT_EQ(p.plain, expected.first) << path;
        EXPECT_EQ(p.extended, expected.second) << path;
        EXPECT_NE(p.plain, p.extended) << path;
    }
}

TEST_F(FileCommandsTest, ARecordWithStoriesIsSavedTwiceUnderMatchingNames) {
    const std::string path = OpenCopy("game.sgf");
    window->SaveRecord();  // no stories: one file
    EXPECT_FALSE(Exists(dir + "game.sgfx"));

    AddStoryAt(30);
    AddStoryAt(60);
    ASSERT_EQ(Stories(), 2);
    EXPECT_TRUE(RecordModified());
    for (int round = 0; round < 2; ++round) {  // the second save rewrites both files
        QFile::remove(QString::fromStdString(path));
        QFile::remove(QString::fromStdString(dir + "game.sgfx"));
        EXPECT_TRUE(window->SaveRecord());
        EXPECT_TRUE(Exists(path)) << round;
        const std::string extended = ReadAll(dir + "game.sgfx");
        EXPECT_EQ(ReadAll(path).find("HI["), std::string::npos);
        EXPECT_NE(extended.find("HI[200]"), extended.rfind("HI[200]"))
            << "both stories, round " << round;
    }
    EXPECT_FALSE(RecordModified());  // closing now asks nothing

    // Save As: upper case kept, a bare name gets .SGF; the file written becomes the current one.
    for (const auto& [typed, plain, extended] :
         {std::tuple{"UP.SGF", "UP.SGF", "UP.SGFX"}, std::tuple{"bare", "bare.SGF", "bare.SGFX"},
          std::tuple{"mixed.Sgf", "mixed.Sgf", "mixed.Sgfx"}}) {
        prompter.AnswerFile(dir + typed);
        EXPECT_TRUE(window->SaveRecordAs());
        EXPECT_TRUE(Exists(dir + plain)) << typed;
        EXPECT_NE(ReadAll(dir + extended).find("HI["), std::string::npos) << typed;
        EXPECT_EQ(ReadAll(dir + plain).find("HI["), std::string::npos) << typed;
    }
    EXPECT_EQ(window->CurrentPath(), dir + "mixed.Sgf");
    EXPECT_EQ(prompter.asked().back().folder,
              dir.substr(0, dir.size() - 1));  // the record's folder
}

TEST_F(FileCommandsTest, AFailedWriteIsReportedAndTheStoriesStayUnsaved) {
    const std::string path = OpenCopy("game.sgf");
    AddStoryAt(40);
    // A folder where the extended record should go makes its write fail.
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(dir + "game.sgfx")));
    EXPECT_FALSE(window->SaveRecord());
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text,
              "game.sgfx 파일을 저장하지 못했습니다: 같은 이름의 폴더가 있습니다.\n(" + dir + "game.sgfx)");
    EXPECT_TRUE(Exists(path));
    EXPECT_TRUE(window->History()->Cards()[0]->IsUnsaved());
    EXPECT_TRUE(RecordModified());

    QDir().rmdir(QString::fromStdString(dir + "game.sgfx"));
    EXPECT_TRUE(window->SaveRecord());  // the story is written this time
    EXPECT_NE(ReadAll(dir + "game.sgfx").find("HI["), std::string::npos);
    EXPECT_FALSE(window->History()->Cards()[0]->IsUnsaved());
}

TEST_F(FileCommandsTest, OpeningOverUnsavedChangesAsksFirst) {
    const std::string path = OpenCopy("game.sgf");
    EXPECT_EQ(SaveQuestions(), 0);
    AddStoryAt(50);  // an unsaved change
    const int moves = window->Board().Logic().Record().MainLineLength();
    const std::string other = std::string(VELMORA_TEST_DATA) + "/sgf/cp949.sgf";

    prompter.Answer(kAnswerCancel);
    prompter.Answer(kAnswerCancel);
    EXPECT_EQ(window->OpenRecordDialog(), 0);  // 취소 keeps everything
    window->OpenRecordFile(other);
    EXPECT_EQ(SaveQuestions(), 2);
    EXPECT_EQ(prompter.asked().size(), 2u);  // not even the file dialog
    EXPECT_EQ(window->CurrentPath(), path);
    EXPECT_EQ(Stories(), 1);
    EXPECT_EQ(window->Board().Logic().Record().MainLineLength(), moves);
    EXPECT_TRUE(RecordModified());

    prompter.Answer(kAnswerNo);  // by path: opened, the flag left as it was
    window->OpenRecordFile(other);
    EXPECT_EQ(window->CurrentPath(), other);
    EXPECT_EQ(Stories(), 0);
    EXPECT_TRUE(RecordModified());

    prompter.Answer(kAnswerNo);
    prompter.AnswerFile(path);  // through the dialog: the flag is cleared
    EXPECT_EQ(window->OpenRecordDialog(), 1);
    EXPECT_EQ(prompter.asked().back().folder,
              QFileInfo(QString::fromStdString(other)).absolutePath().toStdString());
    EXPECT_FALSE(RecordModified());

    AddStoryAt(20);
    prompter.Answer(kAnswerYes);  // saved to the current file first
    window->OpenRecordFile(other);
    EXPECT_NE(ReadAll(dir + "game.sgfx").find("HI["), std::string::npos);
    EXPECT_EQ(window->CurrentPath(), other);
    EXPECT_EQ(SaveQuestions(), 5);
}

TEST_F(FileCommandsTest, DroppingFilesOpensTheFirst) {
    const std::string first = std::string(VELMORA_TEST_DATA) + "/sgf/cp949.sgf";
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString(VELMORA_TEST_DATA) + "/gnugo/game_02.sgf"),
                  QUrl::fromLocalFile(QString(VELMORA_TEST_DATA) + "/gnugo/game_03.sgf")});
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: the application passes on only drops of a drag it runs itself.
    static_cast<QObject*>(window.get())->event(&drop);
    EXPECT_EQ(window->CurrentPath(), first);
}

TEST_F(FileCommandsTest, HandicapStonesFollowTheTable) {
    const auto blackAt = [this](int x, int y) {
        return window->Board().Logic().Cell(x - 1, y - 1).stone == 2;
    };
    const auto blackCount = [this] {
        int n = 0;
        for (int x = 0; x < 19; ++x)
            for (int y = 0; y < 19; ++y) n += window->Board().Logic().Cell(x, y).stone == 2;
        return n;
    };
    const std::string path = dir + "ha5.sgf";
    std::ofstream(path) << "(;GM[1]FF[4]SZ[19]HA[5]PB[흑]PW[백])";
    window->OpenRecordFile(path);
    EXPECT_EQ(blackCount(), 5);
    for (auto [x, y] : {std::pair{16, 4}, {4, 16}, {16, 16}, {4, 4}, {10, 10}})
        EXPECT_TRUE(blackAt(x, y)) << x << "," << y;

    for (int count : {1, 0, 10}) {
        window->SetHandicap(count);
        EXPECT_EQ(blackCount(), 0) << count;
    }
    window->SetHandicap(9);
    EXPECT_EQ(blackCount(), 9);
    EXPECT_EQ(window->Board().Logic().ColourToPlay(), 1);  // white moves next
}

}  // namespace
}  // namespace velmora
