#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <vector>

#include "compose/PageComposer.h"
#include "compose/PictureExport.h"

namespace velmora {
namespace {

PrintSettings Split(int moves, int perPage) {
    return {203, 0, 0, 0, moves, perPage};
}

// Where a diagram painter was asked to draw, in page units.
struct Drawn {
    DiagramValues values;
    int width = 0;
    QRectF onPage;
};

PageRequest Recording(std::vector<Drawn>& drawn, const PrintSettings& settings) {
    PageRequest r;
    r.settings = settings;
    r.diagram = [&drawn](QPainter& p, int width, const DiagramValues& v, PageOutput output) {
        const QRectF area(0, 0, width, DiagramHeight(width, output));
        drawn.push_back({v, width, p.transform().mapRect(area)});
        return true;
    };
    return r;
}

TEST(PageComposer, SplitPagesAndTheirDiagrams) {
    // 250 moves, 50 to a diagram, four to a page: the second page holds 200–250 and three
    // diagrams starting at or past the end (the composer draws those as empty boards).
    const PrintSettings four = Split(50, 4);
    EXPECT_EQ(PageCount(four, 250), 2);
    EXPECT_EQ(PageCount(four, 200), 1);
    EXPECT_EQ(PageCount(four, 201), 2);
    EXPECT_EQ(PageCount(four, 0), 1);
    EXPECT_EQ(PageCount(Split(50, 2), 600), 6);
    EXPECT_EQ(PageCount({202, 10, 20, 0, 0, 4}, 600), 1);  // only splits have more pages
    EXPECT_FALSE(SettingsError(Split(0, 4)).empty());
    EXPECT_FALSE(SettingsError(Split(50, 0)).empty());
    EXPECT_TRUE(SettingsError(Split(50, 4)).empty());
    EXPECT_FALSE(SettingsError({202, 60, 40, 0, 0, 1}).empty());
    EXPECT_FALSE(SettingsError({202, 10, 40, -1, 0, 1}).empty());
    EXPECT_TRUE(SettingsError({202, 40, 40, 0, 0, 1}).empty());

    std::vector<Drawn> drawn;
    const PageRequest request = Recording(drawn, four);
    QImage page(1500, 2130, QImage::Format_RGB32);
    QPainter painter(&page);
    ComposePage(painter, request, 2);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].values.first, 200);
    EXPECT_EQ(drawn[0].values.second, 250);
    for (int i = 1; i < 4; ++i) EXPECT_GE(drawn[i].values.first, 250);
    // Values far past any record stay positive.
    EXPECT_GT(DiagramValuesAt(Split(2000000000, 4), 3, 2).first, 0);

    // A whole-record print has one diagram, whatever the list says.
    drawn.clear();
    ComposePage(painter, Recording(drawn, {200, 0, 0, 0, 50, 4}), 1);
    EXPECT_EQ(drawn.size(), 1u);
}

TEST(PageComposer, PrintedDiagramsAreScaledIntoCentredSlots) {
    // Printing composes each diagram at the page width and scales it into its slot; two to a
    // page stand centred, one above the other.
    const int W = 2480, Hp = 3508;
    std::vector<Drawn> drawn;
    PageRequest request = Recording(drawn, Split(50, 2));
    request.width = W;
    request.height = Hp;
    QImage page(W, Hp, QImage::Format_RGB32);
    QPainter painter(&page);
    ComposePage(painter, request, 1);
    ASSERT_EQ(drawn.size(), 2u);
    for (const Drawn& d : drawn) {
        EXPECT_EQ(d.width, W);
        EXPECT_NEAR(d.onPage.center().x(), W / 2.0, 1.0);
        EXPECT_NEAR(d.onPage.width(), 2 * (W / 4), 0.01);
        EXPECT_NEAR(d.onPage.height(), 1240 + 3 * (1240 / 21), 0.01);
    }
    EXPECT_NEAR(drawn[0].onPage.top(), 525, 0.01);   // 1.5U
    EXPECT_NEAR(drawn[1].onPage.top(), 1925, 0.01);  // 5.5U

    // Four to a page: two columns of half the width, the second row at 5.5U.
    const QRect last = DiagramSlot(W, Hp, 4, 3, PageOutput::kPrint);
    EXPECT_EQ(last, QRect(1240, 1925, 1240, 1240 + 3 * 59));
    // A count other than 1, 2 or 4 uses the single slot.
    EXPECT_EQ(DiagramSlot(W, Hp, 3, 2, PageOutput::kPrint),
              DiagramSlot(W, Hp, 1, 0, PageOutput::kPrint));
}

