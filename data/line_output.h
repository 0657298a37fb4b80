// Text files of many short lines (the export, the CSV): lines are gathered in
// a buffer and written a buffer at a time, since a million single-line writes
// cost far more than the formatting, and the file is replaced whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/file.h"

constexpr uint32_t LINE_OUTPUT_BUFFER_SIZE = 1u << 16;

struct LineOutput {
    FileHandle file;
    uint32_t used;
    int result;      // 0, or what the last short write gave
    int systemError; // the system's reason for the last short write, 0 if none
    char buffer[LINE_OUTPUT_BUFFER_SIZE];
};

void lineOutputStart(LineOutput* out, FileHandle file);
// Writes what is buffered. When fewer bytes go than were buffered, result
// becomes shortWriteCode, or the system's error number when that is 0.
void lineOutputFlush(LineOutput* out, int shortWriteCode);
// Adds length bytes (at most the buffer's size), writing the buffer first
// when they do not fit; a short write of it counts as shortWriteCode. Inline:
// it runs once for every line of a million.
inline void lineOutputAppend(LineOutput* out, const char* text, size_t length, int shortWriteCode) {
    if (out->used + length > LINE_OUTPUT_BUFFER_SIZE)
        lineOutputFlush(out, shortWriteCode);
    std::memcpy(out->buffer + out->used, text, length);
    out->used += uint32_t(length);
}

// Writes the file path through the platform's file replacement: write(file,
// context) returns 0 or an error, and only a file it wrote without error
// takes the name; otherwise the old file, or none, stays as it was. Returns
// 0, write's error or a system error number.
int writeWholeFile(const char* path, int (*write)(FileHandle file, const void* context),
                   const void* context);
