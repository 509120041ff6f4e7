#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace velmora {
namespace {

// One record path per connection: percent-encoded UTF-8 (a file name may hold a newline)
// ending in a newline, answered by "ok\n".
constexpr char kEnd = '\n';
constexpr const char* kTaken = "ok\n";
constexpr qint64 kMaxPath = 64 * 1024;

}  // namespace

SingleInstance::SingleInstance(const std::string& title, const std::string& folder) {
    QString dir = QString::fromStdString(folder);
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    const QString base = dir + "/" + QString::fromStdString(title);
    path_ = (base + ".lock").toStdString();
    socketPath_ = (base + ".socket").toStdString();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
    if (lock_ && lock_->isLocked()) return true;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(path_));
    // A lock left by a crashed run names a dead process and is taken over.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

bool SingleInstance::Listen(std::function<void(const std::string&)> onPath) {
    if (!lock_ || !lock_->isLocked()) return false;
    onPath_ = std::move(onPath);
    if (server_ && server_->isListening()) return true;
    // Whoever held the lock before is gone, so a socket file left there is dead.
    QLocalServer::removeServer(QString::fromStdString(socketPath_));
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { TakeConnection(); });
    return server_->listen(QString::fromStdString(socketPath_));
}

void SingleInstance::TakeConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxPath) socket->abort();
                return;
            }
            QByteArray line = socket->readLine(kMaxPath);
            line.chop(line.endsWith(kEnd) ? 1 : 0);
            line = QByteArray::fromPercentEncoding(line);
            socket->write(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            if (line.isEmpty() || !onPath_) return;
            // Opened once this socket's work is done: opening may ask questions of its own.
            QTimer::singleShot(0, server_.get(), [this, path = line.toStdString()] { onPath_(path); });
        });
    }
}

bool SingleInstance::HandOver(const std::string& path, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running editor may have taken the lock an instant ago and not yet be listening.
    for (;;) {
        socket.connectToServer(QString::fromStdString(socketPath_));
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    socket.write(QByteArray::fromStdString(path).toPercentEncoding() + kEnd);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
    while (!socket.canReadLine())
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    return socket.readLine() == kTaken;
}

}  // namespace velmora
