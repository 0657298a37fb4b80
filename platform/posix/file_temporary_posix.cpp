#include "platform/posix/file_temporary_posix.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"

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

int nameIn(const char* directory, char* path) {
    static std::atomic<unsigned> sequence;
    int written = std::snprintf(path, FILE_PATH_SIZE, "%s/%s%ld-%u%s", directory, PREFIX,
                                long(getpid()), sequence.fetch_add(1), SUFFIX);
    return written < 0 || written >= FILE_PATH_SIZE ? ENAMETOOLONG : 0;
}

int openRetrying(const char* path, int flags) {
    int fd;
    do {
        fd = open(path, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int createNamed(const char* directory, char* namedPath, int* fd) {
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        int err = nameIn(directory, namedPath);
        if (err != 0)
            return err;
        *fd = openRetrying(namedPath, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC);
        if (*fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// The process id of a name of this naming, or 0 for any other name.
long processOfName(const char* name) {
    if (std::strncmp(name, PREFIX, sizeof PREFIX - 1) != 0)
        return 0;
    const char* at = name + sizeof PREFIX - 1;
    char* end = nullptr;
    long pid = std::strtol(at, &end, 10);
    if (end == at || *end != '-' || pid <= 0)
        return 0;
    at = end + 1;
    std::strtoul(at, &end, 10);
    if (end == at || std::strcmp(end, SUFFIX) != 0)
        return 0;
    return pid;
}

} // namespace

int temporaryCreate(const char* directory, char* namedPath, int* fd) {
    namedPath[0] = '\0';
    if (unnamedFilesUsable()) {
        *fd = openRetrying(directory, O_TMPFILE | O_RDWR | O_CLOEXEC);
        if (*fd >= 0)
            return 0;
        // A file system without unnamed files says so in several ways; a
        // named file then tells what else may be wrong with the directory.
    }
    return createNamed(directory, namedPath, fd);
}

int temporaryLinkIn(int fd, const char* directory, char* namedPath) {
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        int err = nameIn(directory, namedPath);
        if (err != 0)
            return err;
        if (linkat(AT_FDCWD, self, AT_FDCWD, namedPath, AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST) {
            err = errno;
            namedPath[0] = '\0';
            return err;
        }
    }
    namedPath[0] = '\0';
    return EEXIST;
}

void temporaryRemoveStale(const char* directory) {
    DIR* listing = opendir(directory);
    if (listing == nullptr)
        return;
    const long self = long(getpid());
    while (const dirent* entry = readdir(listing)) {
        long pid = processOfName(entry->d_name);
        // A process that exists, ours or one we may not signal, may still be
        // writing its file.
        if (pid == 0 || pid == self || kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat st;
        if (fstatat(dirfd(listing), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            unlinkat(dirfd(listing), entry->d_name, 0);
    }
    closedir(listing);
}
