// The screen dump. The picture is taken before the save dialog opens, so the
// dialog is never in it. The file is written beside the chosen name and takes
// it only when whole: a failed write or close leaves the old file as it was.
#include "output/screen_dump.h"

#include <cstdlib>
#include <cstring>

#include "app/messages.h"
#include "frontend/frontend.h"
#include "output/bmp_file.h"
#include "res/text_table.h"

namespace {
constexpr size_t BMP_PATH_SIZE = 256;

// Message 87 for a short write; the others are still tried, as each shows
// its own failure.
bool writeWhole(FileHandle file, const void* bytes, uint32_t size) {
    uint32_t moved = 0;
    if (fileWrite(file, bytes, size, &moved) == 0 && moved == size)
        return true;
    showMessage(MSG_BMP_WRITE, CAPTION_SCREEN_DUMP, 0);
    return false;
}
} // namespace

void screenDumpCommand() {
    ScreenCapture* capture = screenCaptureMainWindow();
    if (uint8_t* block = buildBitmapInfo(capture)) {
        writeBmpFile(block, capture);
        std::free(block);
    }
    screenCaptureRelease(capture);
}

int chooseBmpFile(FileReplacement* replacement, bool* chosen) {
    *chosen = false;
    const FileDialogSpec spec = {FILE_DIALOG_SAVE,
                                 BMP_FILE_FILTER_NAME,
                                 BMP_FILE_FILTER_PATTERN,
                                 BMP_FILE_EXTENSION,
                                 true,
                                 false};
    char path[BMP_PATH_SIZE] = "";
    int dialogError = 0;
    if (!uiRunFileDialog(&spec, path, sizeof path, &dialogError))
        return dialogError;
    const int err = fileReplaceBegin(path, replacement);
    *chosen = err == 0;
    return err;
}

void writeBmpFile(uint8_t* block, const ScreenCapture* capture) {
    FileReplacement file;
    bool chosen = false;
    const int err = chooseBmpFile(&file, &chosen);
    if (err != 0)
        showMessage(MSG_BMP_CREATE, CAPTION_SCREEN_DUMP, err);
    else if (chosen)
        writeBmpImage(&file, block, capture);
}

void writeBmpImage(FileReplacement* file, uint8_t* block, const ScreenCapture* capture) {
    BitmapInfoHeader header;
    decodeBitmapInfoHeader(block, &header);
    auto* pixels = static_cast<uint8_t*>(std::calloc(1, header.sizeImage));
    if (pixels == nullptr) {
        showMessage(MSG_BITMAP_MEMORY, CAPTION_SCREEN_DUMP, 0);
        fileReplaceAbandon(file);
        return;
    }
    // GetDIBits rewrites the info header it is handed (it clears biClrUsed);
    // the file keeps the sizes worked out for it and takes only the pixels
    // and the colour table from the call.
    uint8_t infoHeader[BMP_INFO_HEADER_SIZE];
    std::memcpy(infoHeader, block, sizeof infoHeader);
    const int rows = screenCaptureBits(capture, block, pixels);
    std::memcpy(block, infoHeader, sizeof infoHeader);
    if (rows == 0) {
        showMessage(MSG_BITMAP_COLOURS, CAPTION_SCREEN_DUMP, 0);
        fileReplaceAbandon(file);
        std::free(pixels);
        return;
    }

    uint8_t fileHeader[BMP_FILE_HEADER_SIZE];
    encodeBmpFileHeader(block, fileHeader);
    bool whole = writeWhole(file->file, fileHeader, sizeof fileHeader);
    whole = writeWhole(file->file, block, bitmapInfoSize(block)) && whole;
    whole = writeWhole(file->file, pixels, header.sizeImage) && whole;
    if (!whole)
        fileReplaceAbandon(file);
    else if (fileReplaceCommit(file) != 0)
        showMessage(MSG_FILE_CLOSE, CAPTION_SCREEN_DUMP, 0);
    std::free(pixels);
}
