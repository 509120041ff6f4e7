#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include "../common/PdfInfo.h"
#include "AppTestSupport.h"
#include "app/ScreenCapture.h"
#include "app/dialogs/PrintDialog.h"
#include "compose/PictureExport.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

using testing::EditorSkinTest;

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

class PrintDialogTest : public EditorSkinTest {
  protected:
    void SetUp() override {
        EditorSkinTest::SetUp();
        if (IsSkipped()) return;
        dialog.EnsureBuilt();
        dialog.SetSource({"기성전", "서울", "2026-12-07"}, 600, {});
    }
    void Choose(int id) { Click(dialog.FindControl(id)); }
    bool ListEnabled() const { return dialog.FindControl(305)->isEnabled(); }
    int Asked(const std::string& kind) const {
        int n = 0;
        for (const auto& a : prompter.asked()) n += a.kind == kind;
        return n;
    }

    PrintDialog dialog;
    QTemporaryDir dir;
};

TEST_F(PrintDialogTest, KindFollowsTheLastChoiceAndOnlySplitsUseTheList) {
    EXPECT_EQ(dialog.Kind(), 200);
    EXPECT_FALSE(ListEnabled());
    Choose(203);
    EXPECT_EQ(dialog.Kind(), 203);
    EXPECT_TRUE(ListEnabled());
    EXPECT_EQ(dialog.ReadSettings().perPage, 1);  // the list starts at its first choice
    Choose(202);
    EXPECT_EQ(dialog.Kind(), 202);
    EXPECT_FALSE(ListEnabled());

    dialog.SetControlText(301, "12수");
    dialog.SetControlText(302, "x");
    dialog.SetControlText(303, "7");
    const PrintSettings range = dialog.ReadSettings();
    EXPECT_EQ(range.first, 12);
    EXPECT_EQ(range.second, 0);
    EXPECT_EQ(range.third, 7);
    EXPECT_EQ(DiagramsPerPage(range), 1);
    // The commentary and the fresh numbering are off until their boxes are ticked.
    EXPECT_FALSE(range.commentary || range.restartNumbers);
    Choose(313);
    EXPECT_TRUE(dialog.ReadSettings().commentary);
    EXPECT_FALSE(dialog.ReadSettings().restartNumbers);
    Choose(314);
    Choose(313);
    EXPECT_FALSE(dialog.ReadSettings().commentary);
    EXPECT_TRUE(dialog.ReadSettings().restartNumbers);
}

TEST_F(PrintDialogTest, PrintsEveryPageToTheChosenPrinterAndStaysOpen) {
    Choose(203);
    dialog.SetControlText(304, "50");
    dialog.SetControlText(305, "2");
    const std::string pdf = dir.filePath("out.pdf").toStdString();
    prompter.AnswerFile(pdf);
    Choose(101);
    EXPECT_EQ(test::PdfPageCount(pdf), 6);  // 600 moves, 100 to a page
    EXPECT_EQ(dialog.result(), 0);          // printing leaves the window open
    EXPECT_EQ(Asked("message"), 0);

    // The preview shows the same pages, and the window stays open after it too.
    const std::string shown = dir.filePath("shown.pdf").toStdString();
    prompter.AnswerFile(shown);
    Choose(102);
    EXPECT_EQ(Asked("preview"), 1);
    EXPECT_EQ(test::PdfPageCount(shown), 6);
    EXPECT_EQ(dialog.result(), 0);

    // Cancelling the system dialog does nothing.
    prompter.Clear();
    Choose(101);
    EXPECT_EQ(Asked("print"), 1);
    EXPECT_EQ(Asked("message"), 0);

    // A printer that cannot start a document.
    prompter.AnswerFile("");
    Choose(101);
    ASSERT_EQ(Asked("message"), 1);
    EXPECT_EQ(prompter.asked().back().text.rfind("인쇄하지 못했습니다: 프린터를 찾을 수 없거나", 0), 0u);

    // No moves per diagram: refused before any printer or file is asked for.
    prompter.Clear();
    dialog.SetControlText(304, "0");
    Choose(101);
    Choose(400);
    EXPECT_EQ(Asked("popup"), 2);
    EXPECT_EQ(Asked("print") + Asked("save"), 0);
}

