#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QFileInfo>
#include <algorithm>
#include <map>

#include "../common/PdfInfo.h"
#include "CliTestSupport.h"

namespace velmora {
namespace {

using test::Cli;

// The share of pixels of a with no pixel of b in reach (one pixel either way) within half the
// range of its grey, over the area both cover: antialiasing and the rounding of coordinates
// move edges by a pixel and spread a thin line over two half-grey pixels.
double DifferingShare(const QImage& a, const QImage& b) {
    const int w = std::min(a.width(), b.width());
    const int h = std::min(a.height(), b.height());
    long long differing = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int bx = std::clamp(x + dx, 0, w - 1);
                    const int by = std::clamp(y + dy, 0, h - 1);
                    near = std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(bx, by))) <= 128;
                }
            differing += !near;
        }
    }
    return double(differing) / (double(w) * h);
}

TEST(VectorDiagram, SvgAndPdfDrawWhatThePngDraws) {
    // A range of a long game: numbered stones, plain ones, the caption and a list of moves on
    // used points all appear.
    QTemporaryDir dir;
    const std::string large = test::DataPath("sgf/large.sgf");
    const auto draw = [&](const QString& name) {
        const std::string path = dir.filePath(name).toStdString();
        const test::CliRun run = Cli({"diagram", large, "--kind", "range", "--from", "100", "--to",
                                      "325", "--width", "630", "-o", path});
        EXPECT_EQ(run.status, kCliOk) << run.err;
        return dir.filePath(name);
    };
    const QImage png(draw("d.png"));
    ASSERT_EQ(png.size(), QSize(630, 630 + 3 * 30));

    QSvgRenderer svg(draw("d.SVG"));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 630, 720));
    QImage fromSvg(png.size(), QImage::Format_RGB32);
    fromSvg.fill(Qt::red);  // anything the SVG leaves unpainted shows
    {
        QPainter painter(&fromSvg);
        svg.render(&painter);
    }
    // Less than a stone's worth of pixels (some 0.15 % of the picture) may differ.
    EXPECT_LT(DifferingShare(png, fromSvg), 0.001);

    const QString pdf = draw("d.pdf");
    EXPECT_EQ(test::PdfPageCount(pdf.toStdString()), 1);
    // At 96 dots per inch the page is the PNG's size, give or take the rounding of points.
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"),
                 {"-r", "96", "-png", "-singlefile", pdf, dir.filePath("fromPdf")});
    ASSERT_TRUE(raster.waitForFinished(60000));
    const QImage fromPdf(dir.filePath("fromPdf.png"));
    ASSERT_FALSE(fromPdf.isNull());
    EXPECT_LE(std::abs(fromPdf.width() - 630), 1);
    EXPECT_LE(std::abs(fromPdf.height() - 720), 1);
    EXPECT_LT(DifferingShare(png, fromPdf), 0.001);

    // A refused range writes nothing.
    const std::string refused = dir.filePath("r.svg").toStdString();
    EXPECT_EQ(Cli({"diagram", large, "--kind", "range", "--from", "60", "--to", "40", "-o",
                   refused})
                  .status,
              kCliFailed);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(refused)));
    EXPECT_EQ(Cli({"diagram", large, "-o", dir.filePath("no/such/d.svg").toStdString()}).status,
              kCliFailed);
}

