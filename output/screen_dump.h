// The screen dump's BMP file: a picture of the main window written beside
// the chosen name.
#pragma once
#include <cstdint>

#include "platform/file.h"
#include "ui/screen_capture.h"

// The pixels of the capture into the file begun beside the chosen name, after
// the file header and the description block; the name takes the file when
// it is whole and closed.
void writeBmpImage(FileReplacement* file, uint8_t* descriptionBlock, const ScreenCapture* capture);
