// Speed of records in and out: a 300-move record with 30 reference diagrams, read from its
// text (tokenizing, game tree, replay through the board and its rules) and written back.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "board/SgfFile.h"
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

void BM_ReadRecord(benchmark::State& state) {
    for (auto _ : state) {
        BoardLogic board;
        SgfFile file;
        file.SetBoard(&board);
        file.OpenText(RecordText());
        benchmark::DoNotOptimize(board.Record().MainLineLength());
    }
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMicrosecond);

void BM_ReadRecordFromCp949Bytes(benchmark::State& state) {
    const std::string bytes = SgfRecordBytes(RecordText());
    for (auto _ : state) {
        BoardLogic board;
        SgfFile file;
        file.SetBoard(&board);
        file.OpenText(DecodeRecordBytes(bytes));
        benchmark::DoNotOptimize(board.Record().MainLineLength());
    }
}
BENCHMARK(BM_ReadRecordFromCp949Bytes)->Unit(benchmark::kMicrosecond);

void BM_WriteRecord(benchmark::State& state) {
    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    file.OpenText(RecordText());
    if (board.Record().MainLineLength() != 300 || board.Record().StoredDiagramMap().size() != 30)
        state.SkipWithError("the record did not read whole");
    for (auto _ : state) benchmark::DoNotOptimize(SgfRecordBytes(file.PlainText()));
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