// The texts of an SVG picture with where each is drawn (its x and y).
std::multimap<QString, QPointF> SvgTexts(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString svg = QString::fromUtf8(file.readAll());
    std::multimap<QString, QPointF> texts;
    const QRegularExpression text(
        QStringLiteral("<text[^>]* x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"[^>]*>([^<]*)</text>"));
    for (auto it = text.globalMatch(svg); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        texts.insert({m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())});
    }
    return texts;
}

// The labels along a labelled board's top edge, left to right ("ABC…"), and down its left
// edge, top to bottom, in an SVG picture's texts: those in line with the top "A", and those
// left of it between the top and bottom "A".
std::pair<std::string, std::vector<std::string>> EdgeLabels(
    const std::multimap<QString, QPointF>& texts) {
    const auto [from, to] = texts.equal_range(QStringLiteral("A"));
    if (from == to) return {};
    QPointF top = from->second;
    double bottom = top.y();
    for (auto it = from; it != to; ++it) {
        if (it->second.y() < top.y()) top = it->second;
        bottom = std::max(bottom, it->second.y());
    }
    std::map<double, QString> across, down;
    for (const auto& [text, at] : texts)
        if (std::abs(at.y() - top.y()) < 0.5) across[at.x()] = text;
    if (across.size() < 2) return {};
    // Row labels stand a cell left of column A, clear of the numbers on its stones.
    const double cell = std::next(across.begin())->first - across.begin()->first;
    for (const auto& [text, at] : texts)
        if (at.x() < top.x() - cell / 2 && at.y() > top.y() + 1 && at.y() < bottom - 1)
            down[at.y()] = text;
    std::pair<std::string, std::vector<std::string>> edges;
    for (const auto& [x, text] : across) edges.first += text.toStdString();
    for (const auto& [y, text] : down) edges.second.push_back(text.toStdString());
    return edges;
}

TEST(DiagramCoordinates, LabelledInTheUsualLettersOrAsTheBoardShowsThem) {
    QTemporaryDir dir;
    const std::string nine = test::DataPath("sizes/gnugo-9-handicap3.sgf");
    const auto draw = [&](const std::string& record, const char* style, const QString& name) {
        std::vector<std::string> args{"diagram", record, "-o", dir.filePath(name).toStdString()};
        if (style) args.insert(args.end(), {"--coordinates", style});
        const test::CliRun run = Cli(args);
        EXPECT_EQ(run.status, kCliOk) << run.err;
        return SvgTexts(dir.filePath(name));
    };
    const std::vector<std::string> up9{"9", "8", "7", "6", "5", "4", "3", "2", "1"};
    std::vector<std::string> down9 = up9;
    std::reverse(down9.begin(), down9.end());
    // Usual: columns without I, rows counted from the bottom; letters below and numbers on the
    // right too.
    const auto usual = draw(nine, "usual", "usual.svg");
    EXPECT_EQ(EdgeLabels(usual), std::pair(std::string("ABCDEFGHJ"), up9));
    EXPECT_EQ(usual.count("J"), 2u);
    EXPECT_EQ(usual.count("I"), 0u);
    // As the board shows them: its letters (I included), rows counted from the top.
    const auto classic = draw(nine, "classic", "classic.svg");
    EXPECT_EQ(EdgeLabels(classic), std::pair(std::string("ABCDEFGHI"), down9));
    EXPECT_EQ(classic.count("J"), 0u);
    const auto plain = draw(nine, nullptr, "plain.svg");
    EXPECT_EQ(plain.count("A") + plain.count("I") + plain.count("J"), 0u);

    // On 19 lines the usual letters run A–T; the list below names points by the labels drawn
    // around the board (the sample's point the board calls L18 is M2 in the usual letters).
    const std::string large = test::DataPath("sgf/large.sgf");
    const auto labelled = draw(large, "usual", "large.svg");
    std::vector<std::string> up19;
    for (int row = 19; row >= 1; --row) up19.push_back(std::to_string(row));
    EXPECT_EQ(EdgeLabels(labelled), std::pair(std::string("ABCDEFGHJKLMNOPQRST"), up19));
    EXPECT_EQ(labelled.count("M2: "), 1u);
    EXPECT_EQ(labelled.count("L18: "), 0u);
    EXPECT_EQ(draw(large, nullptr, "large-plain.svg").count("L18: "), 1u);

    // The print takes the option too, and both commands refuse other styles.
    const std::string pdf = dir.filePath("print.pdf").toStdString();
    EXPECT_EQ(Cli({"print", large, "--coordinates", "usual", "-o", pdf}).status, kCliOk);
    EXPECT_TRUE(test::PdfPageText(QString::fromStdString(pdf), 1).contains("M2:"));
    EXPECT_EQ(Cli({"diagram", nine, "--coordinates", "xy", "-o", "x.png"}).status, kCliUsage);
    EXPECT_EQ(Cli({"print", nine, "--coordinates", "", "-o", pdf}).status, kCliUsage);
}

TEST(Book, ContentsThenEveryRecordsPagesInOneDocument) {
    constexpr int kManyRecords = 26;  // more than one contents page names
    QTemporaryDir dir;
    const std::string large = test::DataPath("sgf/large.sgf");   // 325 moves
    const std::string small = test::DataPath("sgf/cp949.sgf");
    const std::vector<std::string> split{"--kind", "split", "--moves", "50", "--per-page", "2"};
    const auto pagesOf = [&](const std::vector<std::string>& files, const QString& name) {
        std::vector<std::string> args{"print"};
        args.insert(args.end(), files.begin(), files.end());
        args.insert(args.end(), split.begin(), split.end());
        const std::string out = dir.filePath(name).toStdString();
        args.insert(args.end(), {"-o", out});
        const test::CliRun run = Cli(args);
        EXPECT_EQ(run.status, kCliOk) << run.err;
        return std::pair{test::PdfPageCount(out), run.err};
    };
    const int largePages = pagesOf({large}, "large.pdf").first;
    const int smallPages = pagesOf({small}, "small.pdf").first;
    ASSERT_EQ(largePages, 4);
    ASSERT_GE(smallPages, 1);

    const auto [bookPages, progress] = pagesOf({large, small}, "book.pdf");
    EXPECT_EQ(bookPages, 1 + largePages + smallPages);
    EXPECT_NE(progress.find("1/2 large.sgf\n"), std::string::npos) << progress;
    EXPECT_NE(progress.find("2/2 cp949.sgf\n"), std::string::npos) << progress;

    // The contents page names every file, its players and the page it starts on; the next
    // page is the first record's own first page.
    const QString contents = test::PdfPageText(dir.filePath("book.pdf"), 1);
    EXPECT_TRUE(contents.contains("large.sgf")) << contents.toStdString();
    EXPECT_TRUE(contents.contains("cp949.sgf")) << contents.toStdString();
    EXPECT_TRUE(contents.contains("이세돌")) << contents.toStdString();
    EXPECT_TRUE(contents.contains(QString::number(2 + largePages) + "쪽"))
        << contents.toStdString();
    EXPECT_EQ(test::PdfPageText(dir.filePath("book.pdf"), 2), test::PdfPageText(dir.filePath("large.pdf"), 1));
    // Its last page is the single print's last page too: one diagram, no empty board after it.
    const auto picture = [&](const QString& pdf, int page) {
        const QString prefix = dir.filePath(QStringLiteral("page"));
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {"-r", "40", "-f", QString::number(page), "-l",
                                             QString::number(page), "-singlefile", "-png", pdf,
                                             prefix});
        p.waitForFinished(60000);
        return QImage(prefix + ".png");
    };
    const QImage alone = picture(dir.filePath("large.pdf"), largePages);
    ASSERT_FALSE(alone.isNull());
    EXPECT_EQ(picture(dir.filePath("book.pdf"), 1 + largePages), alone);

    // Past a page of names the contents go on over the next page; the records follow it.
    const std::vector<std::string> many(kManyRecords, small);
    std::vector<std::string> args{"print"};
    args.insert(args.end(), many.begin(), many.end());
    const QString longBook = dir.filePath("long.pdf");
    args.insert(args.end(), {"-o", longBook.toStdString()});
    ASSERT_EQ(Cli(args).status, kCliOk);
    EXPECT_EQ(test::PdfPageCount(longBook.toStdString()), 2 + kManyRecords * smallPages);
    const QString more = test::PdfPageText(longBook, 2);
    // (pdftotext reads the space of this face as a control character)
    const QRegularExpression last(QString("%1\\.\\W*cp949\\.sgf").arg(kManyRecords));
    EXPECT_TRUE(more.contains(last)) << more.toStdString();
    EXPECT_TRUE(more.contains(QString("%1쪽").arg(2 + (kManyRecords - 1) * smallPages + 1)))
        << more.toStdString();
    EXPECT_FALSE(test::PdfPageText(longBook, 1).contains(last));

    // A file that cannot be read stops the book before anything is written.
    const std::string broken = dir.filePath("broken.pdf").toStdString();
    EXPECT_EQ(Cli({"print", large, test::DataPath("sgf/none.sgf"), "-o", broken}).status,
              kCliFailed);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(broken)));
    EXPECT_EQ(Cli({"print", large, small, "-o", dir.filePath("b.bmp").toStdString()}).status,
              kCliUsage);
    const std::string help = Cli({"--help"}).out;
    EXPECT_NE(help.find("print FILE…"), std::string::npos);
    EXPECT_NE(help.find("OUT.png|OUT.svg|OUT.pdf"), std::string::npos);
}

}  // namespace
}  // namespace velmora
