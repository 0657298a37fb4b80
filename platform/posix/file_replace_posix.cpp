// Replacing a file whole: write beside it, flush, rename over it. rename() is
// atomic within one directory, so the chosen name never shows a half-written
// file, and a full disk or an I/O error is found out by the flush while the
// old file is still there.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"

namespace {

// As many links as the system itself follows before it gives up.
constexpr int LINK_HOPS_MAX = 40;

// The directory part of path, "." when it has none.
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

// A symbolic link stays a link: the file it points at is what gets replaced,
// also one that does not exist yet, which a plain open would have created.
int finalPath(const char* path, char* out) {
    if (std::strlen(path) >= size_t(FILE_PATH_SIZE))
        return ENAMETOOLONG;
    std::strcpy(out, path);
    for (int hop = 0; hop < LINK_HOPS_MAX; ++hop) {
        char target[FILE_PATH_SIZE];
        ssize_t length = readlink(out, target, sizeof target);
        // Not a link (or nothing there): the name itself is replaced, and
        // whatever is wrong with it is found by the open that follows.
        if (length < 0)
            return 0;
        if (size_t(length) >= sizeof target)
            return ENAMETOOLONG;
        target[length] = '\0';
        if (target[0] == '/') {
            std::strcpy(out, target);
            continue;
        }
        char directory[FILE_PATH_SIZE];
        directoryOf(out, directory);
        int written = std::snprintf(out, FILE_PATH_SIZE, "%s/%s", directory, target);
        if (written < 0 || written >= FILE_PATH_SIZE)
            return ENAMETOOLONG;
    }
    return ELOOP;
}

// A name of its own in the directory; a short one, so that a chosen name near
// the system's limit still has room beside it. Created with the usual
// permissions (0666 less the umask), as a plain open would create the file.
int createTemporary(const char* directory, char* temporaryPath, int* fd) {
    static std::atomic<unsigned> sequence;
    for (int attempt = 0; attempt < 100; ++attempt) {
        int written = std::snprintf(temporaryPath, FILE_PATH_SIZE, "%s/.korvex-%ld-%u.tmp",
                                    directory, long(getpid()), sequence.fetch_add(1));
        if (written < 0 || written >= FILE_PATH_SIZE)
            return ENAMETOOLONG;
        do {
            *fd = open(temporaryPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (*fd < 0 && errno == EINTR);
        if (*fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// The rename is only durable once the directory entry is on the disk too.
void flushDirectory(const char* path) {
    char directory[FILE_PATH_SIZE];
    directoryOf(path, directory);
    int fd = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

void closePrevious(FileReplacement* replacement) {
    if (replacement->previous != FILE_NONE) {
        fileClose(replacement->previous);
        replacement->previous = FILE_NONE;
    }
}

} // namespace

int fileReplaceBegin(const char* path, FileReplacement* replacement) {
    replacement->file = FILE_NONE;
    replacement->previous = FILE_NONE;
    replacement->temporaryPath[0] = '\0';
    int err = finalPath(path, replacement->path);
    if (err != 0)
        return err;
    // The old file is opened as a plain write would open it, so that whatever
    // refused that write (a holder's lock, no permission, not a regular file)
    // refuses this one, and held until the rename.
    err = fileOpen(replacement->path, FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING,
                   &replacement->previous, nullptr);
    static_assert(FILE_ERROR_NOT_FOUND == ENOENT, "the portable number of a missing file");
    if (err == ENOENT)
        replacement->previous = FILE_NONE;
    else if (err != 0)
        return err;
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    int fd = -1;
    err = createTemporary(directory, replacement->temporaryPath, &fd);
    if (err != 0) {
        closePrevious(replacement);
        return err;
    }
    // The new file takes the old one's owner where the system allows it (only
    // root may give a file away) and then its permissions.
    if (replacement->previous != FILE_NONE) {
        struct stat st;
        if (fstat(int(replacement->previous), &st) == 0) {
            if (fchown(fd, st.st_uid, st.st_gid) != 0) {
                // kept as created, owned by whoever saves
            }
            fchmod(fd, st.st_mode & 07777);
        }
    }
    replacement->file = fd;
    return 0;
}

int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset) {
    if (replacement->previous == FILE_NONE)
        return 0;
    int from = int(replacement->previous);
    uint8_t buffer[65536];
    for (;;) {
        ssize_t n = pread(from, buffer, sizeof buffer, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        uint32_t moved = 0;
        int err = fileWrite(replacement->file, buffer, uint32_t(n), &moved);
        if (err != 0)
            return err;
        offset += uint64_t(n);
    }
}

int fileReplaceCommit(FileReplacement* replacement) {
    int fd = int(replacement->file);
    int err = 0;
    while (fsync(fd) != 0) {
        if (errno != EINTR) {
            err = errno;
            break;
        }
    }
    // On some file systems a failed write-back only shows at close.
    if (close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    replacement->file = FILE_NONE;
    if (err == 0 && rename(replacement->temporaryPath, replacement->path) != 0)
        err = errno;
    if (err != 0) {
        unlink(replacement->temporaryPath);
        closePrevious(replacement);
        return err;
    }
    flushDirectory(replacement->path);
    closePrevious(replacement);
    return 0;
}

void fileReplaceAbandon(FileReplacement* replacement) {
    if (replacement->file != FILE_NONE) {
        close(int(replacement->file));
        replacement->file = FILE_NONE;
    }
    if (replacement->temporaryPath[0] != '\0')
        unlink(replacement->temporaryPath);
    closePrevious(replacement);
}
