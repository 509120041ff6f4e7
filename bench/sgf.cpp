// Speed of records in and out: a 300-move record with 30 reference diagrams, read from its
// text (tokenizing, game tree, replay through the board and its rules) and written back; a
// 300-move record with 50 diagrams, some of them lines of another program's nested branches,
// written; and another program's 200 kB game tree with 300 lines of variations, many nested,
// and long commentary, read from its bytes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/SgfFile.h"
#include "record/SgfReader.h"
#include "record/SgfWriter.h"

namespace velmora {
namespace {

// The 1846 game's first 300 moves, commentary on every fifth, a diagram with marks after every
// tenth.
std::string MakeRecordText() {
    std::ifstream in(std::string(VELMORA_TEST_DATA) + "/sgf/ear-reddening.sgf");
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string game = whole.str();
    std::string text =
        "(;GM[1]FF[4]SZ[19]PB[슈사쿠::4단]PW[겐난 인세키::8단]RE[흑 2집승]DT[1846-09-11]";
    int n = 0;
    for (std::size_t at = game.find(";B["); at != std::string::npos && n < 300;
         at = game.find(';', at + 1)) {
        ++n;
        text += game.substr(at, 6);
        if (n % 5 == 0) text += "C[" + std::to_string(n) + "수: 흐름을 바꾸는 수입니다.]";
        if (n % 10 == 0)
            text += "(C[참고도-" + std::to_string(n) +
                    "수의 다른 길]AB[aa]TR[ba]LB[ca:A];W[sa];B[sb];W[ra])";
    }
    return text + ")";
}

const std::string& RecordText() {
    static const std::string text = MakeRecordText();
    return text;
}

// Another program's tree: the same 300 moves, a long comment on every one, and a branch every
// tenth move with five side lines, each splitting again into two.
std::string MakeOtherProgramsText() {
    std::ifstream in(std::string(VELMORA_TEST_DATA) + "/sgf/ear-reddening.sgf");
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string game = whole.str();
    std::vector<std::string> moves;
    for (std::size_t at = game.find(";B["); at != std::string::npos && moves.size() < 300;
         at = game.find(';', at + 1))
        moves.push_back(game.substr(at, 6));
    std::string comment;
    while (comment.size() < 280) comment += "흑이 중앙으로 나가며 백의 모양을 지우는 흐름입니다. ";
    std::string text =
        "(;GM[1]FF[4]CA[UTF-8]AP[Bench:1.0]ST[2]SZ[19]PB[Shusaku]BR[4d]PW[Gennan]WR[8d]"
        "C[" + comment + "]";
    std::string closing;
    for (std::size_t n = 0; n < moves.size(); ++n) {
        text += moves[n] + "C[" + std::to_string(n + 1) + ": " + comment + "]";
        if ((n + 1) % 10 != 0 || n + 1 == moves.size()) continue;
        // The main line goes on in the first child; the side lines follow it when it closes.
        std::string sides;
        for (char j = 'a'; j < 'f'; ++j)
            sides += std::string("(;W[") + j + "a]C[" + comment + "];B[" + j + "b](;W[" + j +
                     "c]C[나중에 " + comment + "])(;W[" + j + "d];B[" + j + "e]))";
        text += "(";
        closing = ")" + sides + closing;
    }
    return text + closing + ")";
}

// A record read from its text onto a board of its own, as the editor opens one.
struct Opened {
    explicit Opened(const std::string& text) {
        file.SetBoard(&board);
        result = file.OpenText(text);
    }
    BoardLogic board;
    SgfFile file;
    SgfReadResult result;
};

void BM_ReadOtherProgramsTree(benchmark::State& state) {
    const std::string bytes = MakeOtherProgramsText();
    for (auto _ : state) {
        Opened opened(DecodeRecordBytes(bytes));
        benchmark::DoNotOptimize(opened.board.Record().MainLineLength());
    }
    const Opened opened(DecodeRecordBytes(bytes));
    state.counters["kB"] = static_cast<double>(bytes.size()) / 1000.0;
    state.counters["moves"] = opened.board.Record().MainLineLength();
    state.counters["diagrams"] = static_cast<double>(opened.board.Record().StoredDiagramMap().size());
}
BENCHMARK(BM_ReadOtherProgramsTree)->Unit(benchmark::kMillisecond);

// A hostile tree: a side line 5,000 levels deep with a branch at every level. Each branch
// line repeats its parent line, so read whole it would be 12.5 million moves.
void BM_ReadBranchAtEveryLevel(benchmark::State& state) {
    constexpr int kLevels = 5000;
    std::string text = "(;GM[1]FF[4]SZ[19];B[pd](;W[dd])(;W[qq]";
    for (int i = 0; i < kLevels; ++i) {
        const int p = 20 + i % 320;  // points other than the main line's
        text += std::string(i % 2 ? "(;W[" : "(;B[") + char('a' + p % 19) + char('a' + p / 19) + "]";
    }
    for (int i = 0; i < kLevels; ++i) text += i % 2 ? ")(;B[ss])" : ")(;W[ss])";
    text += "))";
    SgfReadResult result;
    for (auto _ : state) {
        Opened opened(text);
        result = opened.result;
        benchmark::DoNotOptimize(opened.board.Record().StoredDiagramMap().size());
    }
    state.counters["kB"] = static_cast<double>(text.size()) / 1000.0;
    state.counters["leftOut"] = result.leftOutLines;
}
BENCHMARK(BM_ReadBranchAtEveryLevel)->Unit(benchmark::kMillisecond);

void BM_ReadRecord(benchmark::State& state) {
    for (auto _ : state) {
        Opened opened(RecordText());
        benchmark::DoNotOptimize(opened.board.Record().MainLineLength());
    }
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMicrosecond);

void BM_ReadRecordFromSavedBytes(benchmark::State& state) {
    const std::string bytes = RecordText();
    for (auto _ : state) {
        Opened opened(DecodeRecordBytes(bytes));
        benchmark::DoNotOptimize(opened.board.Record().MainLineLength());
    }
}
BENCHMARK(BM_ReadRecordFromSavedBytes)->Unit(benchmark::kMicrosecond);

void BM_WriteRecord(benchmark::State& state) {
    const Opened opened(RecordText());
    const GameRecord& record = opened.board.Record();
    if (record.MainLineLength() != 300 || record.StoredDiagramMap().size() != 30)
        state.SkipWithError("the record did not read whole");
    for (auto _ : state) benchmark::DoNotOptimize(opened.file.PlainText());
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMicrosecond);

// The same 300 moves as a game tree: at every seventh move up to 280 a diagram made here (its
// node of kind and text, marks, a comment on each move), and at every 50th another program's
// branch that splits in two, read as a line each: 40 + 10 = 50 diagrams.
std::string MakeTreeWithDiagrams() {
    std::ifstream in(std::string(VELMORA_TEST_DATA) + "/sgf/ear-reddening.sgf");
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string game = whole.str();
    std::string text = "(;GM[1]FF[4]SZ[19]PB[슈사쿠::4단]PW[겐난 인세키::8단]RE[흑 2집승]";
    std::string closing;
    int n = 0;
    for (std::size_t at = game.find(";B["); at != std::string::npos && n < 300;
         at = game.find(';', at + 1)) {
        ++n;
        text += game.substr(at, 6);
        if (n % 5 == 0) text += "C[" + std::to_string(n) + "수: 흐름을 [바꾸는\\] 수입니다.]";
        std::string sides;
        const std::string colour = n % 2 ? "W" : "B";
        const std::string other = n % 2 ? "B" : "W";
        if (n % 7 == 0 && n <= 280)
            sides += "(;C[참고도-" + std::to_string(n) + "수의 다른 길]AB[aa]TR[ba]LB[ca:A];" +
                     colour + "[sa]C[먼저];" + other + "[sb];" + colour + "[ra]C[끝])";
        if (n % 50 == 0 && n < 290)
            sides += "(;" + colour + "[sq]C[다른 프로그램];" + other + "[sr](;" + colour +
                     "[rr])(;" + colour + "[rs]C[갈래]))";
        if (sides.empty()) continue;
        text += "(";
        closing = ")" + sides + closing;
    }
    return text + closing + ")";
}

void BM_WriteRecordWith50Diagrams(benchmark::State& state) {
    const Opened opened(MakeTreeWithDiagrams());
    const GameRecord& record = opened.board.Record();
    if (record.MainLineLength() != 300 || record.StoredDiagramMap().size() != 50) {
        static const std::string error =
            "the record did not read whole: " + std::to_string(record.MainLineLength()) +
            " moves, " + std::to_string(record.StoredDiagramMap().size()) + " diagrams";
        state.SkipWithError(error.c_str());
    }
    for (auto _ : state) benchmark::DoNotOptimize(opened.file.PlainText());
    state.counters["diagrams"] = static_cast<double>(record.StoredDiagramMap().size());
}
BENCHMARK(BM_WriteRecordWith50Diagrams)->Unit(benchmark::kMicrosecond);

// 4,000 moves of a game that fills the board and captures 3,703 stones, read from the file as
// velmora-cli does: decoding, parsing and replay through the rules.
void BM_ReadLongRecordWithCaptures(benchmark::State& state) {
    const std::string path = std::string(VELMORA_TEST_DATA) + "/sgf/long-captures.sgf";
    for (auto _ : state) {
        BoardLogic board;
        SgfFile file;
        file.SetBoard(&board);
        file.Open(path);
        if (board.Record().MainLineLength() != 4000) state.SkipWithError("the record did not read whole");
        benchmark::DoNotOptimize(board.Rules().Grid());
    }
}
BENCHMARK(BM_ReadLongRecordWithCaptures)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
