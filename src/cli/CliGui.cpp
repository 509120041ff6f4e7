#include "cli/CliGui.h"

#include <QCoreApplication>

namespace velmora {

std::unique_ptr<QGuiApplication> EnsureCliGuiApplication() {
    // QGuiApplication keeps argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace velmora
