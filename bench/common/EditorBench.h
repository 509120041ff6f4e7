#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <fstream>
#include <string>

#include "board/BoardControl.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora {

// Resident memory of this process in kB, from /proc (0 where it cannot be read).
inline double ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6);
    return 0;
}

// Runs the benchmarks of the editor's windows: a widget application (off-screen unless a
// platform is named) with the skin of the Resource.bk2 beside the benchmark and the board
// control registered, as the program has them when its main window is made.
inline int RunEditorBenchmarks(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ResourceArchive::Instance().AddArchive(
        (QCoreApplication::applicationDirPath() + "/Resource.bk2").toStdString());
    SkinResources::Instance().LoadAll();
    RegisterBoardControl();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace velmora
