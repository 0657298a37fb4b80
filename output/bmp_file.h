// The BMP file of a screen dump, little-endian throughout: a 14-byte file
// header, the bitmap description block (a 40-byte info header and, below 24
// bits per pixel, a colour table of 2^d entries), then the pixel rows, bottom
// row first, each padded to a multiple of 4 bytes.
#pragma once
#include <cstdint>

#include "ui/screen_capture.h"

constexpr uint32_t BMP_FILE_HEADER_SIZE = 14;
constexpr uint32_t BMP_INFO_HEADER_SIZE = 40;
constexpr const char* BMP_FILE_FILTER_NAME = "Bitmap File (*.bmp)";
constexpr const char* BMP_FILE_FILTER_PATTERN = "*.bmp";
constexpr const char* BMP_FILE_EXTENSION = "bmp";

// The fields of the info header that the layout depends on.
struct BitmapInfoHeader {
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t sizeImage;
    uint32_t clrUsed;
};

// The depth the sizes are reckoned in: 1, 4, 8, 16, 24 or 32.
int bmpRoundedDepth(const BitmapFormat& format);
// Bytes of one row, padded to a multiple of 4.
uint64_t bmpRowSize(int32_t width, int depth);

// The description block of a captured bitmap, zero-filled and then filled in
// (biSize, biWidth, biHeight, biPlanes, biBitCount, biSizeImage, biClrUsed),
// allocated with malloc; the caller frees it. Null after a failure whose
// message has been shown: 71 when the format cannot be read, 70 when the
// block cannot be had.
uint8_t* buildBitmapInfo(const ScreenCapture* capture);
void decodeBitmapInfoHeader(const uint8_t* descriptionBlock, BitmapInfoHeader* header);
// The description block's size: the info header and the colour table.
uint32_t bitmapInfoSize(const uint8_t* descriptionBlock);
// "BM", bfSize, two zero words and bfOffBits.
void encodeBmpFileHeader(const uint8_t* descriptionBlock, uint8_t out[BMP_FILE_HEADER_SIZE]);