TEST(PageComposer, PicturePageGeometry) {
    // Pictures draw diagrams at their slot width, the second row at 5.2U; header rules and the
    // footer rule fall on exact pixels.
    std::vector<Drawn> drawn;
    PageRequest request = Recording(drawn, Split(50, 4));
    request.width = 1500;
    request.height = 2130;
    request.output = PageOutput::kPicture;
    QImage page(1500, 2130, QImage::Format_RGB32);
    page.fill(Qt::red);
    {
        QPainter painter(&page);
        ComposePage(painter, request, 1);
    }
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].width, 750);
    EXPECT_EQ(drawn[2].onPage, QRectF(0, 1107, 750, 750 + 4 * 35));
    EXPECT_EQ(drawn[3].onPage.topLeft(), QPointF(750, 1107));

    const int G = 71, h = (319 - G) / 5;
    const auto black = [&](int x, int y) { return page.pixel(x, y) == qRgb(0, 0, 0); };
    for (int k = 0; k <= 4; ++k) EXPECT_TRUE(black(400, G + k * h)) << k;
    EXPECT_FALSE(black(400, G + h / 2 - 10));
    EXPECT_TRUE(black(G, G + 2));            // the table's left rule
    EXPECT_TRUE(black(750, G + 3 * h + 2));  // the middle rule
    // The footer: its rule shows below the block's top edge, the page ends white.
    EXPECT_TRUE(black(750, 2130 - 106 + 1));
    EXPECT_FALSE(black(750, 2130 - 106 + 6));
    EXPECT_EQ(page.pixel(3, 2127), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(3, 3), qRgb(255, 255, 255));
}

TEST(PictureExport, EveryPageGetsItsOwnFile) {
    EXPECT_EQ(ExportFirstPath("/x/game.BMP", 2026, 12, 7), "/x/젤로네바둑20261207_game.BMP");
    EXPECT_EQ(NextExportPath("/a.BMP/game", "c"), "/a.BMP/gamec");  // the folder stays
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString();
    std::vector<Drawn> drawn;
    ResetExportLetters();

    ExportResult r = ExportPages(Recording(drawn, Split(10, 1)), 3, folder + "/p_game.BMP");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.written, (std::vector<std::string>{folder + "/p_game.BMP", folder + "/p_gamea.BMP",
                                                   folder + "/p_gameab.BMP"}));
    // A later export goes on with the next letters; a lower-case name keeps all its pages.
    r = ExportPages(Recording(drawn, Split(10, 1)), 2, folder + "/q.bmp");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.written.back(), folder + "/qd.bmp");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);

    const QImage picture(QString::fromStdString(r.written.front()));
    EXPECT_EQ(picture.size(), QSize(kExportPageWidth, kExportPageHeight));

    r = ExportPages(Recording(drawn, Split(10, 1)), 1, folder + "/no/such/folder/x.bmp");
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.written.empty());

    // Letters run on past "z" without control characters.
    ResetExportLetters();
    std::string letters;
    for (int i = 0; i < 31; ++i) letters += TakeExportLetter();
    EXPECT_EQ(letters, "abcdefghijklmnopqrstuvwxyz{|}~¡");
}

}  // namespace
}  // namespace velmora
