#pragma once

#include <QLockFile>
#include <memory>
#include <string>

namespace velmora {

// The single-instance rule: a lock file named after the application title in the user's
// runtime folder, held for the life of the process.
class SingleInstance {
public:
    // The lock in folder (the runtime folder when empty) named title + ".lock".
    explicit SingleInstance(const std::string& title, const std::string& folder = {});
    // Takes the lock → false when another running process holds it.
    bool Acquire();
    const std::string& LockPath() const { return path_; }

private:
    std::string path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace velmora
