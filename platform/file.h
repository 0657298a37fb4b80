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

// Writing a file whole or not at all. The new bytes go to a temporary file in
// the same directory; committing flushes it to the disk and renames it over
// the chosen name, so whoever looks at that name sees the old file or the new
// one, whole, never a mix or a stump. Until the commit the old file stays
// opened and locked as fileOpen would lock it, so a file another program
// holds, a read-only file, a directory or a device is refused as before.
constexpr int FILE_PATH_SIZE = 4096;
struct FileReplacement {
    FileHandle file;     // the temporary file: write the new content here
    FileHandle previous; // the file being replaced, FILE_NONE when there was none
    char path[FILE_PATH_SIZE];
    char temporaryPath[FILE_PATH_SIZE];
};

// Returns 0 with replacement->file open for writing, or the system error
// number with nothing left behind.
int fileReplaceBegin(const char* path, FileReplacement* replacement);
// Copies what the file being replaced holds from offset to its end into the
// new file (its tail is kept). Nothing when there was no file or it is shorter.
int fileReplaceKeepTail(FileReplacement* replacement, uint64_t offset);
// Flushes, closes and renames the new file over the chosen name. On any
// failure the temporary file is removed and the old file is left as it was.
// Returns 0 or the system error number.
int fileReplaceCommit(FileReplacement* replacement);
// Removes the new file; the old one stays as it was.
void fileReplaceAbandon(FileReplacement* replacement);
