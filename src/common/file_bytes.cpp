#include "common/file_bytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <string_view>

namespace {

constexpr int MaxLinkHops = 40;  // as the kernel follows them before it gives up with ELOOP
constexpr std::string_view TemporaryMark = ".tmp";

// The folder of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at (the path itself when it is no link). A link to a
// missing file ends at that file, which the save then creates.
bool FollowLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0) return false;
        if (size_t(length) == sizeof target) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string to(target, size_t(length));
        path = !to.empty() && to.front() == '/' ? to : FolderOf(path) + to;
    }
    errno = ELOOP;
    return false;
}

// Temporary files beside `path` that an earlier save left when its process died before the
// rename: named as CreateTemporary names them, by a process that is gone.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = path.substr(folder.size()) + std::string(TemporaryMark);
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view rest = name.substr(prefix.size());
        pid_t pid = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (error != std::errc{} || pid <= 0 || end == rest.data() + rest.size() || *end != '-')
            continue;
        // Our own process never leaves one behind; another that still runs may be saving.
        if (pid != getpid() && (kill(pid, 0) == 0 || errno != ESRCH)) continue;
        unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) errno = EIO;
        if (wrote <= 0) return false;
        done += size_t(wrote);
    }
    return true;
}

// A new file beside the old one, never an existing one.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = path + std::string(TemporaryMark) + std::to_string(getpid()) + "-" +
                   std::to_string(counter++);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncDirectoryOf(const std::string& path) {
    const std::string folder = FolderOf(path);
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool ReplaceFileBytes(const std::string& link, const std::string& bytes) {
    std::string path = link;
    if (!FollowLinks(path)) return false;
    RemoveStaleTemporaries(path);
    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) return false;
    struct stat old {};
    bool ok = stat(path.c_str(), &old) != 0 || fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int why = errno;
        unlink(tempPath.c_str());
        errno = why;
        return false;
    }
    SyncDirectoryOf(path);
    return true;
}

namespace {

// Everything `fd` holds, no more than one byte past the limit.
FileRead ReadAll(int fd, std::string& bytes, size_t limit) {
    bytes.clear();
    char buffer[65536];
    ssize_t got = 0;
    // Whatever the file is (a device, a pipe), no more than one byte past the limit is read.
    while (bytes.size() <= limit) {
        const size_t room = limit - bytes.size();
        got = read(fd, buffer, room < sizeof buffer ? room + 1 : sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes.append(buffer, size_t(got));
    }
    close(fd);
    if (got < 0) return FileRead::Failed;
    if (bytes.size() <= limit) return FileRead::Ok;
    bytes.clear();
    return FileRead::TooLarge;
}

}  // namespace

FileRead ReadFileBytes(const std::string& path, std::string& bytes, size_t limit) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    return ReadAll(fd, bytes, limit);
}

FileRead ReadRegularFileBytes(const std::string& path, std::string& bytes, size_t limit) {
    bytes.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    if (!S_ISREG(info.st_mode)) return FileRead::NotAFile;
    if (uintmax_t(info.st_size) > limit) return FileRead::TooLarge;
    // Non-blocking, so that a FIFO put in its place since the stat cannot hold the open; the
    // descriptor's own stat is the one that counts.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return FileRead::NotAFile;
    }
    if (uintmax_t(info.st_size) > limit) {
        close(fd);
        return FileRead::TooLarge;
    }
    return ReadAll(fd, bytes, limit);
}
