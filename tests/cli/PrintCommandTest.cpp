#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/PdfInfo.h"
#include "CliTestSupport.h"
#include "compose/PictureExport.h"

namespace velmora {
namespace {

using test::Cli;

TEST(PrintCommand, PdfPagesFollowTheKindAndTheSplit) {
    QTemporaryDir dir;
    const std::string large = test::DataPath("sgf/large.sgf");  // 325 moves
    struct Case {
        std::vector<std::string> options;
        int pages;
    } cases[] = {
        {{}, 1},
        {{"--kind", "split", "--moves", "50", "--per-page", "2"}, 4},
        {{"--kind", "split", "--moves", "50", "--per-page", "4"}, 2},
        {{"--kind", "split", "--moves", "100", "--per-page", "4"}, 1},
        {{"--kind", "range", "--from", "10", "--to", "60"}, 1},
        {{"--kind", "current", "--move", "30"}, 1},
        // The paper and its orientation change the slots, never the pages.
        {{"--kind", "split", "--moves", "50", "--paper", "Letter"}, 7},
        {{"--kind", "split", "--moves", "50", "--per-page", "2", "--landscape"}, 4},
        {{"--kind", "split", "--moves", "50", "--per-page", "4", "--paper", "b5", "--landscape"}, 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string pdf = dir.filePath(QString("p%1.PDF").arg(n++)).toStdString();
        std::vector<std::string> args{"print", large};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {"-o", pdf});
        const test::CliRun run = Cli(args);
        ASSERT_EQ(run.status, kCliOk) << run.err;
        EXPECT_EQ(test::PdfPageCount(pdf), c.pages) << pdf;
    }
    // A landscape Letter page is wider than it is tall.
    const std::string wide = dir.filePath("wide.pdf").toStdString();
    ASSERT_EQ(Cli({"print", large, "--paper", "letter", "--landscape", "-o", wide}).status, kCliOk);
    EXPECT_EQ(test::PdfPageSize(wide), "792 x 612 pts (letter)");
}

// What a picture shows at point (x, y) of a diagram drawn s wide at (left, top): 'X' a black
// stone, 'O' a white one, '.' an empty point (its grid lines), '?' anything else.
char PointAt(const QImage& page, int left, int top, int s, int x, int y) {
    const int G = s / 21;
    const int cx = left + x * G;
    const int cy = top + G + y * G;
    const auto dark = [&](int px, int py) { return qGray(page.pixel(px, py)) < 64; };
    const auto light = [&](int px, int py) { return qGray(page.pixel(px, py)) > 192; };
    // Off both grid lines, then on the horizontal one, inside the stone but clear of its
    // number; towards the board's inside on its first row and column.
    const int dx = x == 1 ? G / 4 : -G / 4;
    const int dy = y == 1 ? G / 4 : -G / 4;
    const bool offDark = dark(cx + dx, cy + dy);
    const bool onDark = dark(cx + dx, cy);
    if (offDark && onDark) return 'X';
    if (light(cx + dx, cy + dy) && light(cx + dx, cy)) return 'O';
    if (light(cx + dx, cy + dy) && onDark) return '.';
    return '?';
}

// Exports record split by moves, four diagrams to a page, into dir as name → the pictures'
// file names in order.
QStringList ExportSplit(const QTemporaryDir& dir, const std::string& record, const char* moves,
                        const char* name) {
    ResetExportLetters();
    const test::CliRun run = Cli({"print", test::DataPath(record), "--kind", "split", "--moves",
                                  moves, "--per-page", "4", "-o", dir.filePath(name).toStdString()});
    EXPECT_EQ(run.status, kCliOk) << run.err;
    return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
}

TEST(PrintCommand, ExportedPageShowsEachDiagramInItsSlot) {
    // Four moves split by two, four diagrams to a page: 0–2 and 2–4 on the top row, and no
    // empty boards after them.
    QTemporaryDir dir;
    const QStringList files = ExportSplit(dir, "print/corners.sgf", "2", "c.bmp");
    ASSERT_EQ(files,
              QStringList(QStringLiteral("젤로네바둑") +
                          QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + "_c.bmp"));
    const QImage page(dir.filePath(files[0]));
    ASSERT_EQ(page.size(), QSize(1500, 2130));

    const auto slot = [](int i) { return DiagramSlot(1500, 2130, 4, i, PageOutput::kPicture); };
    const auto corners = [&](int i) {
        std::string seen;
        for (auto [x, y] : {std::pair{4, 4}, {16, 16}, {4, 16}, {16, 4}, {10, 10}})
            seen += PointAt(page, slot(i).left(), slot(i).top(), slot(i).width(), x, y);
        return seen;
    };
    EXPECT_EQ(corners(0), "XO...");  // moves 1 and 2
    EXPECT_EQ(corners(1), "XOXO.");  // 1 and 2 plain, 3 and 4 numbered
    for (int i : {2, 3}) {
        const QRect r = slot(i);
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); y += 3)
            for (int x = r.left(); x <= r.right(); x += 3) dark += qGray(page.pixel(x, y)) < 128;
        EXPECT_EQ(dark, 0) << "slot " << i << " holds a board";
    }
}

