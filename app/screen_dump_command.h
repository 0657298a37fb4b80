// Print > Screen dump: a picture of the main window saved as a BMP file.
#pragma once
#include <cstdint>

#include "platform/file.h"
#include "ui/screen_capture.h"

// Once the routing has found samples: captures the window, then asks for the
// file. Every message is shown under caption 48.
void screenDumpCommand();

// The save dialog ("Bitmap File (*.bmp)", asking before it replaces a file),
// then the new file beside the chosen name. Returns 0 with *chosen set and
// replacement begun; 0 with *chosen false when the user cancelled; or the
// dialog's or the system's error number.
int chooseBmpFile(FileReplacement* replacement, bool* chosen);

// Asks for the file and writes the capture described by descriptionBlock to
// it. The chosen name takes the new file only when it was written whole; any
// failure leaves what stood there before.
void writeBmpFile(uint8_t* descriptionBlock, const ScreenCapture* capture);
