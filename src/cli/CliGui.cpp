#include "cli/CliGui.h"

#include <QCoreApplication>

namespace velmora {
namespace {

QtMessageHandler g_qtHandler = nullptr;

// Qt's note that XDG_RUNTIME_DIR is unset (under cron, ssh or a container) says nothing
// about the command's work, so it stays off standard error; every other message goes on.
void QuietRuntimeDirNote(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: "))) return;
    if (g_qtHandler) g_qtHandler(type, context, text);
}

}  // namespace

std::unique_ptr<QGuiApplication> EnsureCliGuiApplication() {
    // QGuiApplication keeps argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static const bool quiet = (g_qtHandler = qInstallMessageHandler(QuietRuntimeDirNote), true);
    (void)quiet;
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace velmora
