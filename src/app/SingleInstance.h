#pragma once

#include <QLockFile>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace velmora {

// The single-instance rule: a lock file named after the application title in the user's
// runtime folder, held for the life of the process, and beside it the socket through which a
// later start hands its record to the running editor.
class SingleInstance {
public:
    // The lock in folder (the runtime folder when empty) named title + ".lock".
    explicit SingleInstance(const std::string& title, const std::string& folder = {});
    ~SingleInstance();
    // Takes the lock → false when another running process holds it.
    bool Acquire();
    const std::string& LockPath() const { return path_; }
    // The hand-over socket: the lock's name with ".socket" for ".lock".
    const std::string& SocketPath() const { return socketPath_; }

    // While the lock is held, listens on the socket; every path a later start hands over goes
    // to onPath on this thread's event loop → false when the lock is not held or it cannot listen.
    bool Listen(std::function<void(const std::string&)> onPath);
    // From a start that did not get the lock: gives path to the running editor and waits until
    // it has taken it → false when none answers within timeoutMs.
    bool HandOver(const std::string& path, int timeoutMs = 5000) const;

private:
    void TakeConnection();

    std::string path_;
    std::string socketPath_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const std::string&)> onPath_;
};

}  // namespace velmora
