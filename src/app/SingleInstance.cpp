#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace velmora {

SingleInstance::SingleInstance(const std::string& title, const std::string& folder) {
    QString dir = QString::fromStdString(folder);
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    path_ = (dir + "/" + QString::fromStdString(title) + ".lock").toStdString();
}

bool SingleInstance::Acquire() {
    if (lock_ && lock_->isLocked()) return true;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(path_));
    // A lock left by a crashed run names a dead process and is taken over.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

}  // namespace velmora
