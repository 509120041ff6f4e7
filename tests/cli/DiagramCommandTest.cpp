#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "CliTestSupport.h"

namespace velmora {
namespace {

constexpr int kBlackStone = 2;
constexpr int kWhiteStone = 1;

// The colour of the first stone played on each point (1-based) by moves 1..last, read
// straight from the file's B[..] and W[..] moves; 0 where none was played.
using FirstStones = std::array<std::array<int, 20>, 20>;
FirstStones FirstStonesOf(const std::string& path, int last) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string sgf = text.str();
    FirstStones stones{};
    const std::regex move(";([BW])\\[([a-s])([a-s])\\]");
    int n = 0;
    for (auto it = std::sregex_iterator(sgf.begin(), sgf.end(), move); it != std::sregex_iterator();
         ++it) {
        if (++n > last) break;
        const int x = (*it)[2].str()[0] - 'a' + 1;
        const int y = (*it)[3].str()[0] - 'a' + 1;
        if (stones[x][y] == 0) stones[x][y] = (*it)[1] == "B" ? kBlackStone : kWhiteStone;
    }
    return stones;
}

// What the picture shows at point (x, y) of cell g: a black or white stone, or 0 for the
// empty point, told by a pixel on the point's vertical grid line (covered by any stone) and
// one off the lines (black only under a black stone). Both lie clear of a stone's number.
int ShownAt(const QImage& image, int g, int x, int y) {
    const int cx = x * g;
    const int cy = g + y * g;
    const int towardsCentre = y < 10 ? 1 : -1;
    const bool onLineDark = qGray(image.pixel(cx, cy + towardsCentre * (2 * g / 5))) < 100;
    const bool offLineDark =
        qGray(image.pixel(cx + 3 * g / 10, cy + towardsCentre * (3 * g / 10))) < 100;
    if (onLineDark && offLineDark) return kBlackStone;
    if (!onLineDark && !offLineDark) return kWhiteStone;
    return onLineDark ? 0 : -1;  // −1: neither picture makes sense
}

std::string TempPng(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("velmora-cli-" + name + ".png")).string();
}

TEST(DiagramCommand, PicturesShowTheFirstStoneOnEveryPointOfFixtureGames) {
    struct Case {
        const char* game;
        std::vector<std::string> options;
        int last;  // the last move the picture shows
        int width;
    };
    const Case cases[] = {
        {"game_01", {}, 1000, 1050},
        {"game_07", {"--width", "630"}, 1000, 630},
        {"game_19", {"--kind", "split", "--from", "100", "--to", "150"}, 150, 1050},
        {"game_23", {"--kind", "range", "--from", "40", "--to", "90"}, 90, 1050},
        {"game_02", {"--kind", "current", "--move", "30", "--width", "630"}, 30, 630},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        const std::string sgf = test::DataPath(std::string("gnugo/") + c.game + ".sgf");
        const std::string png = TempPng(c.game);
        std::filesystem::remove(png);
        std::vector<std::string> args = {"diagram", sgf, "-o", png};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::CliRun run = test::Cli(args);
        ASSERT_EQ(run.status, kCliOk) << run.err;
        const QImage image(QString::fromStdString(png));
        const int g = c.width / 21;
        ASSERT_EQ(image.size(), QSize(c.width, c.width + 3 * g));
        const FirstStones expected = FirstStonesOf(sgf, c.last);
        int stones = 0;
        for (int y = 1; y <= 19; ++y)
            for (int x = 1; x <= 19; ++x) {
                EXPECT_EQ(ShownAt(image, g, x, y), expected[x][y]) << "point " << x << "," << y;
                stones += expected[x][y] != 0;
            }
        EXPECT_GT(stones, 20);
        std::filesystem::remove(png);
    }
}

TEST(DiagramCommand, RefusalsAndUsage) {
    const std::string sgf = test::DataPath("gnugo/game_01.sgf");
    const std::string png = TempPng("refused");
    std::filesystem::remove(png);

    const test::CliRun backwards =
        test::Cli({"diagram", sgf, "--kind", "range", "--from", "60", "--to", "40", "-o", png});
    EXPECT_EQ(backwards.status, kCliFailed);
    EXPECT_NE(backwards.err.find("입력된 값이 잘못되었습니다."), std::string::npos)
        << backwards.err;
    EXPECT_FALSE(std::filesystem::exists(png));

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"diagram", sgf},                                               // no -o
             {"diagram", sgf, "--kind", "page", "-o", png},                  // unknown kind
             {"diagram", sgf, "--kind", "range", "--from", "3", "-o", png},  // no --to
             {"diagram", sgf, "--width", "20", "-o", png},
             {"diagram", sgf, "--width", "4201", "-o", png},
             {"diagram", sgf, "--width", "wide", "-o", png},
             {"diagram", sgf, "--kind", "current", "--move", "999", "-o", png},
             {"diagram", sgf, "--move", "5", "-o", png},  // --move without current
         })
        EXPECT_EQ(test::Cli(bad).status, kCliUsage) << bad[2];
    EXPECT_EQ(test::Cli({"diagram", "/nonexistent.sgf", "-o", png}).status, kCliFailed);

    const test::CliRun help = test::Cli({"--help"});
    EXPECT_NE(help.out.find("velmora-cli diagram FILE [--kind whole|current|range|split]"),
              std::string::npos);
}

}  // namespace
}  // namespace velmora
