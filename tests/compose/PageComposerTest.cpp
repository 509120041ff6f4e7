#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <vector>

#include "compose/DiagramComposer.h"
#include "compose/PageComposer.h"
#include "compose/PictureExport.h"
#include "game/BoardLogic.h"
#include "game/SgfFile.h"

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

TEST(PageComposer, SplitPagesLeaveOutBoardsPastTheEnd) {
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
    // Values far past any record stay positive.
    EXPECT_GT(DiagramValuesAt(Split(2000000000, 4), 3, 2).first, 0);

    // 250 moves, 50 to a diagram, four to a page: the second page holds 200–250 alone, with
    // no empty boards after it; a record without moves still prints its one board.
    std::vector<Drawn> drawn;
    PageRequest request = Recording(drawn, four);
    request.totalMoves = 250;
    QImage page(1500, 2130, QImage::Format_RGB32);
    QPainter painter(&page);
    ComposePage(painter, request, 2);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].values.first, 200);
    EXPECT_EQ(drawn[0].values.second, 250);
    request.totalMoves = 0;
    EXPECT_EQ(DiagramsOnPage(request, 1).size(), 1u);

    // A whole-record print has one diagram, whatever the list says.
    drawn.clear();
    ComposePage(painter, Recording(drawn, {200, 0, 0, 0, 50, 4}), 1);
    EXPECT_EQ(drawn.size(), 1u);
}

TEST(PageComposer, PrintedDiagramsAreScaledIntoTheirSlots) {
    // Printing composes each diagram at the page width and scales it into its slot.
    const int W = 2480, Hp = 3508;
    std::vector<Drawn> drawn;
    PageRequest request = Recording(drawn, Split(50, 2));
    request.width = W;
    request.height = Hp;
    QImage page(W, Hp, QImage::Format_RGB32);
    QPainter painter(&page);
    ComposePage(painter, request, 1);
    ASSERT_EQ(drawn.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(drawn[i].width, W);
        const QRect slot = DiagramSlot(W, Hp, 2, i, PageOutput::kPrint);
        EXPECT_NEAR(drawn[i].onPage.left(), slot.left(), 0.01);
        EXPECT_NEAR(drawn[i].onPage.top(), slot.top(), 0.01);
        EXPECT_NEAR(drawn[i].onPage.width(), slot.width(), 0.01);
        EXPECT_NEAR(drawn[i].onPage.height(), slot.height(), 0.01);
        EXPECT_NEAR(drawn[i].onPage.center().x(), W / 2.0, 1.0);  // upright: one above the other
    }
}

// A record whose moves keep coming back to a few points: every diagram of it has a long list.
DiagramSource Recaptures(int moves) {
    DiagramSource source;
    for (int j = 1; j <= moves; ++j) {
        MoveRecord m;
        m.x = 1 + j % 7;
        m.y = 1 + (j / 7) % 3;
        m.colour = j % 2 ? kBlack : kWhite;
        source.moves[j] = m;
    }
    return source;
}

// recaptures with a comment on every move, from a line to a few paragraphs, and reference
// diagrams stored on some of them (several on one move, one described).
DiagramSource Commented(DiagramSource source) {
    source.openingComment = "대국 전 해설";
    for (auto& [j, move] : source.moves) {
        for (int k = 0; k <= j % 6; ++k) move.text += "흑이 먼저 귀를 차지하고 백은 변으로 벌린다. ";
        if (j % 13 == 0) move.text += "\n\n둘째 문단: " + std::to_string(j);
    }
    for (int base : {0, 10, 60, 60, 60, 61, 150, 299}) {
        ReferenceDiagram r;
        r.base = base;
        r.kind = base % 5;
        for (int n = 1; n <= 4; ++n) {
            MoveRecord m;
            m.x = 10 + n;
            m.y = 12;
            m.colour = n % 2 ? kBlack : kWhite;
            r.moves[n] = m;
        }
        if (base == 60) r.text = "이렇게 두면 흑이 좋다";
        source.references.push_back(r);
    }
    return source;
}

// The print area of paper in page units: half the pixels of a 600 dpi PDF, as PrintPages uses.
QSize PrintedPage(QPageSize::PageSizeId paper, bool landscape) {
    const QRect r = PrintPageLayout(QPageSize(paper), landscape).paintRectPixels(600);
    return {r.width() / 2, r.height() / 2};
}

