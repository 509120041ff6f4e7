// Edit stories: opening the sample record with ten stories (ten preview boards, each replaying
// the record up to its move) and adding one story from the board. The opened record's resident
// memory is reported as a counter.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/MainWindow.h"
#include "app/panes/EditHistoryPane.h"
#include "common/EditorBench.h"
#include "game/RecordModified.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

const std::string kSample = std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf";

// An editor window with the sample record saved beside its ten stories in a temporary folder.
struct Editor {
    ScriptedPrompter prompter;
    QTemporaryDir temp;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    std::string tenStories;

    Editor() {
        window->Create(false);
        window->OpenRecordFile(kSample);
        for (int move = 30; move <= 300; move += 30) {
            window->Board().Logic().JumpToMove(move);
            window->AddEditStory(200);
        }
        const std::string plain = temp.path().toStdString() + "/ten.sgf";
        prompter.AnswerFile(plain);
        window->SaveRecordAs();
        tenStories = plain + "x";
        SetRecordModified(false);
    }
};

void BM_OpenTenStories(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        editor.window->OpenRecordFile(editor.tenStories);
        if (editor.window->History()->StoryCount() != 10)
            state.SkipWithError("the stories were not read");
        QApplication::processEvents();  // the cards of the record before are deleted here
    }
    state.counters["rss_kb"] = ResidentKb();
}
BENCHMARK(BM_OpenTenStories)->Unit(benchmark::kMillisecond);

void BM_AddOneStory(benchmark::State& state) {
    Editor editor;
    editor.window->OpenRecordFile(kSample);
    BoardLogic& board = editor.window->Board().Logic();
    board.JumpToMove(250);
    for (auto _ : state) {
        editor.window->AddEditStory(200);
        state.PauseTiming();
        editor.window->History()->DestroyAll();
        SetRecordModified(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddOneStory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    return velmora::RunEditorBenchmarks(argc, argv);
}
