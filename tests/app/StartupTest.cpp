#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "app/AppInfo.h"
#include "app/AppSetup.h"

#include "app/CommandLine.h"
#include "app/EditorApp.h"
#include "app/FileAssociation.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/dialogs/HelpDialog.h"
#include "app/dialogs/VersionDialog.h"
#include "platform/ProgramFolder.h"
#include "richtext/HtmlDrawer.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinButton.h"
#include "skin/SkinResources.h"

namespace velmora {
namespace {

TEST(CommandLine, FirstArgumentIsTheRecordWhole) {
    EXPECT_EQ(CommandLine::Parse({}).recordPath, "");
    EXPECT_EQ(CommandLine::Parse({"/home/user/기보 모음/첫 판.sgf"}).recordPath, "/home/user/기보 모음/첫 판.sgf");
    EXPECT_EQ(CommandLine::Parse({"a.sgf", "b.sgf"}).recordPath, "a.sgf");
}

TEST(CommandLine, ScreenshotOptionTakesItsFile) {
    const CommandLine c = CommandLine::Parse({"--screenshot", "/tmp/x.png", "game.sgf"});
    EXPECT_EQ(c.screenshot, "/tmp/x.png");
    EXPECT_EQ(c.recordPath, "game.sgf");
    EXPECT_EQ(CommandLine::Parse({"game.sgf", "--screenshot", "x.png"}).recordPath, "game.sgf");
    EXPECT_EQ(CommandLine::Parse({"--screenshot"}).screenshot, "");
}

TEST(FileAssociation, ExecQuotingDoublesBackslashes) {
    EXPECT_EQ(DesktopExecQuote("/opt/velmora/velmora"), "\"/opt/velmora/velmora\"");
    EXPECT_EQ(DesktopExecQuote("/opt/my go/velmora"), "\"/opt/my go/velmora\"");
    // A backslash is escaped inside the quotes, and that escape is doubled again.
    EXPECT_EQ(DesktopExecQuote("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(DesktopExecQuote("/a$b\"c"), "\"/a\\\\$b\\\\\"c\"");
    const std::string entry = DesktopEntryText("/opt/velmora/velmora");
    EXPECT_NE(entry.find("Exec=\"/opt/velmora/velmora\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-go-sgf;\n"), std::string::npos);
}

TEST(FileAssociation, DefaultHandlerKeepsOtherLines) {
    EXPECT_EQ(WithDefaultHandler(""), "[Default Applications]\napplication/x-go-sgf=velmora.desktop\n");
    const std::string before =
        "[Added Associations]\napplication/x-go-sgf=other.desktop;\n"
        "[Default Applications]\ntext/plain=gedit.desktop\napplication/x-go-sgf=other.desktop\n"
        "image/png=viewer.desktop\n";
    // Another program's choice stays; an empty one is filled.
    EXPECT_EQ(WithDefaultHandler(before), before);
    const std::string empty = "[Default Applications]\ntext/plain=gedit.desktop\napplication/x-go-sgf=\n";
    const std::string after = WithDefaultHandler(empty);
    EXPECT_EQ(after, "[Default Applications]\ntext/plain=gedit.desktop\napplication/x-go-sgf=velmora.desktop\n");
    EXPECT_EQ(WithDefaultHandler(after), after);
    // A list without the group gets it at the end.
    EXPECT_EQ(WithDefaultHandler("[Added Associations]\nx/y=z.desktop\n"),
              "[Added Associations]\nx/y=z.desktop\n[Default Applications]\napplication/x-go-sgf=velmora.desktop\n");
}

TEST(FileAssociation, WritesTheEntryAndTheHandler) {
    QTemporaryDir dir;
    const std::string data = dir.filePath("data").toStdString(), config = dir.filePath("config").toStdString();
    ASSERT_TRUE(RegisterFileAssociation("/opt/velmora/velmora", data, config));
    QFile entry(QString::fromStdString(data) + "/applications/velmora.desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_EQ(entry.readAll().toStdString(), DesktopEntryText("/opt/velmora/velmora"));
    QFile list(QString::fromStdString(config) + "/mimeapps.list");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_NE(list.readAll().indexOf("application/x-go-sgf=velmora.desktop"), -1);
    // Installed, the package's entry is the one: no entry of the user's hides it.
    QTemporaryDir installed;
    QDir().mkpath(installed.filePath("applications"));
    QFile(installed.filePath("applications/velmora.desktop")).open(QIODevice::WriteOnly);
    const std::string data2 = dir.filePath("data2").toStdString();
    ASSERT_TRUE(RegisterFileAssociation("/opt/velmora/velmora", data2, config, {installed.path().toStdString()}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(data2) + "/applications/velmora.desktop"));
    // A folder that cannot be written reports failure and nothing else happens.
    EXPECT_FALSE(RegisterFileAssociation("/x", "/proc/velmora-none", "/proc/velmora-none"));
}

TEST(SingleInstance, SecondHolderIsRefused) {
    QTemporaryDir dir;
    SingleInstance first("젤로네 기보 편집기", dir.path().toStdString());
    SingleInstance second("젤로네 기보 편집기", dir.path().toStdString());
    EXPECT_EQ(first.LockPath(), dir.filePath("젤로네 기보 편집기.lock").toStdString());
    ASSERT_TRUE(first.Acquire());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(first.Acquire());  // the holder keeps it
}

// A second start hands its record to the first through the socket beside the lock, even when
// a crashed run left a socket file there; with nobody listening it gives up.
TEST(SingleInstance, ASecondStartHandsItsRecordOver) {
    QTemporaryDir dir;
    SingleInstance first("젤로네 기보 편집기", dir.path().toStdString());
    SingleInstance second("젤로네 기보 편집기", dir.path().toStdString());
    EXPECT_EQ(first.SocketPath(), dir.filePath("젤로네 기보 편집기.socket").toStdString());
    EXPECT_FALSE(second.HandOver("/tmp/a.sgf", 100));
    QFile left(QString::fromStdString(first.SocketPath()));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();

    std::vector<std::string> received;
    EXPECT_FALSE(first.Listen([](const std::string&) {}));  // only the lock's holder listens
    ASSERT_TRUE(first.Acquire());
    ASSERT_TRUE(first.Listen([&](const std::string& path) { received.push_back(path); }));
    EXPECT_FALSE(second.Acquire());
    const std::string path = "/home/user/기보 모음/첫\n판 #1%.sgf";
    std::atomic<int> handed{-1};
    std::thread start([&] { handed = second.HandOver(path) ? 1 : 0; });
    const QDeadlineTimer limit(20000);
    while ((handed < 0 || received.empty()) && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    start.join();
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(received, std::vector<std::string>{path});
}

TEST(ProgramFolder, BesideTheExecutableOrInTheInstalledDataFolder) {
    QTemporaryDir dir;
    const QString bin = dir.filePath("usr/bin");
    QDir().mkpath(bin);
    auto touch = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly);
    };
    EXPECT_EQ(ProgramFolderFor(bin.toStdString()), bin.toStdString());  // none anywhere
    ASSERT_TRUE(touch(dir.filePath("usr/lib/velmora/Resource.bk2")));
    EXPECT_EQ(ProgramFolderFor(bin.toStdString()), dir.filePath("usr/lib/velmora").toStdString());
    ASSERT_TRUE(touch(dir.filePath("usr/share/velmora/Resource.bk2")));
    EXPECT_EQ(ProgramFolderFor(bin.toStdString() + "/"), dir.filePath("usr/share/velmora").toStdString());
    ASSERT_TRUE(touch(bin + "/Resource.bk2"));  // a build tree keeps everything together
    EXPECT_EQ(ProgramFolderFor(bin.toStdString()), bin.toStdString());
}

// Qt's own dialogs (file, print, message boxes) in Korean, and no display name for the
// desktop to append to titles that already carry the program's name.
TEST(AppSetup, KoreanQtDialogsAndTheNameOnce) {
    SetUpApplication();
    EXPECT_NE(QGuiApplication::applicationDisplayName().toStdString(), kAppTitle);
    ASSERT_TRUE(InstallQtKoreanTranslation(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "취소");
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms").toStdString(),
              "폴더");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QLocale::setDefault(QLocale::c());
}

// Started on a record by a relative path: the record opens, the working directory stays the
// user's, and a skin file that happens to lie in the user's folder never stands in for the
// program's, even in a window opened later. The next start remembers the window's place,
// maximised, and the record.
TEST(EditorApp, StartsOnTheRecordInTheUsersFolderWithTheProgramsSkin) {
    if (!QFile::exists(QString::fromStdString(ProgramFolder() + "/Resource.bk2"))) GTEST_SKIP() << "no Resource.bk2";
    ResourceArchive::Instance().Clear();
    SkinResources::Instance().Clear();
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QFile::copy(VELMORA_TEST_DATA "/gnugo/game_01.sgf", dir.filePath("대국 1.sgf")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("Skin/Dialog"));
    QFile stray(dir.filePath("Skin/Dialog/버전정보.xml"));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly) && stray.write("<Window/>") > 0);
    stray.close();
    QDir::setCurrent(dir.path());
    {
        EditorApp editor(CommandLine::Parse({"대국 1.sgf"}), EditorApp::Options{false, false, false});
        ASSERT_TRUE(editor.InitInstance());
        EXPECT_EQ(editor.Window()->CurrentPath(), QDir(QDir::currentPath()).filePath("대국 1.sgf").toStdString());
        EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
        VersionDialog version("V1.0");
        version.EnsureBuilt();
        EXPECT_FALSE(version.findChildren<SkinButton*>().empty());
        // Skin texts reach the program's strings by number once it has started.
        HtmlDrawer drawer;
        drawer.Prepare(Surface(200, 50), "<string idres=57344>");
        ASSERT_EQ(drawer.Items().size(), 1u);
        EXPECT_EQ(drawer.Items()[0].text, kAppTitle);
        // Closed maximised, before the window system has told the window its new size.
        editor.Window()->PlaceAt(QRect(40, 50, 1000, 760), true);
        editor.ExitInstance();
    }
    SkinResources::Instance().Clear();
    {
        // The next start comes back at that place and lists the record it opened.
        EditorApp editor(CommandLine::Parse({}), EditorApp::Options{false, false, false});
        ASSERT_TRUE(editor.InitInstance());
        EXPECT_EQ(editor.Window()->NormalGeometry(), QRect(40, 50, 1000, 760));
        EXPECT_TRUE(editor.Window()->isMaximized());
        ASSERT_FALSE(editor.Window()->Document().RecentPaths().empty());
        EXPECT_EQ(editor.Window()->Document().RecentPaths()[0], QDir(dir.path()).filePath("대국 1.sgf").toStdString());
        editor.ExitInstance();
    }
    QDir::setCurrent(before);
    SkinResources::Instance().Clear();
}