TEST(PageComposer, NoComposedBoxesOverlapOnAnyPaper) {
    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    ASSERT_TRUE(file.Open(VELMORA_TEST_DATA "/sgf/large.sgf").ok);
    const int total = board.Record().MainLineLength();
    ASSERT_EQ(total, 325);
    const DiagramSource sample = DiagramSourceFromBoard(board, "6.5/호선");
    const DiagramSource recaptures = Recaptures(300);
    const DiagramSource commented = Commented(Recaptures(300));

    struct Paper {
        const char* name;
        QSize size;
        PageOutput output;
    };
    const Paper papers[] = {
        {"A4", PrintedPage(QPageSize::A4, false), PageOutput::kPrint},
        {"Letter", PrintedPage(QPageSize::Letter, false), PageOutput::kPrint},
        {"A4 landscape", PrintedPage(QPageSize::A4, true), PageOutput::kPrint},
        {"Letter landscape", PrintedPage(QPageSize::Letter, true), PageOutput::kPrint},
        {"B5", PrintedPage(QPageSize::JisB5, false), PageOutput::kPrint},
        {"picture", QSize(kExportPageWidth, kExportPageHeight), PageOutput::kPicture},
    };
    const std::pair<const DiagramSource*, int> records[] = {
        {&sample, total}, {&recaptures, 300}, {&commented, 300}};
    for (const Paper& paper : papers) {
        for (auto [source, moves] : records) {
            for (int perPage : {1, 2, 4}) {
                // Coordinates take their room inside each diagram's own picture.
                PrintSettings labelled = Split(50, perPage);
                labelled.coordinates = DiagramCoordinates::kUsual;
                std::vector<PrintSettings> kinds{Split(50, perPage), PrintSettings{}, labelled};
                for (PrintSettings withCommentary : {Split(50, perPage), PrintSettings{}}) {
                    withCommentary.commentary = true;
                    withCommentary.restartNumbers = true;
                    withCommentary.coordinates = DiagramCoordinates::kUsual;
                    kinds.push_back(withCommentary);
                }
                for (const PrintSettings& settings : kinds) {
                    PageRequest request;
                    request.width = paper.size.width();
                    request.height = paper.size.height();
                    request.output = paper.output;
                    request.settings = settings;
                    request.totalMoves = moves;
                    // (the page does not own the record)
                    request.source = std::shared_ptr<const DiagramSource>(
                        std::shared_ptr<const DiagramSource>(), source);
                    PlanCommentary(request);
                    const int pages = PrintedPageCount(request);
                    if (!settings.commentary) {
                        EXPECT_EQ(pages, PageCount(settings, moves));
                    }
                    int diagrams = 0;
                    int lists = 0;
                    int lines = 0;
                    for (int page = 1; page <= pages; ++page) {
                        const std::string where = std::string(paper.name) + ", " +
                                                  std::to_string(perPage) + " a page, kind " +
                                                  std::to_string(settings.kind) + ", page " +
                                                  std::to_string(page) + ", " +
                                                  std::to_string(moves) + " moves";
                        const std::vector<ComposedBox> boxes =
                            ComposedBoxes(request, page, *source);
                        const QRectF whole(QPointF(0, 0), QSizeF(paper.size));
                        // "diagram n" holds the other boxes of n; everything else stands apart.
                        const auto owner = [](const std::string& what) {
                            const std::size_t space = what.find(' ');
                            return space == std::string::npos ? std::string() : what.substr(space);
                        };
                        for (std::size_t i = 0; i < boxes.size(); ++i) {
                            const ComposedBox& a = boxes[i];
                            EXPECT_TRUE(whole.contains(a.rect)) << where << ": " << a.what;
                            if (a.what.starts_with("diagram")) ++diagrams;
                            if (a.what.starts_with("list")) ++lists;
                            if (a.what.starts_with("text line")) ++lines;
                            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                                const ComposedBox& b = boxes[j];
                                const bool nested =
                                    !owner(a.what).empty() && owner(a.what) == owner(b.what) &&
                                    (a.what.starts_with("diagram") || b.what.starts_with("diagram"));
                                if (nested) {
                                    const ComposedBox& outer = a.what.starts_with("diagram") ? a : b;
                                    const ComposedBox& inner = &outer == &a ? b : a;
                                    // (a list may end on its slot's edge, give or take rounding)
                                    EXPECT_TRUE(outer.rect.adjusted(-0.01, -0.01, 0.01, 0.01)
                                                    .contains(inner.rect))
                                        << where << ": " << inner.what << " outside its slot";
                                } else {
                                    EXPECT_FALSE(a.rect.intersects(b.rect))
                                        << where << ": " << a.what << " overlaps " << b.what;
                                }
                            }
                        }
                        // Only the last page may hold fewer diagrams, and only those that show moves.
                        if (page < pages && !settings.commentary) {
                            EXPECT_EQ(DiagramsOnPage(request, page).size(),
                                      static_cast<std::size_t>(DiagramsPerPage(settings)))
                                << where;
                        }
                    }
                    // Every diagram of the print, and a list for each of the recaptures'.
                    const int expected = settings.kind == 203 ? (moves + 49) / 50 : 1;
                    EXPECT_EQ(diagrams, expected) << paper.name << " " << perPage;
                    if (source != &sample) {
                        EXPECT_EQ(lists, expected) << paper.name;
                    }
                    // Every comment is printed: a line or more for each.
                    if (source == &commented && settings.commentary) {
                        EXPECT_GT(lines, 300) << paper.name;
                        EXPECT_GT(pages, 2) << paper.name;
                    }
                }
            }
        }
    }
}

TEST(PageComposer, PicturePageGeometry) {
    // Pictures draw diagrams at their slot width, side by side in two rows; header rules and
    // the footer rule fall on exact pixels.
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
    const QRect last = DiagramSlot(1500, 2130, 4, 3, PageOutput::kPicture);
    EXPECT_EQ(drawn[3].width, last.width());
    EXPECT_EQ(drawn[3].onPage, QRectF(last));
    EXPECT_GT(last.width(), 650);  // two columns of nearly half the page
    EXPECT_EQ(drawn[2].onPage.top(), last.top());
    EXPECT_LT(drawn[2].onPage.right(), last.left());

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
