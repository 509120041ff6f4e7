// One step through the sample record in a main window filling a 3840×2160 screen: the arrow
// key that goes to the next move, sent to the window as the keyboard would, and everything it
// makes repaint (the board, the side panes) painted into the window's backing store.
// Run with --dpr=2 for a 4K desktop scaled by two: the window is then 1920×1080 points of two
// pixels each, and the board must be drawn at the screen's full resolution.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/MainWindow.h"
#include "app/panes/BoardPanel.h"
#include "board/BoardControl.h"
#include "common/EditorBench.h"
#include "game/BoardLogic.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void BM_StepInMainWindow4K(benchmark::State& state) {
    ScriptedPrompter prompter;
    MainWindow window;
    window.Create(false);
    const qreal ratio = window.devicePixelRatioF();
    window.setWindowState(Qt::WindowNoState);
    window.resize(static_cast<int>(3840 / ratio), static_cast<int>(2160 / ratio));
    window.show();
    window.OpenRecordFile(std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf");
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    BoardLogic& logic = window.Board().Logic();
    PaintCounter counter;
    window.Board().Control()->installEventFilter(&counter);
    int steps = 0;
    for (auto _ : state) {
        const int before = logic.CurrentMove();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(&window, &release);
        QApplication::processEvents();
        ++steps;
        if (logic.CurrentMove() == before) {
            // At the end of the record: back to the start, untimed.
            state.PauseTiming();
            logic.JumpToMove(0);
            QApplication::processEvents();
            counter.paints = steps;
            state.ResumeTiming();
        }
    }
    if (counter.paints < steps) state.SkipWithError("the board was not painted at every step");
    state.counters["device_pixel_ratio"] = ratio;
    state.counters["board_px"] = window.Board().Control()->width() * ratio;
}
BENCHMARK(BM_StepInMainWindow4K)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    // --dpr=N: the screen's device pixel ratio, through Qt's scale factor.
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dpr=", 6) != 0) continue;
        setenv("QT_SCALE_FACTOR", argv[i] + 6, 1);
        for (int k = i; k < argc - 1; ++k) argv[k] = argv[k + 1];
        --argc;
        break;
    }
    return velmora::RunEditorBenchmarks(argc, argv);
}
