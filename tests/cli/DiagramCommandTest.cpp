#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <optional>
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

// What a range or split diagram that starts after move start and ends at last shows, from
// GNU Go's positions: the stones standing after move start, and on each point empty then the
// colour of the first move played there up to last (its stone stands right after it).
// Empty when GNU Go is not installed.
std::optional<FirstStones> DiagramFromGnuGo(const std::string& path, int start, int last) {
    const char* const gnugo = "/usr/games/gnugo";
    if (!std::filesystem::exists(gnugo)) return std::nullopt;
    const std::string commands =
        (std::filesystem::temp_directory_path() / "velmora-cli-gtp.txt").string();
    {
        std::ofstream gtp(commands);
        for (int k = start; k <= last; ++k)
            gtp << "loadsgf " << path << " " << k + 1 << "\nlist_stones black\nlist_stones white\n";
        gtp << "quit\n";
    }
    FILE* pipe = popen((std::string(gnugo) + " --mode gtp < " + commands).c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string said;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) said.append(buffer, n);
    pclose(pipe);
    std::vector<std::string> answers;  // loadsgf, black, white for each position
    std::istringstream lines(said);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("=", 0) == 0) answers.push_back(line.substr(1));
    EXPECT_EQ(answers.size(), 3u * (last - start + 1) + 1) << said;  // and quit's
    FirstStones shown{};
    for (int k = 0; k <= last - start && 3 * k + 2 < static_cast<int>(answers.size()); ++k)
        for (int list = 1; list <= 2; ++list) {
            std::istringstream vertices(answers[3 * k + list]);
            for (std::string v; vertices >> v;) {
                const int x = v[0] - 'A' + 1 - (v[0] > 'I' ? 1 : 0);  // GTP skips I
                const int y = 20 - std::atoi(v.c_str() + 1);
                int& point = shown[x][y];
                if (k == 0 || point == 0) point = list == 1 ? kBlackStone : kWhiteStone;
            }
        }
    return shown;
}

std::string TempPng(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("velmora-cli-" + name + ".png")).string();
}

// Whole-record pictures show the first stone played on each point; range and split pictures
// the position GNU Go reaches at their start, and the first stone of their own moves on the
// points empty then.
TEST(DiagramCommand, PicturesShowTheFirstStoneOnEveryPointOfFixtureGames) {
    struct Case {
        const char* game;
        std::vector<std::string> options;
        int last;   // the last move the picture shows
        int width;
        int start;  // the moves before the picture's first numbered one (0: none)
    };
    const Case cases[] = {
        {"gnugo/game_01", {}, 1000, 1050, 0},
        {"gnugo/game_07", {"--width", "630"}, 1000, 630, 0},
        {"gnugo/game_19", {"--kind", "split", "--from", "100", "--to", "150"}, 150, 1050, 100},
        {"gnugo/game_23", {"--kind", "range", "--from", "40", "--to", "90"}, 90, 1050, 39},
        {"gnugo/game_02", {"--kind", "current", "--move", "30", "--width", "630"}, 30, 630, 0},
        {"../../resources/samples/sample",
         {"--kind", "split", "--from", "300", "--to", "350"}, 325, 1050, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        const std::string sgf = test::DataPath(std::string(c.game) + ".sgf");
        const std::string png = TempPng(std::filesystem::path(c.game).filename().string());
        std::filesystem::remove(png);
        std::vector<std::string> args = {"diagram", sgf, "-o", png};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::CliRun run = test::Cli(args);
        ASSERT_EQ(run.status, kCliOk) << run.err;
        const QImage image(QString::fromStdString(png));
        const int g = c.width / 21;
        ASSERT_EQ(image.size(), QSize(c.width, c.width + 3 * g));
        FirstStones expected = FirstStonesOf(sgf, c.last);
        if (c.start > 0) {
            const std::optional<FirstStones> gnugo = DiagramFromGnuGo(sgf, c.start, c.last);
            if (!gnugo) continue;  // GNU Go is not installed
            expected = *gnugo;
        }
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
