#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "skin/ResourceArchive.h"

namespace velmora {

// Runs the program's benchmarks inside a GUI application, which fonts and painting need
// (off-screen unless a platform is named); prepare, when given, runs once the application is up.
inline int RunGuiBenchmarks(int argc, char** argv, void (*prepare)() = nullptr) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (prepare) prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The same, with the skin of the Resource.bk2 beside the benchmark, as the board draws it.
inline int RunSkinnedGuiBenchmarks(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv, [] {
        ResourceArchive::Instance().AddArchive(
            (QCoreApplication::applicationDirPath() + "/Resource.bk2").toStdString());
    });
}

}  // namespace velmora
