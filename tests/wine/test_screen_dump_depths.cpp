// The screen dump at the depths no display of the tests has, 1 and 4 bits per
// pixel: a bitmap of that depth in a memory device context, read by the
// native screen layer through the real GetDIBits and written by the
// program's writer, must decode through the file's own colour table to the
// colours it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "output/bmp_file.h"
#include "output/screen_dump.h"
#include "platform/file.h"
#include "ui/frontend.h"

#include "frontend/win32/win32_screen_capture.h"

// The screen layer's window: the captures here are of bitmaps, never of it.
Win32Window win32Window;

// Every failure of the writer is a message; none may come up. The file is
// begun by the test, so no dialog either.
void uiMessageBox(const char* text, const char* caption, unsigned) {
    ADD_FAILURE() << caption << ": " << text;
}
void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    uiMessageBox(text, caption, icon);
}
bool uiRunFileDialog(const FileDialogSpec*, char*, size_t, int*) {
    ADD_FAILURE() << "a file dialog";
    return false;
}

namespace {

constexpr int WIDTH = 13; // pads every depth's rows
constexpr int HEIGHT = 5;
// The 16 colours of a 4-bit display; black and white lead, for 1 bit.
const RGBQUAD PALETTE[16] = {
    {0, 0, 0, 0},       {255, 255, 255, 0}, {0, 0, 128, 0},   {0, 128, 0, 0},
    {0, 128, 128, 0},   {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0},
    {192, 192, 192, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},
    {0, 255, 255, 0},   {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}};

COLORREF shownAt(int depth, int x, int y) {
    const RGBQUAD& colour = PALETTE[(x * 3 + y) % (1 << depth)];
    return RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
}

// A bitmap of the depth with the palette, selected into a memory context of
// its own, painted, and let go again.
HBITMAP paintedBitmap(HDC memory, int depth) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[16];
    } info{};
    info.header = {sizeof info.header, WIDTH, HEIGHT, 1, WORD(depth), BI_RGB, 0, 0, 0, 0, 0};
    std::copy_n(PALETTE, 1 << depth, info.colours);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            SetPixelV(memory, x, y, shownAt(depth, x, y));
    SelectObject(memory, previous);
    return bitmap;
}

uint32_t field(const std::string& file, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | uint8_t(file[at + size_t(i)]);
    return value;
}

TEST(ScreenDumpDepths, OneAndFourBitsFollowTheTableAndDecodeToTheBitmapsColours) {
    for (const auto& [depth, offBits] : {std::pair{1, 62u}, std::pair{4, 118u}}) {
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = paintedBitmap(memory, depth);
        ASSERT_NE(bitmap, nullptr);
        auto* capture = new ScreenCapture{nullptr, memory, bitmap};
        uint8_t* block = buildBitmapInfo(capture);
        ASSERT_NE(block, nullptr);
        const std::string name = (std::filesystem::temp_directory_path() /
                                  ("korvex-depth" + std::to_string(depth) + ".bmp"))
                                     .string();
        FileReplacement replacement;
        ASSERT_EQ(fileReplaceBegin(name.c_str(), &replacement), 0);
        writeBmpImage(&replacement, block, capture);
        std::free(block);
        screenCaptureRelease(capture);

        std::ifstream in(name, std::ios::binary);
        const std::string file(std::istreambuf_iterator<char>(in), {});
        in.close();
        std::remove(name.c_str());
        const uint32_t row = uint32_t(bmpRowSize(WIDTH, depth));
        ASSERT_EQ(file.size(), offBits + row * HEIGHT) << depth;
        EXPECT_EQ(field(file, 2, 4), file.size()) << "bfSize at " << depth;
        EXPECT_EQ(field(file, 10, 4), offBits) << "bfOffBits at " << depth;
        EXPECT_EQ(field(file, 28, 2), uint32_t(depth)) << "biBitCount";
        EXPECT_EQ(field(file, 34, 4), row * HEIGHT) << "biSizeImage at " << depth;
        EXPECT_EQ(field(file, 46, 4), 1u << depth) << "biClrUsed at " << depth;
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x) {
                // Bottom row first, the leftmost pixel in the highest bits.
                const uint32_t at =
                    offBits + row * uint32_t(HEIGHT - 1 - y) + uint32_t(x * depth / 8);
                const int shift = 8 - depth - x * depth % 8;
                const uint32_t index = (uint8_t(file[at]) >> shift) & ((1u << depth) - 1);
                const uint32_t entry = field(file, 54 + 4 * index, 4);
                const COLORREF decoded = RGB(entry >> 16 & 0xff, entry >> 8 & 0xff, entry & 0xff);
                ASSERT_EQ(decoded, shownAt(depth, x, y))
                    << "depth " << depth << " pixel " << x << "," << y;
            }
    }
}

} // namespace
