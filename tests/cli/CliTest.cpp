#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "CliTestSupport.h"
#include "cli/Cli.h"
#include "platform/TextCodec.h"
#include "record/SgfReader.h"
#include "record/SgfWriter.h"

namespace velmora {
namespace {

using test::Cli;
using test::CliRun;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("velmora-cli-" + name)).string();
}

TEST(Cli, InfoInUtf8FromEveryEncoding) {
    CliRun r = Cli({"info", test::DataPath("sgf/utf8-ca.sgf")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Has(r.out, "game name: 囲碁の対局 ✓\n"));
    EXPECT_TRUE(Has(r.out, "black: 本因坊 秀策\n"));
    EXPECT_TRUE(Has(r.out, "moves: 4\n"));

    r = Cli({"info", test::DataPath("sgf/cp949.sgf")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Has(r.out, "black: 이세돌\nblack rank: 9단\n"));
    EXPECT_TRUE(Has(r.out, "place: 서울\n"));

    r = Cli({"info", test::DataPath("sgf/large.sgf")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Has(r.out, "moves: 325\n"));
    EXPECT_TRUE(Has(r.out, "diagram: base 20, kind 0 참고도, 2 moves, 20수의 다른 길\n"));
}

TEST(Cli, InfoNamesTheDiagramsOfAnotherProgramsTree) {
    const CliRun r = Cli({"info", test::DataPath("sgf/standard-tree.sgf")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(Has(r.out, "moves: 7\ndiagrams: 5\ndiagram: base 2, kind 0 참고도, "));
    EXPECT_TRUE(Has(r.out, "diagram: base 5, kind 0 참고도, 3 moves\n"));
}

TEST(Cli, BoardShowsThePositionAfterAMove) {
    CliRun r = Cli({"board", test::DataPath("sgf/ear-reddening.sgf")});
    ASSERT_EQ(r.status, 0);
    const auto positions = test::Positions(test::DataPath("sgf/ear-reddening.txt"));
    std::string expected;
    for (const std::string& row : positions.back().second) expected += row + "\n";
    EXPECT_EQ(r.out, expected);

    r = Cli({"board", test::DataPath("sgf/cp949.sgf"), "--move", "1"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), 19u * 20u);
    EXPECT_EQ(r.out.substr(3 * 20, 20), "...............X...\n");  // B[pd]: column P, fourth row
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'X'), 1);
    EXPECT_EQ(Cli({"board", test::DataPath("sgf/cp949.sgf"), "--move", "0"}).out.find('X'),
              std::string::npos);
}

TEST(Cli, ConvertWritesTheOwnDialect) {
    const std::string out = TempPath("convert.sgf");
    // Korean text of a CP949 file: UTF-8 with CA[UTF-8], as every save.
    ASSERT_EQ(Cli({"convert", test::DataPath("sgf/cp949.sgf"), "-o", out}).status, 0);
    EXPECT_EQ(Bytes(out),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]PB[이세돌:둘째:9단]PW[구리:셋째:9단]"
              "GN[한국어 기보]PC[서울];B[pd]C[흑의 첫 수는 화점입니다.];W[dp];B[pq]C[참 좋은 수];W[dd])");
    ASSERT_EQ(Cli({"convert", test::DataPath("sgf/utf8-ca.sgf"), "-o", out}).status, 0);
    EXPECT_EQ(Bytes(out).substr(0, 27), "(;GM[1]FF[4]CA[UTF-8]SZ[19]");
    EXPECT_TRUE(Has(Cli({"info", out}).out, "game name: 囲碁の対局 ✓\n"));
    // Escapes: brackets and backslashes escaped, every character kept.
    ASSERT_EQ(Cli({"convert", test::DataPath("sgf/escapes.sgf"), "-o", out}).status, 0);
    EXPECT_EQ(DecodeRecordBytes(Bytes(out)),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]GN[괄호 \\] 이름];B[pd]C[A comment with "
              "\\]brackets\\] and a backslash \\\\ and a softbreak.];W[dd]C[(괄호) 둘째 수])");
    // A large record with its diagrams survives the trip.
    ASSERT_EQ(Cli({"convert", test::DataPath("sgf/large.sgf"), "-o", out, "--extended"}).status, 0);
    EXPECT_EQ(Cli({"info", out}).out, Cli({"info", test::DataPath("sgf/large.sgf")}).out);
    // A story numbered 0 is a story: those after it on the node stay too.
    const std::string stories = TempPath("stories.sgfx");
    std::ofstream(stories) << "(;GM[1]FF[4]SZ[19];B[pd]HI[0]HI[201];W[dp]HI[200])";
    ASSERT_EQ(Cli({"convert", stories, "-o", out, "--extended"}).status, 0);
    EXPECT_TRUE(Has(Bytes(out), ";B[pd]HI[0][201];W[dp]HI[200])")) << Bytes(out);
    std::filesystem::remove(stories);
    std::filesystem::remove(out);
}

TEST(Cli, TheSampleRecordsReadAndWriteBackUnchanged) {
    const std::string samples = std::string(VELMORA_TEST_DATA) + "/../../resources/samples/";
    const CliRun plain = Cli({"info", samples + "sample.sgf"});
    ASSERT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.err.empty());
    EXPECT_TRUE(Has(plain.out, "game name: 귀가 붉어진 한 수\nblack: 슈사쿠\nblack rank: 4단\n"));
    EXPECT_TRUE(Has(plain.out, "moves: 325\ndiagrams: 3\ndiagram: base 126, kind 3 문제도"));
    EXPECT_TRUE(Has(Cli({"info", samples + "sample.sgfx"}).out, "stories: 2\n"));

    const std::string out = TempPath("sample.sgf");
    ASSERT_EQ(Cli({"convert", samples + "sample.sgf", "-o", out}).status, 0);
    EXPECT_EQ(Bytes(out), Bytes(samples + "sample.sgf"));
    ASSERT_EQ(Cli({"convert", samples + "sample.sgfx", "-o", out, "--extended"}).status, 0);
    EXPECT_EQ(Bytes(out), Bytes(samples + "sample.sgfx"));
    std::filesystem::remove(out);
}

