// Replacing a file whole. By default the new content is written to a new file
// beside the old one, flushed, and renamed over it: rename() is atomic within
// one directory, so the chosen name never shows a half-written file, and a
// full disk or an I/O error is found out by the flush while the old file is
// still there. Where the new file could not stand in for the old one (another
// owner, an attribute or ACL it cannot carry, more than one link), the old
// file is overwritten in place instead, behind a flushed copy of its content,
// as careful editors do.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/posix/file_backup_posix.h"
#include "platform/posix/file_flush_posix.h"
#include "platform/posix/file_identity_posix.h"
#include "platform/posix/file_temporary_posix.h"
#include "platform/replacements_under_way.h"

namespace {

// As many links as the system itself follows before it gives up.
constexpr int LINK_HOPS_MAX = 40;
bool lastCommitUnconfirmed;

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

void closeHandle(FileHandle* handle) {
    if (*handle != FILE_NONE) {
        close(int(*handle));
        *handle = FILE_NONE;
    }
}

// The new file that has not taken the name goes.
void discardNewFile(FileReplacement* replacement) {
    closeHandle(&replacement->file);
    if (replacement->temporaryPath[0] != '\0') {
        unlink(replacement->temporaryPath);
        replacement->temporaryPath[0] = '\0';
    }
}

// The copy of the old content is no longer needed: removed, or, when keep
// is set, only closed, its name left beside the file for the user to find.
void releaseBackup(FileReplacement* replacement, bool keep) {
    if (keep)
        close(int(replacement->backup));
    else
        backupRemove(int(replacement->backup), replacement->backupPath);
    replacement->backup = FILE_NONE;
    replacement->backupPath[0] = '\0';
}

// The old content back where the new one was being written. Should that
// fail too, the copy stays.
void putBackOldContent(FileReplacement* replacement) {
    releaseBackup(replacement,
                  backupRestore(int(replacement->backup), int(replacement->file)) != 0);
}

// Only system calls that a signal handler may make.
void abandon(FileReplacement* replacement) {
    if (replacement->backup != FILE_NONE) {
        // Nothing written yet (a name that was only tried): the file is as
        // it was, and rewriting it would only change its time.
        if (lseek(int(replacement->file), 0, SEEK_CUR) == 0)
            releaseBackup(replacement, false);
        else
            putBackOldContent(replacement);
    } else if (replacement->backupPath[0] != '\0') {
        // A copy still being made: the file itself is untouched.
        unlink(replacement->backupPath);
        replacement->backupPath[0] = '\0';
    }
    discardNewFile(replacement);
    closeHandle(&replacement->previous);
}

// The new content goes into the old file, whose descriptor (and lock) the
// new one shares.
int beginInPlace(FileReplacement* replacement, const struct stat& old) {
    int backup = -1;
    int err = backupCreate(int(replacement->previous), old, replacement->path,
                           replacement->backupPath, &backup);
    if (err != 0)
        return err;
    replacement->backup = backup;
    int fd = dup(int(replacement->previous));
    if (fd < 0 || lseek(fd, 0, SEEK_SET) != 0) {
        err = errno;
        if (fd >= 0)
            close(fd);
        releaseBackup(replacement, false);
        return err;
    }
    replacement->file = fd;
    return 0;
}

int commitInPlace(FileReplacement* replacement) {
    int fd = int(replacement->file);
    off_t length = lseek(fd, 0, SEEK_CUR);
    int err = length < 0 ? errno : 0;
    if (err == 0 && ftruncate(fd, length) != 0)
        err = errno;
    if (err == 0)
        err = descriptorFlush(fd);
    if (err != 0)
        putBackOldContent(replacement);
    else
        releaseBackup(replacement, false);
    closeHandle(&replacement->file);
    closeHandle(&replacement->previous);
    return err;
}

int commitRenamed(FileReplacement* replacement) {
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    int fd = int(replacement->file);
    int err = descriptorFlush(fd);
    if (err == 0 && replacement->temporaryPath[0] == '\0')
        err = temporaryLinkIn(fd, directory, replacement->temporaryPath);
    // On some file systems a failed write-back only shows at close.
    if (close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    replacement->file = FILE_NONE;
    if (err == 0 && rename(replacement->temporaryPath, replacement->path) != 0)
        err = errno;
    if (err != 0) {
        discardNewFile(replacement);
        closeHandle(&replacement->previous);
        return err;
    }
    replacement->temporaryPath[0] = '\0';
    // The rename is only durable once the directory is on the disk too; until
    // then a power loss may bring the old file back.
    err = directoryFlush(directory);
    lastCommitUnconfirmed = err != 0;
    closeHandle(&replacement->previous);
    return err;
}

} // namespace

int fileReplaceBegin(const char* path, FileReplacement* replacement) {
    replacement->file = FILE_NONE;
    replacement->previous = FILE_NONE;
    replacement->backup = FILE_NONE;
    replacement->temporaryPath[0] = '\0';
    replacement->backupPath[0] = '\0';
    int err = finalPath(path, replacement->path);
    if (err != 0)
        return err;
    // The old file is opened as a plain write would open it, so that whatever
    // refused that write (a holder's lock, no permission, not a regular file)
    // refuses this one, and held until the new content has its name.
    err = fileOpen(replacement->path, FILE_READ | FILE_WRITE, FILE_OPEN_EXISTING,
                   &replacement->previous, nullptr);
    static_assert(FILE_ERROR_NOT_FOUND == ENOENT, "the portable number of a missing file");
    if (err == ENOENT)
        replacement->previous = FILE_NONE;
    else if (err != 0)
        return err;
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    temporaryRemoveStale(directory);
    enlistReplacement(replacement);

    struct stat old;
    const bool hadFile = replacement->previous != FILE_NONE;
    if (hadFile && fstat(int(replacement->previous), &old) != 0) {
        err = errno;
    } else if (!hadFile || old.st_nlink == 1) {
        int fd = -1;
        err = temporaryCreate(directory, replacement->temporaryPath, &fd);
        if (err == 0) {
            replacement->file = fd;
            if (!hadFile || fileCarryIdentity(int(replacement->previous), old, fd))
                return 0;
            discardNewFile(replacement);
            err = beginInPlace(replacement, old);
        }
    } else {
        err = beginInPlace(replacement, old);
    }
    if (err == 0)
        return 0;
    fileReplaceAbandon(replacement);
    return err;
}

int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset) {
    // In place, the old content is only whole in its copy.
    FileHandle source =
        replacement->backup != FILE_NONE ? replacement->backup : replacement->previous;
    if (source == FILE_NONE)
        return 0;
    return contentCopy(int(source), off_t(offset), int(replacement->file));
}

int fileReplaceCommit(FileReplacement* replacement) {
    lastCommitUnconfirmed = false;
    int err =
        replacement->backup != FILE_NONE ? commitInPlace(replacement) : commitRenamed(replacement);
    delistReplacement(replacement);
    return err;
}

bool fileReplaceUnconfirmed() {
    return lastCommitUnconfirmed;
}

void fileReplaceAbandon(FileReplacement* replacement) {
    abandon(replacement);
    delistReplacement(replacement);
}

void fileReplaceAbandonAll() {
    abandonEveryReplacement(abandon);
}
