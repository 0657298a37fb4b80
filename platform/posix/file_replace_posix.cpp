// Replacing a file whole. The new content of a file that exists is gathered
// in memory, so that nothing on the disk changes until it is complete, and
// the commit then takes the best way there is: a new file beside the old one,
// flushed and renamed over it (rename() is atomic within one directory, so
// the name never shows a half-written file, and a full disk or an I/O error
// is found out by the flush while the old file is still there); where the new
// file could not stand in for the old one (another owner, an attribute or ACL
// it cannot carry, more than one link), the old file overwritten in place
// behind a flushed copy of its content, as careful editors do; and where no
// file can be made beside it at all, in place from memory, with the old
// content kept in memory to put back on a failure.
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/posix/file_backup_posix.h"
#include "platform/posix/file_flush_posix.h"
#include "platform/posix/file_identity_posix.h"
#include "platform/posix/file_resolve_posix.h"
#include "platform/posix/file_temporary_posix.h"
#include "platform/posix/signal_hold_posix.h"
#include "platform/replacement_outcome.h"
#include "platform/replacements_under_way.h"

namespace {

constexpr mode_t NEW_FILE_MODE = 0666;
constexpr mode_t OWNER_ONLY = 0600;
// The new file cannot stand in for the old one.
constexpr int NOT_CARRIED = -1;

FileReplaceOutcome& outcome = replacementOutcome;

// What says that no file (or none of that size) can be made beside the name,
// where the file itself may still be written.
bool noRoomBeside(int err) {
    return err == EACCES || err == EPERM || err == ENOSPC || err == EDQUOT;
}

// A signal handler reads the replacement: each step is done before the
// handler can see that it was.
void settled() {
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

void closeHandle(FileHandle* handle) {
    if (*handle != FILE_NONE) {
        close(int(*handle));
        *handle = FILE_NONE;
    }
}

void removeTemporary(FileReplacement* replacement) {
    if (replacement->temporaryPath[0] != '\0') {
        unlink(replacement->temporaryPath);
        replacement->temporaryPath[0] = '\0';
    }
}

// The empty file made where a dangling link led goes with the save.
void removeMadeFile(FileReplacement* replacement) {
    struct stat named;
    struct stat held;
    if (replacement->previousMade && lstat(replacement->path, &named) == 0 &&
        fstat(int(replacement->previous), &held) == 0 && sameFile(named, held) && held.st_size == 0)
        unlink(replacement->path);
    replacement->previousMade = false;
}

// Only system calls that a signal handler may make.
void abandon(FileReplacement* replacement) {
    if (replacement->overwriting) {
        // The old content back from its copy; should that fail, the copy
        // keeps its name for the user.
        uint64_t newTail = 0;
        if (backupRestore(int(replacement->backup), int(replacement->previous), &newTail) == 0)
            backupRemove(replacement->backupPath);
        replacement->overwriting = false;
    } else {
        // The file itself is untouched.
        backupRemove(replacement->backupPath);
    }
    replacement->backupPath[0] = '\0';
    removeTemporary(replacement);
    removeMadeFile(replacement);
    closeHandle(&replacement->backup);
    closeHandle(&replacement->file);
    closeHandle(&replacement->previous);
}

// Flushes the new file open as fd, gives it the name and closes it. The lock
// its writer holds keeps a sweep away from it until it has the name; on some
// file systems a failed write-back only shows at close.
int renameOver(FileReplacement* replacement, int fd, const char* directory) {
    int err = descriptorFlush(fd);
    if (err == 0 && replacement->temporaryPath[0] == '\0')
        err = temporaryLinkIn(fd, directory, replacement->temporaryPath);
    if (err == 0) {
        sigset_t saved;
        signalsHold(&saved);
        if (rename(replacement->temporaryPath, replacement->path) == 0)
            replacement->temporaryPath[0] = '\0';
        else
            err = errno;
        signalsRelease(&saved);
    }
    const int closed = close(fd) == 0 || errno == EINTR ? 0 : errno;
    if (err != 0)
        return err;
    replacement->previousMade = false;
    outcome.left = FILE_LEFT_NEW_UNCONFIRMED;
    // The rename is only durable once the directory is on the disk too; until
    // then a power loss may bring the old file back.
    err = closed != 0 ? closed : directoryFlush(directory);
    if (err == 0)
        outcome.left = FILE_LEFT_NEW;
    return err;
}

// Where there was no file, the new one was written beside the name from the
// start.
int commitNew(FileReplacement* replacement) {
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    const int fd = int(replacement->file);
    replacement->file = FILE_NONE;
    return renameOver(replacement, fd, directory);
}

// A new file beside the old one, its owner's alone until it carries the old
// one's identity, then given the new content and the name.
int commitBeside(FileReplacement* replacement, const struct stat& old, const char* directory) {
    int fd = -1;
    int err = temporaryCreate(directory, OWNER_ONLY, replacement->temporaryPath, &fd);
    if (err != 0)
        return err;
    if (!fileCarryIdentity(int(replacement->previous), old, fd))
        err = NOT_CARRIED;
    if (err == 0)
        err = contentCopy(int(replacement->file), 0, fd);
    if (err == 0)
        return renameOver(replacement, fd, directory);
    close(fd);
    return err;
}

// The old content back after a failure, and what the file then holds.
void putBackOldContent(FileReplacement* replacement) {
    uint64_t newTail = 0;
    const int err = backupRestore(int(replacement->backup), int(replacement->previous), &newTail);
    replacement->overwriting = false;
    settled();
    if (err == 0) {
        backupRemove(replacement->backupPath);
    } else {
        outcome.left = newTail == BACKUP_NOT_RESTORED ? FILE_LEFT_MIXED
                       : newTail > 0                  ? FILE_LEFT_OLD_AND_NEW_TAIL
                                                      : FILE_LEFT_OLD;
        outcome.extraBytes = newTail == BACKUP_NOT_RESTORED ? 0 : newTail;
        std::strcpy(outcome.copyPath, replacement->backupPath);
    }
    replacement->backupPath[0] = '\0';
}

int overwrite(int fd, int content, off_t length) {
    if (lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    int err = contentCopy(content, 0, fd);
    struct stat now;
    if (err == 0 && fstat(fd, &now) != 0)
        err = errno;
    if (err == 0 && now.st_size > length && ftruncate(fd, length) != 0)
        err = errno;
    return err != 0 ? err : descriptorFlush(fd);
}

// The new content into the old file itself, behind a copy of the old one:
// beside it where one can be made there, else in memory.
int commitInPlace(FileReplacement* replacement, const struct stat& old, off_t length) {
    const int fd = int(replacement->previous);
    int backup = -1;
    int err = backupCreate(fd, old, replacement->path, replacement->temporaryPath,
                           replacement->backupPath, &backup);
    if (noRoomBeside(err)) {
        err = backupInMemory(fd, &backup);
        outcome.withoutCopy = err == 0;
    }
    if (err != 0)
        return err;
    replacement->backup = backup;
    // On a full disk, bytes past the old end need room that is found (or not)
    // before the first byte changes.
    if (length > old.st_size && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length) != 0 &&
        errno != EOPNOTSUPP) {
        err = errno;
        backupRemove(replacement->backupPath);
        replacement->backupPath[0] = '\0';
        return err;
    }
    settled();
    replacement->overwriting = true;
    settled();
    err = overwrite(fd, int(replacement->file), length);
    if (err != 0) {
        putBackOldContent(replacement);
        return err;
    }
    replacement->overwriting = false;
    settled();
    backupRemove(replacement->backupPath);
    replacement->backupPath[0] = '\0';
    replacement->previousMade = false;
    outcome.left = FILE_LEFT_NEW;
    return 0;
}

// The new content gathered in memory replaces the file that was there.
int commitGathered(FileReplacement* replacement) {
    struct stat old;
    struct stat gathered;
    if (fstat(int(replacement->previous), &old) != 0 ||
        fstat(int(replacement->file), &gathered) != 0)
        return errno;
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    if (old.st_nlink == 1) {
        const int err = commitBeside(replacement, old, directory);
        removeTemporary(replacement);
        if (outcome.left != FILE_LEFT_OLD || (err != NOT_CARRIED && !noRoomBeside(err)))
            return err;
    }
    return commitInPlace(replacement, old, gathered.st_size);
}

} // namespace

int fileReplaceBegin(const char* path, FileReplacement* replacement) {
    startOutcome();
    replacement->file = FILE_NONE;
    replacement->previous = FILE_NONE;
    replacement->backup = FILE_NONE;
    replacement->overwriting = false;
    replacement->previousMade = false;
    replacement->temporaryPath[0] = '\0';
    replacement->backupPath[0] = '\0';
    int err =
        nameResolve(path, replacement->path, &replacement->previous, &replacement->previousMade);
    if (err != 0)
        return err;
    char directory[FILE_PATH_SIZE];
    directoryOf(replacement->path, directory);
    temporaryRemoveStale(directory);
    enlistReplacement(replacement);
    int fd = -1;
    if (replacement->previous != FILE_NONE) {
        fd = memfd_create("korvex-new-content", MFD_CLOEXEC);
        err = fd < 0 ? errno : 0;
    } else {
        err = temporaryCreate(directory, NEW_FILE_MODE, replacement->temporaryPath, &fd);
    }
    if (err == 0) {
        replacement->file = fd;
        return 0;
    }
    fileReplaceAbandon(replacement);
    return err;
}

int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset) {
    if (replacement->previous == FILE_NONE)
        return 0;
    return contentCopy(int(replacement->previous), off_t(offset), int(replacement->file));
}

int fileReplaceCommit(FileReplacement* replacement) {
    startOutcome();
    const int err =
        replacement->previous == FILE_NONE ? commitNew(replacement) : commitGathered(replacement);
    abandon(replacement);
    delistReplacement(replacement);
    return err;
}

const FileReplaceOutcome& fileReplaceOutcome() {
    return outcome;
}

void fileReplaceAbandon(FileReplacement* replacement) {
    abandon(replacement);
    delistReplacement(replacement);
}

void fileReplaceAbandonAll() {
    abandonEveryReplacement(abandon);
}