TEST(Cli, ConvertKeepsEveryPropertyOfAnotherProgramsRecord) {
    const std::string in = test::DataPath("sgf/other/kept.sgf");
    const std::string out = TempPath("kept.sgf");
    const CliRun r = Cli({"convert", in, "-o", out});
    ASSERT_EQ(r.status, 0);
    // What the writer decides (header, charset, its own name) and the players, whose ranks
    // join PB and PW, aside, every property comes back with its value.
    const auto properties = [](const std::string& text) {
        std::multiset<std::pair<std::string, std::string>> all;
        for (const SgfEvent& e : ParseSgfText(text).events)
            if (!std::set<std::string>{"GM", "FF", "SZ", "CA", "AP", "PB", "PW", "BR", "WR", ";"}
                     .contains(e.id))
                all.insert({e.id, e.id == "C" ? e.value : e.value});
        return all;
    };
    const auto written = ReadRecordFile(out);
    ASSERT_TRUE(written);
    EXPECT_EQ(properties(*written), properties(ReadRecordFile(in).value_or("")));
    EXPECT_TRUE(Has(Cli({"info", out}).out, "event: 제3회 온라인 기전\n"));
    std::filesystem::remove(out);
}

TEST(Cli, ConvertWritesAnotherProgramsRecordInTheStandardForm) {
    const std::string out = TempPath("standard.sgf");
    const std::string again = TempPath("standard-again.sgf");
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1))
            ++n;
        return n;
    };
    // A problem's wrong lines: the label on its own point, in the usual letters, once in the
    // branch that the two lines share.
    const std::string problem = test::DataPath("sgf/other/problem.sgf");
    ASSERT_EQ(Cli({"convert", problem, "-o", out}).status, 0);
    std::string text = DecodeRecordBytes(Bytes(out));
    EXPECT_TRUE(text.starts_with("(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]")) << text;
    EXPECT_EQ(count(text, ";B[aa]C[이것도 실패]LB[ba:A](;W["), 1u) << text;
    EXPECT_EQ(count(text, "`"), 0u) << text;
    EXPECT_EQ(Cli({"info", out}).out, Cli({"info", problem}).out);
    // Read back and written again, every label stays on its point.
    ASSERT_EQ(Cli({"convert", out, "-o", again}).status, 0);
    text = DecodeRecordBytes(Bytes(again));
    EXPECT_EQ(count(text, ";B[aa]C[이것도 실패]LB[ba:A](;W["), 1u) << text;
    EXPECT_EQ(Bytes(again).size(), Bytes(out).size());  // diagrams of one move may change order

    // An engine's handicap game keeps its stones as AB, and its ranks in its own words.
    const std::string handicap = test::DataPath("sgf/other/engine-handicap.sgf");
    ASSERT_EQ(Cli({"convert", handicap, "-o", out}).status, 0);
    text = DecodeRecordBytes(Bytes(out));
    EXPECT_TRUE(Has(text, "PB[Engine A]BR[9d]PW[Engine B]WR[1p]")) << text;
    EXPECT_TRUE(Has(text, "HA[3]")) << text;
    EXPECT_TRUE(Has(text, "HA[3]GN[Engine self-play]AB[dp][pd][pp]")) << text;
    EXPECT_EQ(Cli({"info", out}).out, Cli({"info", handicap}).out);
    EXPECT_TRUE(Has(Cli({"info", out}).out, "black rank: 9단\n"));
    const CliRun start = Cli({"board", out, "--move", "0"});
    EXPECT_EQ(std::count(start.out.begin(), start.out.end(), 'X'), 3);
    EXPECT_EQ(start.out, Cli({"board", handicap, "--move", "0"}).out);
    ASSERT_EQ(Cli({"convert", out, "-o", again}).status, 0);
    EXPECT_EQ(Bytes(again), Bytes(out));
    std::filesystem::remove(out);
    std::filesystem::remove(again);
}

