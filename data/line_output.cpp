#include "data/line_output.h"

#include <cerrno>
#include <cstring>

void lineOutputStart(LineOutput* out, FileHandle file) {
    out->file = file;
    out->used = 0;
    out->result = 0;
}

void lineOutputAppend(LineOutput* out, const char* text, size_t length, int shortWriteCode) {
    if (out->used + length > LINE_OUTPUT_BUFFER_SIZE)
        lineOutputFlush(out, shortWriteCode);
    std::memcpy(out->buffer + out->used, text, length);
    out->used += uint32_t(length);
}

void lineOutputFlush(LineOutput* out, int shortWriteCode) {
    uint32_t moved = 0;
    int err = fileWrite(out->file, out->buffer, out->used, &moved);
    if (moved < out->used)
        out->result = shortWriteCode != 0 ? shortWriteCode : err != 0 ? err : EIO;
    out->used = 0;
}

int writeWholeFile(const char* path, int (*write)(FileHandle file, const void* context),
                   const void* context) {
    FileReplacement replacement;
    int err = fileReplaceBegin(path, &replacement);
    if (err != 0)
        return err;
    int result = write(replacement.file, context);
    if (result != 0) {
        fileReplaceAbandon(&replacement);
        return result;
    }
    return fileReplaceCommit(&replacement);
}
