// Writes the program's picture as a Windows icon file, 32 x 32 and 16 x 16 in
// 16 colours, for the resource compiler. Built and run on the build machine,
// so the icon comes from the same data as the About box.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "res/about_picture.h"

namespace {

constexpr int SIZES[] = {32, 16};
constexpr int HEADER_BYTES = 40;
constexpr int DIRECTORY_BYTES = 6;
constexpr int ENTRY_BYTES = 16;

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

int rowBytes(int bits) {
    return (bits + 31) / 32 * 4;
}

// The header, the palette, the colour rows and an all-opaque mask, both
// bottom-up.
std::vector<uint8_t> iconImage(int size) {
    std::vector<uint8_t> image;
    int colourRow = rowBytes(size * 4);
    int maskRow = rowBytes(size);
    put32(image, HEADER_BYTES);
    put32(image, uint32_t(size));
    put32(image, uint32_t(2 * size)); // the colours and the mask
    put16(image, 1);
    put16(image, 4);
    put32(image, 0);
    put32(image, uint32_t((colourRow + maskRow) * size));
    for (int i = 0; i < 4; ++i)
        put32(image, 0);
    for (uint32_t colour : aboutPicturePalette) {
        image.push_back(uint8_t(colour >> 16));
        image.push_back(uint8_t(colour >> 8));
        image.push_back(uint8_t(colour));
        image.push_back(0);
    }
    int step = ABOUT_PICTURE_SIZE / size;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(colourRow), 0);
        for (int x = 0; x < size; ++x)
            row[size_t(x / 2)] |= uint8_t(aboutPicturePixel(x * step, y * step) << (x % 2 ? 0 : 4));
        image.insert(image.end(), row.begin(), row.end());
    }
    image.insert(image.end(), size_t(maskRow * size), 0);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon FILE.ico\n");
        return 2;
    }
    std::vector<uint8_t> directory;
    std::vector<uint8_t> images;
    int count = int(sizeof SIZES / sizeof SIZES[0]);
    put16(directory, 0);
    put16(directory, 1);
    put16(directory, uint16_t(count));
    uint32_t offset = uint32_t(DIRECTORY_BYTES + ENTRY_BYTES * count);
    for (int size : SIZES) {
        std::vector<uint8_t> image = iconImage(size);
        directory.push_back(uint8_t(size));
        directory.push_back(uint8_t(size));
        directory.push_back(ABOUT_PICTURE_COLOURS);
        directory.push_back(0);
        put16(directory, 1);
        put16(directory, 4);
        put32(directory, uint32_t(image.size()));
        put32(directory, offset + uint32_t(images.size()));
        images.insert(images.end(), image.begin(), image.end());
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    bool written = std::fwrite(directory.data(), 1, directory.size(), file) == directory.size() &&
                   std::fwrite(images.data(), 1, images.size(), file) == images.size();
    written = std::fclose(file) == 0 && written;
    return written ? 0 : 1;
}
