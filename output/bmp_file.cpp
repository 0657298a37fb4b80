// The BMP layout. The description block is kept in the file's own byte order,
// so that it is written as it stands and a Windows screen layer can hand it
// to GetDIBits as a BITMAPINFO.
#include "output/bmp_file.h"

#include <cstdlib>
#include <initializer_list>

#include "base/little_endian.h"
#include "base/messages.h"
#include "res/text_table.h"

namespace {
// Offsets in the info header.
constexpr uint32_t BI_SIZE = 0;
constexpr uint32_t BI_WIDTH = 4;
constexpr uint32_t BI_HEIGHT = 8;
constexpr uint32_t BI_PLANES = 12;
constexpr uint32_t BI_BIT_COUNT = 14;
constexpr uint32_t BI_SIZE_IMAGE = 20;
constexpr uint32_t BI_CLR_USED = 32;
constexpr uint32_t COLOUR_ENTRY_SIZE = 4;

} // namespace

int bmpRoundedDepth(const BitmapFormat& format) {
    const uint16_t bits = uint16_t(format.planes * format.bitsPerPixel);
    if (bits == 1)
        return 1;
    for (int depth : {4, 8, 16, 24})
        if (bits <= depth)
            return depth;
    return 32;
}

uint64_t bmpRowSize(int32_t width, int depth) {
    return ((uint64_t(uint32_t(width)) * uint32_t(depth) + 31) & ~uint64_t(31)) / 8;
}

uint8_t* buildBitmapInfo(const ScreenCapture* capture) {
    BitmapFormat format;
    if (capture == nullptr || !screenCaptureFormat(capture, &format)) {
        showMessage(MSG_BITMAP_FORMAT, CAPTION_SCREEN_DUMP, 0);
        return nullptr;
    }
    const int depth = bmpRoundedDepth(format);
    const uint32_t colours = depth < 24 ? 1u << depth : 0;
    const uint32_t blockSize = BMP_INFO_HEADER_SIZE + COLOUR_ENTRY_SIZE * colours;
    // The whole file must be countable in the header's 32 bits; a bitmap that
    // is not is as unobtainable as the memory for it.
    const uint64_t sizeImage = bmpRowSize(format.width, depth) * uint32_t(format.height);
    uint8_t* block = nullptr;
    if (format.width > 0 && format.height > 0 &&
        sizeImage <= UINT32_MAX - BMP_FILE_HEADER_SIZE - blockSize)
        block = static_cast<uint8_t*>(std::calloc(1, blockSize));
    if (block == nullptr) {
        showMessage(MSG_BITMAP_MEMORY, CAPTION_SCREEN_DUMP, 0);
        return nullptr;
    }
    putU32(block + BI_SIZE, BMP_INFO_HEADER_SIZE);
    putU32(block + BI_WIDTH, uint32_t(format.width));
    putU32(block + BI_HEIGHT, uint32_t(format.height));
    putU16(block + BI_PLANES, format.planes);
    putU16(block + BI_BIT_COUNT, format.bitsPerPixel);
    putU32(block + BI_SIZE_IMAGE, uint32_t(sizeImage));
    putU32(block + BI_CLR_USED, colours);
    return block;
}

void decodeBitmapInfoHeader(const uint8_t* block, BitmapInfoHeader* header) {
    header->width = int32_t(getU32(block + BI_WIDTH));
    header->height = int32_t(getU32(block + BI_HEIGHT));
    header->planes = uint16_t(getU16(block + BI_PLANES));
    header->bitCount = uint16_t(getU16(block + BI_BIT_COUNT));
    header->sizeImage = getU32(block + BI_SIZE_IMAGE);
    header->clrUsed = getU32(block + BI_CLR_USED);
}

uint32_t bitmapInfoSize(const uint8_t* block) {
    return BMP_INFO_HEADER_SIZE + COLOUR_ENTRY_SIZE * getU32(block + BI_CLR_USED);
}

void encodeBmpFileHeader(const uint8_t* block, uint8_t out[BMP_FILE_HEADER_SIZE]) {
    const uint32_t offBits = BMP_FILE_HEADER_SIZE + bitmapInfoSize(block);
    out[0] = 'B';
    out[1] = 'M';
    putU32(out + 2, offBits + getU32(block + BI_SIZE_IMAGE));
    putU32(out + 6, 0);
    putU32(out + 10, offBits);
}