TEST(PrintCommand, RefusesWhatCannotBePrinted) {
    QTemporaryDir dir;
    const std::string large = test::DataPath("sgf/large.sgf");
    const std::string pdf = dir.filePath("x.pdf").toStdString();
    EXPECT_EQ(Cli({"print", large, "-o", dir.filePath("x.png").toStdString()}).status, kCliUsage);
    EXPECT_EQ(Cli({"print", large, "--kind", "split", "--moves", "0", "-o", pdf}).status,
              kCliUsage);
    EXPECT_EQ(Cli({"print", large, "--per-page", "3", "-o", pdf}).status, kCliUsage);
    EXPECT_EQ(
        Cli({"print", large, "--kind", "range", "--from", "60", "--to", "40", "-o", pdf}).status,
        kCliUsage);
    EXPECT_EQ(Cli({"print", large, "--kind", "current", "--move", "900", "-o", pdf}).status,
              kCliUsage);
    EXPECT_EQ(Cli({"print", large}).status, kCliUsage);
    EXPECT_EQ(Cli({"print", test::DataPath("sgf/none.sgf"), "-o", pdf}).status, kCliFailed);
    EXPECT_EQ(Cli({"print", large, "-o", dir.filePath("no/such/x.pdf").toStdString()}).status,
              kCliFailed);
    EXPECT_EQ(Cli({"print", large, "--paper", "A3", "-o", pdf}).status, kCliUsage);
    // Pictures keep their one size.
    EXPECT_EQ(Cli({"print", large, "--landscape", "-o", dir.filePath("x.bmp").toStdString()}).status,
              kCliUsage);
    const std::string help = Cli({"--help"}).out;
    EXPECT_NE(help.find("velmora-cli print FILE"), std::string::npos);
    EXPECT_NE(help.find("--paper A4|Letter|B5"), std::string::npos);
}

// What the pages of a PDF print between their headers and footers, through poppler's
// pdftotext, without white space: lines wrap where the page is full, and the text of one
// page goes on on the next.
QString PdfBodyWithoutSpaces(const QString& path, int pages) {
    QString body;
    for (int page = 1; page <= pages; ++page) {
        QString text = test::PdfPageText(path, page);
        // (pdftotext may read a space of the page's face as a control character)
        text.remove(QRegularExpression(QStringLiteral("[\\s\\p{C}]")));
        const QString header = QStringLiteral("대국결과:");
        text = text.mid(text.indexOf(header) + header.size());
        text.remove(QRegularExpression(QStringLiteral("\\d+/\\d+젤로네바둑.*$")));
        body += text;
    }
    return body;
}

TEST(PrintCommand, CommentaryIsPrintedOnceInMoveOrderOverAsManyPagesAsItNeeds) {
    // 60 moves on points apart (nothing is captured), each with its comment, some long; two
    // lines of another program after the last (reference diagrams there).
    QTemporaryDir dir;
    const auto point = [](int j) {
        return std::string{char('a' + 2 * (j % 9)), char('a' + 2 * (j / 9))};
    };
    const auto comment = [](int j) {
        std::string text = "제" + std::to_string(j) + "수해설 흑이 먼저 귀를 차지한다.";
        for (int k = 0; k < (j % 10 == 0 ? 12 : 1); ++k) text += " 백은 변으로 벌려 균형을 잡는다.";
        if (j == 45) text += "\n\n둘째 문단도 그대로 인쇄된다.";
        return text;
    };
    std::string sgf = "(;GM[1]FF[4]SZ[19]C[대국 전 해설]";
    for (int j = 1; j <= 60; ++j)
        sgf += std::string(";") + (j % 2 ? "B" : "W") + "[" + point(j) + "]C[" + comment(j) + "]";
    sgf += "(;B[ss];W[sr];B[rs])(;B[rr];W[rq]))";
    const QString path = dir.filePath("commented.sgf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sgf.c_str(), static_cast<qint64>(sgf.size()));
    }
    const std::string pdf = dir.filePath("c.pdf").toStdString();
    const std::string plain = dir.filePath("p.pdf").toStdString();
    const std::vector<std::string> split{"print", path.toStdString(), "--kind", "split",
                                         "--moves", "30", "--per-page", "2"};
    std::vector<std::string> args = split;
    args.insert(args.end(), {"--commentary", "--restart-numbers", "-o", pdf});
    const test::CliRun run = Cli(args);
    ASSERT_EQ(run.status, kCliOk) << run.err;
    args = split;
    args.insert(args.end(), {"-o", plain});
    ASSERT_EQ(Cli(args).status, kCliOk);

    const int pages = test::PdfPageCount(pdf);
    EXPECT_EQ(test::PdfPageCount(plain), 1);
    EXPECT_GE(pages, 2);
    EXPECT_LE(pages, 6);
    const QString text = PdfBodyWithoutSpaces(QString::fromStdString(pdf), pages);
    qsizetype at = text.indexOf(QStringLiteral("대국전해설"));
    EXPECT_GE(at, 0);
    for (int j = 1; j <= 60; ++j) {
        QString expected = QString::fromStdString(comment(j));
        expected.remove(QRegularExpression(QStringLiteral("\\s")));
        const qsizetype found = text.indexOf(expected);
        ASSERT_GE(found, 0) << "comment " << j << " is missing";
        EXPECT_GT(found, at) << "comment " << j << " is out of order";
        EXPECT_EQ(text.indexOf(expected, found + 1), -1) << "comment " << j << " twice";
        at = found;
    }
    // The lines after move 60 are drawn small, each under its kind, after its comment.
    EXPECT_EQ(text.count(QStringLiteral("참고도")), 2);
    EXPECT_GT(text.lastIndexOf(QStringLiteral("참고도")), at);

    // Pictures get the commentary too, over more than one page.
    QDir pictures(dir.filePath("bmp"));
    ASSERT_TRUE(pictures.mkpath("."));
    args = split;
    args.insert(args.end(), {"--commentary", "-o", pictures.filePath("c.bmp").toStdString()});
    ASSERT_EQ(Cli(args).status, kCliOk);
    EXPECT_GE(pictures.entryList(QDir::Files).size(), 2);
    const std::string help = Cli({"--help"}).out;
    EXPECT_NE(help.find("[--commentary] [--restart-numbers]"), std::string::npos);
}

}  // namespace
}  // namespace velmora