TEST_F(PrintDialogTest, ExportWritesThePagesAndCloses) {
    Choose(203);
    dialog.SetControlText(304, "100");
    dialog.SetControlText(305, "4");
    prompter.AnswerFile(dir.filePath("game").toStdString());  // the dialog's extension is added
    Choose(400);
    EXPECT_EQ(dialog.result(), SkinDialog::kResultCancel);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 2);  // 600 moves, 400 to a page
    for (const QString& f : files) {
        EXPECT_TRUE(f.startsWith(QStringLiteral("젤로네바둑"))) << f.toStdString();
        EXPECT_TRUE(f.endsWith(QStringLiteral(".BMP"))) << f.toStdString();
        EXPECT_EQ(QImageReader(dir.filePath(f)).size(), QSize(1500, 2130));
    }
    // The user is told where the pictures went and how many there are.
    ASSERT_EQ(Asked("popup"), 1);
    EXPECT_EQ(prompter.asked().back().text,
              "<br>그림 파일 2개를 아래 폴더에 저장했습니다.<br>" + dir.path().toStdString());

    // A folder that cannot be written to is reported, not passed over in silence.
    PrintDialog again;
    again.EnsureBuilt();
    again.SetSource({}, 600, {});
    prompter.Clear();
    prompter.AnswerFile(dir.filePath("missing/game.BMP").toStdString());
    Click(again.FindControl(400));
    ASSERT_EQ(Asked("popup"), 1);
    const std::string notice = prompter.asked().back().text;
    EXPECT_EQ(notice.rfind("<br>그림 파일을 저장하지 못했습니다: 폴더가 없습니다.<br>", 0), 0u) << notice;
    EXPECT_NE(notice.find(dir.filePath("missing/").toStdString()), std::string::npos) << notice;
    EXPECT_EQ(notice.find("개는"), std::string::npos);  // nothing was written

    // .svg and .pdf get the same pages in vectors, named as the pictures are.
    for (const char* name : {"v.svg", "v.PDF"}) {
        QTemporaryDir vectors;
        PrintDialog vector;
        vector.EnsureBuilt();
        vector.SetSource({"기성전"}, 600, {});
        Click(vector.FindControl(203));
        vector.SetControlText(304, "100");
        vector.SetControlText(305, "4");
        prompter.Clear();
        ResetExportLetters();
        prompter.AnswerFile(vectors.filePath(name).toStdString());
        Click(vector.FindControl(400));
        const QStringList written = QDir(vectors.path()).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(written.size(), 2) << name;
        EXPECT_TRUE(written[1].endsWith(QString(name).replace("v.", "va."))) << name;
        QFile first(vectors.filePath(written[0]));
        ASSERT_TRUE(first.open(QIODevice::ReadOnly));
        EXPECT_TRUE(first.read(5) == (name[2] == 's' ? QByteArray("<?xml") : QByteArray("%PDF-")))
            << name;
        EXPECT_EQ(prompter.asked().back().text,
                  "<br>그림 파일 2개를 아래 폴더에 저장했습니다.<br>" + vectors.path().toStdString());
    }
}