// A screenshot run has no one to answer a question: without Resource.bk2 beside the program
// it says so on standard error and fails, instead of waiting on a message box.
TEST(EditorApp, ScreenshotWithoutTheResourceFileFailsAndSaysWhy) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(VELMORA_BIN_DIR "/velmora", dir.filePath("velmora")));
    QProcess run;  // on the tests' own (offscreen) platform
    run.start(dir.filePath("velmora"), {"--screenshot", dir.filePath("shot.png")});
    const bool ended = run.waitForFinished(20000);
    run.kill();
    ASSERT_TRUE(ended) << "still waiting after 20 s";
    EXPECT_NE(run.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(run.readAllStandardError()).contains(QString::fromUtf8("Resource.bk2 파일을 찾을 수 없습니다")));
}

// The program itself, started in the user's folder on a record named relative to it, shows
// that record as it does when named in full.
TEST(EditorProgram, OpensARecordNamedRelativeToTheFolderItStartedIn) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(VELMORA_TEST_DATA "/gnugo/game_01.sgf", dir.filePath("대국 1.sgf")));
    int shots = 0;
    const auto shot = [&](const QStringList& record) {
        const QString picture = dir.filePath(QString("%1.png").arg(++shots));
        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(VELMORA_BIN_DIR "/velmora", QStringList{"--screenshot", picture} + record);
        EXPECT_TRUE(program.waitForFinished(60000) && program.exitCode() == 0) << program.readAllStandardError().toStdString();
        return QImage(picture);
    };
    const QImage relative = shot({"대국 1.sgf"});
    ASSERT_FALSE(relative.isNull());
    EXPECT_EQ(relative, shot({dir.filePath("대국 1.sgf")}));
    EXPECT_NE(relative, shot({}));
}

TEST(HelpDialog, PageUnderTheFolderWithForwardSlashes) {
    EXPECT_EQ(HelpDialog::PageAddress("/opt/velmora"), "/opt/velmora/도움말/gibo_main.htm");
    EXPECT_EQ(HelpDialog::PageAddress("C:\\Velmora"), "C:/Velmora/도움말/gibo_main.htm");
}

}  // namespace
}  // namespace velmora
