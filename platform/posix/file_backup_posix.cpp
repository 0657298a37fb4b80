// Only plain system calls after the copy is made: putting the old content
// back must also work from a signal handler, when the process is being ended
// in the middle of writing the new one.
#include "platform/posix/file_backup_posix.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/posix/file_flush_posix.h"
#include "platform/posix/file_identity_posix.h"
#include "platform/posix/file_temporary_posix.h"

namespace {

constexpr int NAME_ATTEMPTS = 100;
constexpr size_t COPY_CHUNK = 65536;
constexpr mode_t OWNER_ONLY = 0600;

int writeAll(int fd, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        ssize_t wrote = write(fd, bytes, size);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return wrote < 0 ? errno : EIO;
        bytes += wrote;
        size -= size_t(wrote);
    }
    return 0;
}

// The copy takes the first of its names that is free; a name that is taken
// is never written to.
int nameCopy(int copy, const char* path, char* temporaryPath, char* backupPath) {
    for (int attempt = 1; attempt <= NAME_ATTEMPTS; ++attempt) {
        char name[FILE_PATH_SIZE];
        int written = attempt == 1
                          ? std::snprintf(name, sizeof name, "%s.korvex-backup", path)
                          : std::snprintf(name, sizeof name, "%s.korvex-backup-%d", path, attempt);
        if (written < 0 || written >= int(sizeof name))
            return ENAMETOOLONG;
        int err = temporaryNameAs(copy, temporaryPath, name, backupPath);
        if (err != EEXIST)
            return err;
    }
    return EEXIST;
}

// The copy is its owner's alone from its first byte: a directory's default
// ACL may have given it entries that the file does not have.
int makeCopy(int fd, const struct stat& old, const char* directory, char* temporaryPath,
             int* copy) {
    int err = temporaryCreate(directory, OWNER_ONLY, temporaryPath, copy);
    if (err != 0)
        return err;
    err = fileDropAcl(*copy);
    if (err == 0)
        err = contentCopy(fd, 0, *copy);
    if (err == 0)
        err = descriptorFlush(*copy);
    if (err == 0)
        err = fileGiveAccessOf(fd, old, *copy);
    return err;
}

} // namespace

int contentCopy(int from, off_t offset, int to) {
    uint8_t buffer[COPY_CHUNK];
    for (;;) {
        ssize_t got = pread(from, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        int err = writeAll(to, buffer, size_t(got));
        if (err != 0)
            return err;
        offset += got;
    }
}

int backupCreate(int fd, const struct stat& old, const char* path, char* temporaryPath,
                 char* backupPath, int* backupFd) {
    char directory[FILE_PATH_SIZE];
    directoryOf(path, directory);
    int copy = -1;
    int err = makeCopy(fd, old, directory, temporaryPath, &copy);
    if (err == 0)
        err = nameCopy(copy, path, temporaryPath, backupPath);
    if (err == 0)
        err = directoryFlush(directory);
    if (err == 0) {
        *backupFd = copy;
        return 0;
    }
    if (copy >= 0)
        close(copy);
    if (temporaryPath[0] != '\0') {
        unlink(temporaryPath);
        temporaryPath[0] = '\0';
    }
    if (backupPath[0] != '\0') {
        unlink(backupPath);
        backupPath[0] = '\0';
    }
    return err;
}

int backupInMemory(int fd, int* backupFd) {
    const int copy = memfd_create("korvex-old-content", MFD_CLOEXEC);
    if (copy < 0)
        return errno;
    int err = contentCopy(fd, 0, copy);
    if (err != 0) {
        close(copy);
        return err;
    }
    *backupFd = copy;
    return 0;
}

int backupRestore(int backupFd, int fd, uint64_t* newTail) {
    *newTail = BACKUP_NOT_RESTORED;
    if (lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (int err = contentCopy(backupFd, 0, fd); err != 0)
        return err;
    const off_t length = lseek(fd, 0, SEEK_CUR);
    struct stat now;
    if (length < 0 || fstat(fd, &now) != 0)
        return errno;
    *newTail = 0;
    // Cut only where the new content was longer: a file that need not be cut
    // cannot fail to be.
    if (now.st_size > length && ftruncate(fd, length) != 0) {
        *newTail = uint64_t(now.st_size - length);
        return errno;
    }
    return descriptorFlush(fd);
}

void backupRemove(const char* backupPath) {
    if (backupPath[0] == '\0')
        return;
    unlink(backupPath);
    char directory[FILE_PATH_SIZE];
    directoryOf(backupPath, directory);
    directoryFlush(directory);
}
