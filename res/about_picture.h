// The program's picture, shown in the About box and used as the window icon,
// as plain data that any front end can turn into its own image type.
#pragma once
#include <cstdint>

constexpr int ABOUT_PICTURE_SIZE = 64;
constexpr int ABOUT_PICTURE_COLOURS = 16;

extern const uint32_t aboutPicturePalette[ABOUT_PICTURE_COLOURS]; // rgb()
extern const char aboutPictureRows[ABOUT_PICTURE_SIZE][ABOUT_PICTURE_SIZE + 1];

// The palette index of pixel (x, y), both 0..63.
uint8_t aboutPicturePixel(int x, int y);
