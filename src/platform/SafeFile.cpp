#include "platform/SafeFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <fstream>
#include <string>
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

// The reason of a failed call, from its errno, as the user reads it.
std::string ReasonOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return "폴더가 없습니다";
        case EACCES:
        case EPERM: return "그 폴더에 쓸 권한이 없습니다";
        case EROFS: return "읽기 전용 디스크입니다";
        case ENOSPC:
        case EDQUOT: return "디스크 공간이 부족합니다";
        case ENAMETOOLONG: return "파일 이름이 너무 깁니다";
        case EIO: return "디스크에 쓰는 중 오류가 났습니다";
        default: return "쓰기 오류입니다 (오류 번호 " + std::to_string(error) + ")";
    }
}

// Why an existing file at target (its state s) may not be written over, "" when it may.
std::string RefusalOf(const std::string& target, const struct stat& s) {
    if (S_ISDIR(s.st_mode)) return "같은 이름의 폴더가 있습니다";
    if (!S_ISREG(s.st_mode)) return "보통 파일이 아닙니다";
    // Root may write anything, so the mode alone says whether the user meant the file to stay.
    if ((s.st_mode & 0222) == 0) return "읽기 전용 파일입니다";
    if (geteuid() != 0 && access(target.c_str(), W_OK) != 0) return "이 파일에 쓸 권한이 없습니다";
    return {};
}

bool Fail(std::string* why, std::string reason) {
    if (why) *why = std::move(reason);
    return false;
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* why) {
    const std::string target = Resolved(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists)
        if (std::string refusal = RefusalOf(target, old); !refusal.empty()) return Fail(why, std::move(refusal));

    const std::string folder = FolderOf(target);
    // A short name, so that a long file name (Hangul takes three bytes a letter) does not make
    // it longer than a name may be.
    std::string temp = folder + "/.velmora-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EROFS || error == EPERM))
            return WriteInPlace(target, bytes) || Fail(why, ReasonOf(errno));
        return Fail(why, ReasonOf(error));
    }

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
    int error = ok ? 0 : errno;
    ok = close(fd) == 0 && ok;
    if (!ok && error == 0) error = errno;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        if (error == 0) error = errno;
        unlink(temp.c_str());
        return Fail(why, ReasonOf(error));
    }
    SyncFolder(folder);
    return true;
}

std::string WriteFailureReason(const std::string& path) {
    const std::string target = Resolved(path);
    struct stat s {};
    if (stat(target.c_str(), &s) == 0)
        if (std::string refusal = RefusalOf(target, s); !refusal.empty()) return refusal;
    const std::string folder = FolderOf(target);
    if (stat(folder.c_str(), &s) != 0 || !S_ISDIR(s.st_mode)) return ReasonOf(ENOENT);
    if (access(folder.c_str(), W_OK) != 0) return ReasonOf(errno);
    struct statvfs space {};
    if (statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0) return ReasonOf(ENOSPC);
    return "쓰는 중 오류가 났습니다";
}

}  // namespace velmora
