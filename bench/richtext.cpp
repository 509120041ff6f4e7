// Speed of the rich-text renderer on texts a user or a file may supply: long wrapped text,
// deeply nested tables and tables of many spanned cells, each prepared from scratch; and the
// repaint of a text that has not changed.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QString>
#include <string>

#include "platform/Surface.h"
#include "richtext/HtmlDrawer.h"

namespace velmora {
namespace {

// About 100 KB of words of mixed lengths, with a line break now and then.
std::string WrappedText() {
    static const char* kWords[] = {"흑이", "먼저", "두는", "바둑의", "the", "quick", "board,",
                                   "records", "variation;", "komi"};
    std::string text;
    for (int n = 0; text.size() < 100 * 1024; ++n) {
        text += kWords[(n * 7) % 10];
        text += n % 97 == 96 ? "<br>" : " ";
    }
    return text;
}

// About 100 KB of words that hardly ever repeat (Hangul syllables and Latin letters drawn
// by a fixed generator): the case where no word is measured twice.
std::string DistinctWords() {
    std::string text;
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int n = 0; text.size() < 100 * 1024; ++n) {
        const int letters = 2 + next() % 6;
        const bool hangul = next() % 3 == 0;
        for (int k = 0; k < letters; ++k) {
            if (hangul) {
                const QString syllable(QChar(char16_t(0xAC00 + next() % 11172)));
                text += syllable.toStdString();
            } else {
                text += static_cast<char>((k == 0 && next() % 5 == 0 ? 'A' : 'a') + next() % 26);
            }
        }
        text += next() % 11 == 0 ? ", " : " ";
        if (n % 97 == 96) text += "<br>";
    }
    return text;
}

std::string NestedTables(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<table border=1><tr><td>cell " + std::to_string(i);
    for (int i = 0; i < depth; ++i) text += "</td></tr></table>";
    return text;
}

// 1,000 cells in rows of ten, every third spanning two columns and every seventh two rows.
std::string SpannedCells() {
    std::string text = "<table border=1 cellpadding=2>";
    for (int n = 0; n < 1000; ++n) {
        if (n % 10 == 0) text += "<tr>";
        text += "<td";
        if (n % 3 == 0) text += " colspan=2";
        if (n % 7 == 0) text += " rowspan=2";
        text += ">" + std::to_string(n) + "</td>";
    }
    return text + "</table>";
}

void Prepare(benchmark::State& state, const std::string& text, int width) {
    const Surface surface(width, 400);
    for (auto _ : state) {
        HtmlDrawer drawer;
        drawer.SetMaxWidth(width);
        benchmark::DoNotOptimize(drawer.Prepare(surface, text));
    }
}

void BM_PrepareWrapped100KB(benchmark::State& state) { Prepare(state, WrappedText(), 300); }
BENCHMARK(BM_PrepareWrapped100KB)->Unit(benchmark::kMillisecond);

void BM_PrepareWrapped100KBDistinctWords(benchmark::State& state) {
    Prepare(state, DistinctWords(), 300);
}
BENCHMARK(BM_PrepareWrapped100KBDistinctWords)->Unit(benchmark::kMillisecond);

void BM_PrepareNestedTables30(benchmark::State& state) { Prepare(state, NestedTables(30), 0); }
BENCHMARK(BM_PrepareNestedTables30)->Unit(benchmark::kMillisecond);

void BM_PrepareSpannedCells1000(benchmark::State& state) { Prepare(state, SpannedCells(), 0); }
BENCHMARK(BM_PrepareSpannedCells1000)->Unit(benchmark::kMillisecond);

// A notice of the size the pop-up shows, drawn again as a paint would.
void BM_RepaintUnchangedNotice(benchmark::State& state) {
    Surface surface(320, 200);
    HtmlDrawer drawer;
    drawer.SetMaxWidth(300);
    const std::string notice =
        "<b>저장되지 않은 기보</b><br>기보가 바뀌었습니다. 저장하지 않고 닫으면 바뀐 내용이 "
        "사라집니다.<br><font color=#cc0000>지금 저장할까요?</font>";
    const QSize size = drawer.Prepare(surface, notice);
    const QRect rect(10, 10, 300, size.height());
    for (auto _ : state) {
        drawer.Draw(surface, rect);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RepaintUnchangedNotice)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
