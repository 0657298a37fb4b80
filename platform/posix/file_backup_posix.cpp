// Only plain system calls after the copy is made: putting the old content
// back must also work from a signal handler, when the process is being ended
// in the middle of writing the new one.
#include "platform/posix/file_backup_posix.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/posix/file_flush_posix.h"

namespace {

constexpr int NAME_ATTEMPTS = 100;
constexpr size_t COPY_CHUNK = 65536;

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

int createBeside(const char* path, mode_t mode, char* backupPath, int* fd) {
    for (int attempt = 1; attempt <= NAME_ATTEMPTS; ++attempt) {
        int written =
            attempt == 1
                ? std::snprintf(backupPath, FILE_PATH_SIZE, "%s.korvex-backup", path)
                : std::snprintf(backupPath, FILE_PATH_SIZE, "%s.korvex-backup-%d", path, attempt);
        if (written < 0 || written >= FILE_PATH_SIZE)
            return ENAMETOOLONG;
        do {
            *fd = open(backupPath, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        } while (*fd < 0 && errno == EINTR);
        if (*fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
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

int backupCreate(int fd, const struct stat& old, const char* path, char* backupPath,
                 int* backupFd) {
    backupPath[0] = '\0';
    int copy = -1;
    int err = createBeside(path, old.st_mode & 0600, backupPath, &copy);
    if (err != 0) {
        backupPath[0] = '\0';
        return err;
    }
    // The old content is the group's to read, as the file is; a group the
    // saver is not in stays the directory's.
    if (fchown(copy, uid_t(-1), old.st_gid) == 0)
        fchmod(copy, old.st_mode & 0660);
    err = contentCopy(fd, 0, copy);
    if (err == 0)
        err = descriptorFlush(copy);
    if (err == 0) {
        char directory[FILE_PATH_SIZE];
        directoryOf(backupPath, directory);
        err = directoryFlush(directory);
    }
    if (err != 0) {
        close(copy);
        unlink(backupPath);
        backupPath[0] = '\0';
        return err;
    }
    *backupFd = copy;
    return 0;
}

int backupRestore(int backupFd, int fd) {
    if (lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    int err = contentCopy(backupFd, 0, fd);
    const off_t length = err == 0 ? lseek(fd, 0, SEEK_CUR) : 0;
    if (err == 0 && (length < 0 || ftruncate(fd, length) != 0))
        err = errno;
    return err != 0 ? err : descriptorFlush(fd);
}

void backupRemove(int backupFd, const char* backupPath) {
    close(backupFd);
    unlink(backupPath);
    char directory[FILE_PATH_SIZE];
    directoryOf(backupPath, directory);
    directoryFlush(directory);
}