TEST(Cli, EveryCommandNotesWhatTheReaderLeftOut) {
    // Two games and a refused move: each command reads the first game, says so and goes on.
    const std::string path = TempPath("two-games.sgf");
    std::ofstream(path) << "(;B[dd];W[dd];W[pp])\n(;B[aa])";
    const std::vector<std::vector<std::string>> commands = {
        {"info", path},
        {"board", path},
        {"diagram", path, "-o", TempPath("two-games.png")},
        {"print", path, "-o", TempPath("two-games.pdf")},
    };
    for (const std::vector<std::string>& command : commands) {
        const CliRun r = Cli(command);
        EXPECT_EQ(r.status, 0) << command[0] << ": " << r.err;
        EXPECT_TRUE(Has(r.err, "수가 1개")) << command[0] << ": " << r.err;
        EXPECT_TRUE(Has(r.err, "기보가 2개")) << command[0] << ": " << r.err;
        // One note a line, each marked as the program's.
        std::istringstream lines(r.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(line.starts_with("velmora-cli: ")) << command[0] << ": " << line;
        if (command.size() > 2) std::filesystem::remove(command.back());
    }
    std::filesystem::remove(path);
}

// --game N reads the file's N-th game with every command; convert writes it back in its place
// with the other games as they were. A game the file does not hold is one line and exit 1.
TEST(Cli, GameChoosesOneGameOfTheFile) {
    const std::string first = "(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[갑];B[aa];W[bb])";
    const std::string third = "(;PB[병];B[cc];W[dd];B[ee])";
    const std::string path = TempPath("three-games.sgf");
    std::ofstream(path, std::ios::binary) << first << "\n(;PB[을]RE[W+R];B[pd])\n" << third << "\n";
    CliRun r = Cli({"info", "--game", "2", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "black: 을\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "moves: 1\n")) << r.out;
    EXPECT_TRUE(Has(r.err, "2번째 기보를 열었고")) << r.err;
    r = Cli({"board", path, "--game", "3"});
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'X'), 2);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'O'), 1);

    const std::string out = TempPath("three-games-out.sgf");
    ASSERT_EQ(Cli({"convert", path, "--game", "2", "-o", out}).status, 0);
    const std::string written = Bytes(out);
    EXPECT_TRUE(written.starts_with(first + "\n(;GM[1]FF[4]CA[UTF-8]SZ[19]")) << written;
    EXPECT_TRUE(written.ends_with(";B[pd])\n" + third + "\n")) << written;
    EXPECT_EQ(Cli({"info", out, "--game", "2"}).out, Cli({"info", path, "--game", "2"}).out);

    const std::string picture = TempPath("three-games.png");
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"info", path},
             {"board", path},
             {"convert", path, "-o", out},
             {"render", path, "-o", picture},
             {"diagram", path, "-o", picture},
             {"print", path, "-o", TempPath("three-games.pdf")}}) {
        for (const char* game : {"4", "0"}) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--game", game});
            r = Cli(args);
            EXPECT_EQ(r.status, 1) << command[0] << " --game " << game;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_TRUE(Has(r.err, "기보가 3개")) << command[0] << ": " << r.err;
        }
        std::vector<std::string> args = command;
        args.insert(args.end(), {"--game", "two"});
        EXPECT_EQ(Cli(args).status, 2) << command[0];
    }
    EXPECT_EQ(Bytes(out), written);  // a refused game writes nothing
    EXPECT_FALSE(std::filesystem::exists(picture));
    EXPECT_TRUE(Has(Cli({"--help"}).out, "--game N"));

    // A file cut short says where, on standard error, and shows what it read.
    std::ofstream(path, std::ios::binary) << "(;GM[1]FF[4]SZ[19]\n;B[pd];W[dd]C[끊긴 설";
    r = Cli({"board", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Has(r.err, "velmora-cli: 파일이 중간에 끊겨 있습니다: 2번째 줄 14번째 글자")) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'O'), 1);
    for (const std::string& file : {path, out}) std::filesystem::remove(file);
}

