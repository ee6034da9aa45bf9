#include "common/file_bytes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

FileRead ReadFileBytes(const std::string& path, std::string& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    bytes.clear();
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes.append(buffer, size_t(got));
    }
    close(fd);
    return got < 0 ? FileRead::Failed : FileRead::Ok;
}
