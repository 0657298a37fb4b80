// The screen dump's file. It is written beside the chosen name and takes it
// only when whole: a failed write or close leaves the old file as it was.
#include "output/screen_dump.h"

#include <cstdlib>
#include <cstring>

#include "base/messages.h"
#include "output/bmp_file.h"
#include "res/text_table.h"

namespace {
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