TEST_F(PrintDialogTest, AddedFilesPrintAfterThisRecordAsOneBookWithContents) {
    const std::string large = VELMORA_TEST_DATA "/sgf/large.sgf";  // 325 moves: 4 pages below
    const std::string small = VELMORA_TEST_DATA "/sgf/cp949.sgf";   // 1 page
    dialog.SetSource({"기성전", "서울", "2026-12-07"}, 600, {}, nullptr, "/home/kim/현재대국.sgf");
    Choose(203);
    dialog.SetControlText(304, "50");
    dialog.SetControlText(305, "2");
    Choose(310);  // coordinates around every diagram
    EXPECT_EQ(dialog.ReadSettings().coordinates, DiagramCoordinates::kUsual);

    // Two files, one at a time, and one that cannot be read, which is named and left out.
    prompter.AnswerFile(large);
    Choose(410);
    prompter.AnswerFile(dir.filePath("none.sgf").toStdString());
    Choose(410);
    ASSERT_EQ(Asked("popup"), 1);
    EXPECT_NE(prompter.asked().back().text.find("none.sgf"), std::string::npos);
    prompter.AnswerFile(small);
    Choose(410);
    ASSERT_EQ(dialog.AddedRecords().size(), 2u);
    EXPECT_EQ(dialog.GetShapeText(312), "+ 2개: large.sgf, cp949.sgf");

    // Printing, the preview and saving each make one document: the contents, then this record's
    // 6 pages (600 moves, 100 to a page), then each added record's.
    const int expected = 1 + 6 + 4 + 1;
    const QString printed = dir.filePath("book.pdf");
    prompter.AnswerFile(printed.toStdString());
    Choose(101);
    EXPECT_EQ(test::PdfPageCount(printed.toStdString()), expected);
    const QString contents = test::PdfPageText(printed, 1);
    for (const char* name : {"현재대국.sgf", "large.sgf", "cp949.sgf"})
        EXPECT_TRUE(contents.contains(QString::fromUtf8(name))) << contents.toStdString();
    EXPECT_TRUE(contents.contains(QStringLiteral("12쪽"))) << contents.toStdString();
    // The large record's first page carries its own header and numbers its own pages.
    EXPECT_TRUE(test::PdfPageText(printed, 8).contains(QRegularExpression("1\\W*/\\W*4")))
        << test::PdfPageText(printed, 8).toStdString();
    EXPECT_EQ(Asked("message"), 0);

    const QString shown = dir.filePath("shown.pdf");
    prompter.AnswerFile(shown.toStdString());
    Choose(102);
    EXPECT_EQ(test::PdfPageCount(shown.toStdString()), expected);

    prompter.Clear();
    prompter.AnswerFile(dir.filePath("saved").toStdString());  // a book is saved as a PDF
    Choose(400);
    EXPECT_EQ(test::PdfPageCount(dir.filePath("saved.pdf").toStdString()), expected);
    ASSERT_EQ(Asked("popup"), 1);
    EXPECT_NE(prompter.asked().back().text.find("3개"), std::string::npos);
    EXPECT_EQ(dialog.result(), SkinDialog::kResultCancel);
}

TEST(ScreenCapture, NamesCountOnAndFailuresAreReported) {
    QTemporaryDir dir;
    const std::string folder = dir.filePath("바둑캡쳐").toStdString();
    EXPECT_EQ(CaptureFileName("/d", 2008, 12, 6, 0), "/d/젤로네바둑081206__00.jpg");

    QWidget window;
    window.resize(120, 90);
    ResetCaptureCounter();
    const CaptureResult first = CaptureWindow(&window, folder);
    const CaptureResult second = CaptureWindow(&window, folder);
    ASSERT_TRUE(first.written && second.written);
    EXPECT_TRUE(first.path.ends_with("__00.jpg"));
    EXPECT_TRUE(second.path.ends_with("__01.jpg"));
    QImageReader jpeg(QString::fromStdString(second.path));
    EXPECT_EQ(jpeg.format(), "jpeg");
    EXPECT_EQ(jpeg.size(), QSize(120, 90));
    EXPECT_NE(CaptureMessage(second, folder).find("성공적으로"), std::string::npos);

    // A name taken by another file is passed over, the counter never goes back.
    ResetCaptureCounter();
    EXPECT_TRUE(CaptureWindow(&window, folder).path.ends_with("__02.jpg"));

    // A folder that cannot be made: no success is announced.
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const std::string bad = dir.filePath("file/바둑캡쳐").toStdString();
    const CaptureResult failed = CaptureWindow(&window, bad);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(CaptureMessage(failed, bad).find("성공적으로"), std::string::npos);
}

}  // namespace
}  // namespace velmora
