#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QImageReader>
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
    // Four moves split by two, four diagrams to a page: 0–2 and 2–4 on the top row, two
    // empty boards below (their first move lies past the end).
    QTemporaryDir dir;
    const QStringList files = ExportSplit(dir, "print/corners.sgf", "2", "c.bmp");
    ASSERT_EQ(files,
              QStringList(QStringLiteral("젤로네바둑") +
                          QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + "_c.bmp"));
    const QImage page(dir.filePath(files[0]));
    ASSERT_EQ(page.size(), QSize(1500, 2130));

    const int s = 750, top = 319, second = 1107;  // 1.5U and 5.2U of a 2130-pixel page
    const auto corners = [&](int left, int y0) {
        std::string seen;
        for (auto [x, y] : {std::pair{4, 4}, {16, 16}, {4, 16}, {16, 4}, {10, 10}})
            seen += PointAt(page, left, y0, s, x, y);
        return seen;
    };
    EXPECT_EQ(corners(0, top), "XO...");  // moves 1 and 2
    EXPECT_EQ(corners(s, top), "XOXO.");  // 1 and 2 plain, 3 and 4 numbered
    EXPECT_EQ(corners(0, second), ".....");
    EXPECT_EQ(corners(s, second), ".....");
}

TEST(PrintCommand, LastPageOfASplitEndsWithEmptyBoards) {
    // 250 moves by 50, four to a page: two pages, the second holding 200–250 and three
    // empty boards.
    QTemporaryDir dir;
    const QStringList files = ExportSplit(dir, "print/game250.sgf", "50", "g.bmp");
    ASSERT_EQ(files.size(), 2);
    const QImage page(dir.filePath(files[1]));  // "…ga.bmp"
    ASSERT_FALSE(page.isNull());
    const auto stones = [&](int left, int top) {
        int n = 0;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) n += PointAt(page, left, top, 750, x, y) != '.';
        return n;
    };
    EXPECT_GT(stones(0, 319), 100);
    EXPECT_EQ(stones(750, 319), 0);
    EXPECT_EQ(stones(0, 1107), 0);
    EXPECT_EQ(stones(750, 1107), 0);
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
    EXPECT_NE(Cli({"--help"}).out.find("velmora-cli print FILE"), std::string::npos);
}

}  // namespace
}  // namespace velmora
