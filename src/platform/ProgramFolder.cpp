#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora {

std::string ProgramFolderFor(const std::string& executableDir) {
    const QDir bin(QString::fromStdString(executableDir));
    // Beside the program (the build tree), or installed: PREFIX/bin and PREFIX/lib/velmora
    // (velmora-cli's drawing half) both find PREFIX/share/velmora.
    for (const char* relative : {".", "../share/velmora", "../../share/velmora", "../lib/velmora"}) {
        const QString folder = QDir::cleanPath(bin.filePath(relative));
        if (QFileInfo(folder + "/Resource.bk2").isFile()) return folder.toStdString();
    }
    return QDir::cleanPath(bin.path()).toStdString();
}

std::string ProgramFolder() {
    return ProgramFolderFor(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace velmora
