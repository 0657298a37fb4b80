// Where a link leads is read link by link (readlink), which no check of the
// system's guards; so the file found that way is only taken once the
// system's own following of the name, with all its checks, reaches that very
// file. A name changed in between is looked at again.
#include "platform/posix/file_resolve_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/file_flush_posix.h"
#include "platform/posix/file_identity_posix.h"

namespace {

// As many links as the system itself follows before it gives up.
constexpr int LINK_HOPS_MAX = 40;
constexpr int RESOLVE_ATTEMPTS = 10;
constexpr mode_t NEW_FILE_MODE = 0666;

int linkTarget(const char* path, char* out) {
    if (std::strlen(path) >= size_t(FILE_PATH_SIZE))
        return ENAMETOOLONG;
    std::strcpy(out, path);
    for (int hop = 0; hop < LINK_HOPS_MAX; ++hop) {
        char target[FILE_PATH_SIZE];
        ssize_t length = readlink(out, target, sizeof target);
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

// The name itself (not a link) holds the regular file open as fd.
bool namesFile(const char* name, int fd) {
    struct stat named;
    struct stat held;
    return lstat(name, &named) == 0 && fstat(fd, &held) == 0 && S_ISREG(named.st_mode) &&
           sameFile(named, held);
}

// Where a dangling link leads, an empty file of the user's, reached by the
// system's following of path. Returns 0, EEXIST when a file came there
// meanwhile, or the system's reason for not following path.
int makeWhereLinkLeads(const char* path, char* finalPath, FileHandle* previous) {
    int err = linkTarget(path, finalPath);
    if (err != 0)
        return err;
    int fd = open(finalPath, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_MODE);
    if (fd < 0)
        return errno;
    struct stat reached;
    struct stat made;
    if (stat(path, &reached) != 0)
        err = errno;
    else if (fstat(fd, &made) != 0 || !sameFile(reached, made))
        err = EEXIST; // the link changed: look again
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        err = errno;
    if (err == 0) {
        *previous = fd;
        return 0;
    }
    if (namesFile(finalPath, fd))
        unlink(finalPath);
    close(fd);
    return err;
}

} // namespace

int nameResolve(const char* path, char* finalPath, FileHandle* previous, bool* made) {
    *previous = FILE_NONE;
    *made = false;
    for (int attempt = 0; attempt < RESOLVE_ATTEMPTS; ++attempt) {
        FileHandle held = FILE_NONE;
        int err = fileOpen(path, FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING, &held, nullptr);
        if (err == 0) {
            err = linkTarget(path, finalPath);
            if (err == 0 && namesFile(finalPath, int(held))) {
                *previous = held;
                return 0;
            }
            fileClose(held);
            if (err != 0)
                return err;
            continue;
        }
        if (err != ENOENT)
            return err;
        struct stat named;
        if (lstat(path, &named) != 0) {
            if (errno != ENOENT)
                return errno;
            // Nothing there: the name itself is made, and whatever is wrong
            // with it is found by making it.
            return linkTarget(path, finalPath);
        }
        if (!S_ISLNK(named.st_mode))
            continue;
        err = makeWhereLinkLeads(path, finalPath, previous);
        if (err == 0) {
            *made = true;
            return 0;
        }
        if (err != EEXIST)
            return err;
    }
    return EAGAIN;
}