TEST(Cli, FailuresAndUsage) {
    CliRun r = Cli({"info", test::DataPath("sgf/missing.sgf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    r = Cli({"board", test::DataPath("sgf/size30.sgf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "SZ[30]"));
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(
        Cli({"convert", test::DataPath("sgf/cp949.sgf"), "-o", "/nonexistent/dir/x.sgf"}).status,
        1);

    EXPECT_EQ(Cli({}).status, 2);
    EXPECT_EQ(Cli({"paint", "x.sgf"}).status, 2);
    EXPECT_EQ(Cli({"info"}).status, 2);
    EXPECT_EQ(Cli({"info", "a.sgf", "b.sgf"}).status, 2);
    EXPECT_EQ(Cli({"board", "a.sgf", "--move"}).status, 2);
    EXPECT_EQ(Cli({"board", "a.sgf", "--move", "12x"}).status, 2);
    EXPECT_EQ(Cli({"board", test::DataPath("sgf/cp949.sgf"), "--move", "5"}).status, 2);
    EXPECT_EQ(Cli({"convert", test::DataPath("sgf/cp949.sgf")}).status, 2);
    EXPECT_EQ(Cli({"info", "a.sgf", "--bogus"}).status, 2);

    r = Cli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word :
         {"info FILE", "board FILE [--move N]", "convert FILE -o OUT [--extended]", "Exit status"})
        EXPECT_TRUE(Has(r.out, word)) << word;
}

}  // namespace
}  // namespace velmora
