// Whole-file operations as the configuration and data files need them: a file
// opened without sharing, read and written in one call each, error numbers of
// the operating system.
#pragma once
#include <cstdint>

using FileHandle = intptr_t;
constexpr FileHandle FILE_NONE = -1;

// The error number of a file that does not exist: ENOENT on POSIX and
// ERROR_FILE_NOT_FOUND on Windows are both 2.
constexpr int FILE_ERROR_NOT_FOUND = 2;

enum FileAccess : unsigned { FILE_READ = 1, FILE_WRITE = 2 };
enum FileDisposition {
    FILE_OPEN_ALWAYS,   // open, creating an empty file if missing
    FILE_CREATE_ALWAYS, // create, truncating an existing file
    FILE_OPEN_EXISTING,
};

// Opens path for access. A reader shares the file with other readers; a
// writer holds it alone, so another holder makes it fail at once. A reader
// that meets a writer waits for it up to FILE_HELD_WAIT_MS, then fails with
// FILE_ERROR_HELD. Reports in *existed whether the file was there before.
// Returns 0 or the system error number.
int fileOpen(const char* path, unsigned access, FileDisposition disposition, FileHandle* file,
             bool* existed);
// How long a reader waits for a file being written: a save of the largest
// data file takes a fraction of this, even on a slow disk.
constexpr int FILE_HELD_WAIT_MS = 5000;
// The error number of a file held by another program (EWOULDBLOCK on POSIX,
// ERROR_SHARING_VIOLATION on Windows).
extern const int FILE_ERROR_HELD;
// Read and write loop until all bytes are moved, the file ends or an error
// comes; *moved tells how many bytes went. Return 0 or the system error number.
int fileRead(FileHandle file, void* buffer, uint32_t size, uint32_t* moved);
int fileWrite(FileHandle file, const void* buffer, uint32_t size, uint32_t* moved);
int fileSize(FileHandle file, uint64_t* size);
int fileClose(FileHandle file);

// What a name stands for, found without opening it (opening a serial device
// has effects of its own), so that a name that can never hold a data file is
// refused before any work. A link counts as what it points at; FILE_KIND_NONE
// also covers a name that cannot be looked at, which an open then explains.
enum FileKind { FILE_KIND_NONE, FILE_KIND_REGULAR, FILE_KIND_DIRECTORY, FILE_KIND_OTHER };
FileKind fileKind(const char* path);

// Writing a file whole or not at all. Whoever looks at the name sees the
// old file or the new one, whole, never a mix or a stump.
//
// The name is taken as the system would open it for the user: a symbolic
// link stays a link and its file is replaced (also one not there yet, which
// a plain open would create), and a link the system refuses to follow (one
// planted in a shared sticky directory) is refused with its reason.
//
// Where a file is replaced, the new content is gathered in memory and only
// goes to the disk at the commit. It is written to a new file beside the old
// one, unreadable to others until it carries the old one's owner, group,
// permission bits, ACL (exactly: nothing a directory's default ACL gave it)
// and extended attributes, flushed, and renamed over the name. Where the new
// file cannot carry all of that, or the old one has other hard links, the new
// content is written into the old file itself, behind a flushed copy of the
// old content beside it, named NAME.korvex-backup (or with -2, -3 ... when
// that is taken) only once it is whole, readable by no one the file shuts
// out; it puts the old content back on any failure and is removed once the
// new content is whole on the disk. A copy that a crash left keeps its name
// for the user to find. Where no file can be made beside the name (no
// permission, no space), the new content is written in place from memory
// with the old content kept in memory only, and the commit's outcome says
// that no copy could be kept. (On Windows the system's own replacement gives
// the new file the old one's attributes and security, and the rename is
// always taken.)
//
// Until the commit the old file stays opened and held as a writer's fileOpen
// holds it, so a file another program holds, a read-only file, a directory or
// a device is refused as before, and readers wait for the commit.
constexpr int FILE_PATH_SIZE = 4096;
struct FileReplacement {
    FileHandle file;     // write the new content here
    FileHandle previous; // the file being replaced, FILE_NONE when there was none
    FileHandle backup;   // the old content's copy while the file is overwritten in place
    bool overwriting;    // the old file holds new bytes that are not yet whole on the disk
    bool previousMade;   // previous is an empty file made where a dangling link pointed
    char path[FILE_PATH_SIZE];
    // The name of a new file beside path (the new content, or the copy being
    // made); empty while it has none.
    char temporaryPath[FILE_PATH_SIZE];
    // The copy's name beside path; empty while it has none (also when the
    // copy is kept in memory only).
    char backupPath[FILE_PATH_SIZE];
};

// Returns 0 with replacement->file open for writing, or the system error
// number with nothing left behind.
int fileReplaceBegin(const char* path, FileReplacement* replacement);
// Copies what the file being replaced holds from offset to its end into the
// new file (its tail is kept). Nothing when there was no file or it is shorter.
int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset);
// Flushes the new content and gives it the chosen name. On a failure, the old
// content is left (or put back) as it was, unless fileReplaceOutcome() says
// otherwise. Returns 0 or the system error number.
int fileReplaceCommit(FileReplacement* replacement);
// What the name holds after the last commit, for a message that says what is
// where when that is not simply the old content (after a failure) or the new
// one (after a success).
enum FileReplaceLeft {
    FILE_LEFT_OLD, // the old content, as before
    FILE_LEFT_NEW, // the new content, confirmed on the disk
    // The new content, whole, but the flush of its name failed: a power loss
    // may still take it back.
    FILE_LEFT_NEW_UNCONFIRMED,
    // The old content followed by extraBytes of the new one: the file could
    // not be cut back to its old length. The old content alone is in copyPath.
    FILE_LEFT_OLD_AND_NEW_TAIL,
    // Part of the new content: the old could not be put back. It is in
    // copyPath, or lost when copyPath is empty.
    FILE_LEFT_MIXED,
    // Nothing: the system removed the old file and could not give the new one
    // the name (Windows). The new content is in copyPath.
    FILE_LEFT_NOTHING,
};
struct FileReplaceOutcome {
    FileReplaceLeft left;
    uint64_t extraBytes;
    // The file was written in place with no copy of its old content beside
    // it: none could be made there.
    bool withoutCopy;
    char copyPath[FILE_PATH_SIZE];
};
const FileReplaceOutcome& fileReplaceOutcome();
// Drops the new content; the old one stays (or is put back) as it was.
void fileReplaceAbandon(FileReplacement* replacement);
// Abandons every replacement still under way, for a process that is being
// ended by a signal or a console interrupt: safe in a signal handler.
void fileReplaceAbandonAll();
