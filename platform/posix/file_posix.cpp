// Files opened as the system's share modes would: an advisory lock taken
// right after open, shared by readers and held alone by a writer, so a second
// writer fails instead of both writing the same file, while readers never
// fail each other.
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/file.h"

extern const int FILE_ERROR_HELD = EWOULDBLOCK;

namespace {

constexpr int LOCK_POLL_MS = 10;

// A writer fails at once on a held file; a reader waits a while for the
// writer, whose save is then whole (or the old file is, renamed away).
int lockFor(int fd, unsigned access) {
    if (access & FILE_WRITE)
        return flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    for (int waited = 0;; waited += LOCK_POLL_MS) {
        if (flock(fd, LOCK_SH | LOCK_NB) == 0)
            return 0;
        if (errno != EWOULDBLOCK || waited >= FILE_HELD_WAIT_MS)
            return errno;
        const struct timespec pause = {0, LOCK_POLL_MS * 1000000L};
        nanosleep(&pause, nullptr);
    }
}

// Non-blocking only for the open itself: a FIFO picked by mistake would
// otherwise wait for a writer for ever. Such a file is then refused.
int openFlags(unsigned access) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    if ((access & FILE_READ) && (access & FILE_WRITE))
        flags |= O_RDWR;
    else if (access & FILE_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    return flags;
}

int openRetrying(const char* path, int flags) {
    int fd;
    do {
        fd = open(path, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens the file, creating it when create is set and it is missing, and says
// whether it was there before.
int openOrCreate(const char* path, int flags, bool create, bool* existed) {
    for (;;) {
        if (create) {
            int fd = openRetrying(path, flags | O_CREAT | O_EXCL);
            if (fd >= 0) {
                *existed = false;
                return fd;
            }
            if (errno != EEXIST)
                return -1;
        }
        int fd = openRetrying(path, flags);
        if (fd >= 0) {
            *existed = true;
            return fd;
        }
        // Removed between the two attempts: try creating it again.
        if (!create || errno != ENOENT)
            return -1;
    }
}

} // namespace

int fileOpen(const char* path, unsigned access, FileDisposition disposition, FileHandle* file,
             bool* existed) {
    *file = FILE_NONE;
    bool wasThere = false;
    int fd = openOrCreate(path, openFlags(access), disposition != FILE_OPEN_EXISTING, &wasThere);
    if (fd < 0)
        return errno;
    struct stat st;
    int statErr = 0;
    if (fstat(fd, &st) != 0)
        statErr = errno;
    else if (S_ISDIR(st.st_mode))
        statErr = EISDIR;
    else if (!S_ISREG(st.st_mode))
        statErr = EINVAL; // a device, FIFO or socket holds no data file
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        statErr = errno;
    if (statErr != 0) {
        close(fd);
        return statErr;
    }
    if (int err = lockFor(fd, access); err != 0) {
        close(fd);
        return err;
    }
    // Truncated only once the lock is ours, so another holder's file stays whole.
    if (disposition == FILE_CREATE_ALWAYS && wasThere && ftruncate(fd, 0) != 0) {
        int err = errno;
        close(fd);
        return err;
    }
    if (existed != nullptr)
        *existed = wasThere;
    *file = fd;
    return 0;
}

int fileRead(FileHandle file, void* buffer, uint32_t size, uint32_t* moved) {
    uint8_t* at = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    int err = 0;
    while (done < size) {
        ssize_t n = read(static_cast<int>(file), at + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0)
            break;
        done += static_cast<uint32_t>(n);
    }
    *moved = done;
    return err;
}

int fileWrite(FileHandle file, const void* buffer, uint32_t size, uint32_t* moved) {
    const uint8_t* at = static_cast<const uint8_t*>(buffer);
    uint32_t done = 0;
    int err = 0;
    while (done < size) {
        ssize_t n = write(static_cast<int>(file), at + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0) {
            err = EIO;
            break;
        }
        done += static_cast<uint32_t>(n);
    }
    *moved = done;
    return err;
}

int fileSize(FileHandle file, uint64_t* size) {
    struct stat st;
    if (fstat(static_cast<int>(file), &st) != 0)
        return errno;
    *size = static_cast<uint64_t>(st.st_size);
    return 0;
}

int fileClose(FileHandle file) {
    if (file == FILE_NONE)
        return EBADF;
    // No retry on EINTR: the descriptor is gone either way on Linux.
    return close(static_cast<int>(file)) == 0 ? 0 : errno;
}

FileKind fileKind(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0)
        return FILE_KIND_NONE;
    if (S_ISREG(st.st_mode))
        return FILE_KIND_REGULAR;
    return S_ISDIR(st.st_mode) ? FILE_KIND_DIRECTORY : FILE_KIND_OTHER;
}
