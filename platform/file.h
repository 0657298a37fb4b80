// Whole-file operations as the configuration and data files need them: a file
// opened without sharing, read and written in one call each, error numbers of
// the operating system.
#pragma once
#include <cstddef>
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

// Opens path for access, exclusively: another holder makes it fail. Reports
// in *existed whether the file was there before. Returns 0 or the system
// error number.
int fileOpen(const char* path, unsigned access, FileDisposition disposition, FileHandle* file,
             bool* existed);
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

// How many leading bytes of path name its folder, the last separator
// included ("/home/ann/" of "/home/ann/day.kvd"); 0 for a bare name. The
// bytes are the system's, never decoded.
size_t pathFolderLength(const char* path);

// Writing a file whole or not at all. The new bytes go to a new file in the
// same directory (an unnamed one where the file system allows it, so that a
// process killed on the way leaves nothing behind); committing flushes it to
// the disk and renames it over the chosen name, so whoever looks at that name
// sees the old file or the new one, whole, never a mix or a stump.
//
// A rename would give the name a new file: owned by whoever saves, without
// the old one's extended attributes and ACL, and apart from its other hard
// links. Where the new file cannot carry all of that, the new content is
// written into the old file itself, behind a flushed copy of the old content
// beside it (named NAME.korvex-backup, or with -2, -3 ... when that is taken),
// which puts the old content back on any failure and is removed once the new
// content is whole on the disk. A copy that a crash left behind keeps its
// name for the user to find. (On Windows the system's own replacement gives
// the new file the old one's attributes and security, and the rename is
// always taken.)
//
// Until the commit the old file stays opened and locked as fileOpen would
// lock it, so a file another program holds, a read-only file, a directory or
// a device is refused as before.
constexpr int FILE_PATH_SIZE = 4096;
struct FileReplacement {
    FileHandle file;     // write the new content here
    FileHandle previous; // the file being replaced, FILE_NONE when there was none
    FileHandle backup;   // the copy of the old content while it is overwritten in place
    char path[FILE_PATH_SIZE];
    // The new file's name beside path; empty while it has none.
    char temporaryPath[FILE_PATH_SIZE];
    char backupPath[FILE_PATH_SIZE];
};

// Returns 0 with replacement->file open for writing, or the system error
// number with nothing left behind.
int fileReplaceBegin(const char* path, FileReplacement* replacement);
// Copies what the file being replaced holds from offset to its end into the
// new file (its tail is kept). Nothing when there was no file or it is shorter.
int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset);
// Flushes the new content and gives it the chosen name. On a failure before
// that, the old content is left (or put back) as it was. Returns 0 or the
// system error number.
int fileReplaceCommit(FileReplacement* replacement);
// True when the last commit that failed had already given the new content
// its name, whole, and only could not confirm that the name is on the disk
// (the directory's flush failed): the new content is in place, but a power
// loss may still take it back.
bool fileReplaceUnconfirmed();
// Drops the new content; the old one stays (or is put back) as it was.
void fileReplaceAbandon(FileReplacement* replacement);
// Abandons every replacement still under way, for a process that is being
// ended by a signal or a console interrupt: safe in a signal handler.
void fileReplaceAbandonAll();
