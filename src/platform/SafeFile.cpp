#include "platform/SafeFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace velmora {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names: a symbolic link's target (the link itself stays), else the path.
std::string Resolved(const std::string& path) {
    struct stat s {};
    if (lstat(path.c_str(), &s) != 0 || !S_ISLNK(s.st_mode)) return path;
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;  // a dangling link: the new file takes its place
    std::string target(real);
    free(real);
    return target;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Writes the existing file at path in place, keeping its old content to put back on failure.
bool WriteInPlace(const std::string& path, std::string_view bytes) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream old;
    old << in.rdbuf();
    const int fd = open(path.c_str(), O_WRONLY);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    if (!ok && lseek(fd, 0, SEEK_SET) == 0) {
        const std::string before = old.str();
        if (WriteAll(fd, before)) (void)!ftruncate(fd, static_cast<off_t>(before.size()));
    }
    ok = close(fd) == 0 && ok;
    return ok;
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes) {
    const std::string target = Resolved(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    // Root may write anything, so the mode alone says whether the user meant the file to stay.
    if (exists && ((old.st_mode & 0222) == 0 || (geteuid() != 0 && access(target.c_str(), W_OK) != 0))) return false;

    const std::string folder = FolderOf(target);
    // A short name, so that a long file name (Hangul takes three bytes a letter) does not make
    // it longer than a name may be.
    std::string temp = folder + "/.velmora-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return exists && (errno == EACCES || errno == EROFS || errno == EPERM) && WriteInPlace(target, bytes);

    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
        // The owner and group stay those of the file replaced, where the user may keep them.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace velmora
