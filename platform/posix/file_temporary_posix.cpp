#include "platform/posix/file_temporary_posix.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/posix/file_identity_posix.h"
#include "platform/posix/signal_hold_posix.h"

namespace {

constexpr int NAME_ATTEMPTS = 100;
constexpr char PREFIX[] = ".korvex-";
constexpr char SUFFIX[] = ".tmp";

// An unnamed file can only be given a name through its /proc entry (the
// other way, AT_EMPTY_PATH, takes a privilege); without /proc, files are
// named from the start.
bool unnamedFilesUsable() {
    static const bool usable = access("/proc/self/fd", X_OK) == 0;
    return usable;
}

void selfPath(int fd, char* self, size_t size) {
    std::snprintf(self, size, "/proc/self/fd/%d", fd);
}

int nameIn(const char* directory, char* path) {
    static std::atomic<unsigned> sequence;
    int written = std::snprintf(path, FILE_PATH_SIZE, "%s/%s%ld-%u%s", directory, PREFIX,
                                long(getpid()), sequence.fetch_add(1), SUFFIX);
    return written < 0 || written >= FILE_PATH_SIZE ? ENAMETOOLONG : 0;
}

int openRetrying(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A sweep may have taken the lock of a file made a moment ago, before its
// maker could; the maker then leaves that file to the sweep and makes another.
bool lockedAndStillNamed(int fd) {
    struct stat st;
    return flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0;
}

int createNamed(const char* directory, mode_t mode, char* namedPath, int* fd) {
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        char candidate[FILE_PATH_SIZE];
        int err = nameIn(directory, candidate);
        if (err != 0)
            return err;
        sigset_t saved;
        signalsHold(&saved);
        *fd = openRetrying(candidate, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        err = errno;
        const bool made = *fd >= 0 && lockedAndStillNamed(*fd);
        if (made)
            std::strcpy(namedPath, candidate);
        signalsRelease(&saved);
        if (made)
            return 0;
        if (*fd >= 0)
            close(*fd);
        else if (err != EEXIST)
            return err;
    }
    return EEXIST;
}

bool ofThisNaming(const char* name) {
    if (std::strncmp(name, PREFIX, sizeof PREFIX - 1) != 0)
        return false;
    const char* at = name + sizeof PREFIX - 1;
    char* end = nullptr;
    std::strtol(at, &end, 10);
    if (end == at || *end != '-')
        return false;
    at = end + 1;
    std::strtoul(at, &end, 10);
    return end != at && std::strcmp(end, SUFFIX) == 0;
}

} // namespace

int temporaryCreate(const char* directory, mode_t mode, char* namedPath, int* fd) {
    namedPath[0] = '\0';
    if (unnamedFilesUsable()) {
        *fd = openRetrying(directory, O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        // Nobody else can see it yet, so its lock is to be had.
        if (*fd >= 0 && flock(*fd, LOCK_EX) == 0)
            return 0;
        if (*fd >= 0)
            close(*fd);
        // A file system without unnamed files says so in several ways; a
        // named file then tells what else may be wrong with the directory.
    }
    return createNamed(directory, mode, namedPath, fd);
}

int temporaryLinkIn(int fd, const char* directory, char* namedPath) {
    char self[32];
    selfPath(fd, self, sizeof self);
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        char candidate[FILE_PATH_SIZE];
        int err = nameIn(directory, candidate);
        if (err != 0)
            return err;
        err = temporaryNameAs(fd, namedPath, candidate, namedPath);
        if (err != EEXIST)
            return err;
    }
    return EEXIST;
}

int temporaryNameAs(int fd, char* temporaryPath, const char* name, char* recordedName) {
    char self[32];
    selfPath(fd, self, sizeof self);
    sigset_t saved;
    signalsHold(&saved);
    int err = 0;
    if (temporaryPath[0] == '\0') {
        if (linkat(AT_FDCWD, self, AT_FDCWD, name, AT_SYMLINK_FOLLOW) != 0)
            err = errno;
    } else if (renameat2(AT_FDCWD, temporaryPath, AT_FDCWD, name, RENAME_NOREPLACE) != 0) {
        err = errno;
        // A file system that cannot refuse to replace in a rename: a new
        // link refuses a taken name by itself.
        if (err == EINVAL && link(temporaryPath, name) == 0) {
            unlink(temporaryPath);
            err = 0;
        }
    }
    if (err == 0) {
        if (recordedName != temporaryPath)
            temporaryPath[0] = '\0';
        std::strcpy(recordedName, name);
    }
    signalsRelease(&saved);
    return err;
}

void temporaryRemoveStale(const char* directory) {
    DIR* listing = opendir(directory);
    if (listing == nullptr)
        return;
    const int at = dirfd(listing);
    while (const dirent* entry = readdir(listing)) {
        if (!ofThisNaming(entry->d_name))
            continue;
        const int fd = openat(at, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held;
        struct stat named;
        if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(held, named))
            unlinkat(at, entry->d_name, 0);
        close(fd);
    }
    closedir(listing);
}
