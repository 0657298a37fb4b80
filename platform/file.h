// Whole-file operations as the configuration and data files need them: a file
// opened without sharing, read and written in one call each, error numbers of
// the operating system.
#pragma once
#include <cstdint>

using FileHandle = intptr_t;
constexpr FileHandle FILE_NONE = -1;

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
