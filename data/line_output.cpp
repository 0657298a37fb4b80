#include "data/line_output.h"

#include <cerrno>

void lineOutputStart(LineOutput* out, FileHandle file) {
    out->file = file;
    out->used = 0;
    out->result = 0;
    out->systemError = 0;
}

void lineOutputFlush(LineOutput* out, int shortWriteCode) {
    uint32_t moved = 0;
    int err = fileWrite(out->file, out->buffer, out->used, &moved);
    if (moved < out->used) {
        out->systemError = err != 0 ? err : EIO;
        out->result = shortWriteCode != 0 ? shortWriteCode : out->systemError;
    }
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
