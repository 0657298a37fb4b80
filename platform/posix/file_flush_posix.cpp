#include "platform/posix/file_flush_posix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/file.h"

int descriptorFlush(int fd) {
    while (fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

void directoryOf(const char* path, char* out) {
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr) {
        std::strcpy(out, ".");
    } else if (slash == path) {
        std::strcpy(out, "/");
    } else {
        size_t length = size_t(slash - path);
        std::memcpy(out, path, length);
        out[length] = '\0';
    }
}

int directoryFlush(const char* directory) {
    int fd;
    do {
        fd = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    // A directory that may be written but not read (mode 0333) cannot be
    // opened for the flush; its entries are the file system's to keep.
    if (fd < 0)
        return errno == EACCES ? 0 : errno;
    int err = 0;
    while (fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        // EINVAL: this file system does not flush directories at all.
        if (errno != EINVAL && errno != EROFS)
            err = errno;
        break;
    }
    close(fd);
    return err;
}
