// The view pane's reference list: filling it with 100, 1,000 and 7,000 diagrams (as a record
// with that many variations at one move gives), opening one pane of a full list, and scrolling
// it; opening a record with that many variations at one move and showing the move. The
// resident memory is reported as a counter.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWheelEvent>
#include <cstdlib>
#include <string>

#include "app/MainWindow.h"
#include "app/panes/ReferenceList.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ViewPane.h"
#include "common/EditorBench.h"
#include "game/BoardLogic.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/PaneStack.h"

namespace velmora {
namespace {

// A list the size of the view pane's, shown.
struct ListWindow {
    QWidget pane;
    ReferenceList* list = new ReferenceList(&pane);
    ListWindow() {
        pane.resize(180, 400);
        list->Create();
        list->setGeometry(16, 0, 148, 380);
        pane.show();
    }
    void Fill(int count) {
        list->Clear();
        for (int i = 1; i <= count; ++i)
            list->Add("[12수 참고도] " + std::to_string(i), "참고도 " + std::to_string(i) + "\n둘째 줄");
    }
};

void BM_FillList(benchmark::State& state) {
    ListWindow window;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        window.Fill(count);
        QApplication::processEvents();  // the panes of the fill before go here, and the list paints
        if (window.list->Stack().PaneCount() != count) state.SkipWithError("panes missing");
    }
    state.counters["rss_kb"] = ResidentKb();
}
BENCHMARK(BM_FillList)->Arg(100)->Arg(1000)->Arg(7000)->Unit(benchmark::kMillisecond);

void BM_OpenPaneOfFullList(benchmark::State& state) {
    ListWindow window;
    window.Fill(static_cast<int>(state.range(0)));
    QApplication::processEvents();
    PaneStack& stack = window.list->Stack();
    int index = 0;
    for (auto _ : state) {
        stack.ClickHeader(stack.Header(index)->Id());
        QApplication::processEvents();
        index = (index + 97) % stack.PaneCount();
    }
}
BENCHMARK(BM_OpenPaneOfFullList)->Arg(7000)->Unit(benchmark::kMillisecond);

void BM_ScrollFullList(benchmark::State& state) {
    ListWindow window;
    window.Fill(static_cast<int>(state.range(0)));
    QApplication::processEvents();
    int delta = -120;
    for (auto _ : state) {
        // Ten notches one way, painting after each, then ten back on the next round.
        for (int i = 0; i < 10; ++i) {
            QWheelEvent wheel(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(window.list, &wheel);
            QApplication::processEvents();
        }
        delta = -delta;
    }
}
BENCHMARK(BM_ScrollFullList)->Arg(7000)->Unit(benchmark::kMillisecond);

// A record whose move 3 has count − 1 variations beside the main line, each two moves long.
std::string ManyVariations(int count) {
    const std::string letters = "abcdefghijklmnopqrs";
    std::string text = "(;GM[1]FF[4]CA[UTF-8]SZ[19];B[pd];W[dp](;B[pp];W[dd])";
    for (int i = 1; i < count; ++i) {
        const int a = i % 357, b = (i / 357 + 1 + a) % 357;  // distinct pairs of points
        auto point = [&](int n) { return letters.substr(n % 19, 1) + letters.substr(n / 19, 1); };
        text += "(;B[" + point(a) + "]C[" + std::to_string(i) + "];W[" + point(b == a ? a + 1 : b) + "])";
    }
    return text + ")";
}

// Showing the move of such a record, open in the editor: in the view tab (its pane stack lists
// the diagrams) or in the reference tab (its list control does).
void BM_ShowMoveWithDiagrams(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ScriptedPrompter prompter;
    QTemporaryDir temp;
    const std::string path = temp.path().toStdString() + "/many.sgf";
    std::ofstream(path) << ManyVariations(count);
    MainWindow window;
    window.Create(false);
    window.OpenRecordFile(path);
    QApplication::processEvents();
    if (state.range(1)) SendCommand(&window, 202);  // the reference tab and its list
    std::size_t listed = 0;
    for (auto _ : state) {
        window.Board().Logic().JumpToMove(2);
        QApplication::processEvents();
        const auto* tree = window.Reference()->FindControlAs<QTreeWidget>(500);
        listed = state.range(1) ? static_cast<std::size_t>(tree ? tree->topLevelItemCount() : 0)
                                : window.View()->ReferenceEntries().size();
        state.PauseTiming();
        window.Board().Logic().JumpToMove(0);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (listed + 1 < static_cast<std::size_t>(count)) state.SkipWithError("diagrams missing");
    state.counters["listed"] = static_cast<double>(listed);
    state.counters["rss_kb"] = ResidentKb();
}
BENCHMARK(BM_ShowMoveWithDiagrams)
    ->ArgsProduct({{100, 1000, 7000}, {0, 1}})
    ->ArgNames({"diagrams", "reference_tab"})
    ->Unit(benchmark::kMillisecond);

// Opening such a record in the editor, which reads and replays every diagram.
void BM_OpenRecordWithDiagrams(benchmark::State& state) {
    ScriptedPrompter prompter;
    QTemporaryDir temp;
    const std::string path = temp.path().toStdString() + "/many.sgf";
    std::ofstream(path) << ManyVariations(static_cast<int>(state.range(0)));
    MainWindow window;
    window.Create(false);
    for (auto _ : state) {
        window.OpenRecordFile(path);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenRecordWithDiagrams)->Arg(7000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    return velmora::RunEditorBenchmarks(argc, argv);
}
