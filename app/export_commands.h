// File > Export > Zoom window, Main window and All: the range each exports,
// the save dialog and the message of a failed write around the text export
// (data/text_export.h).
#pragma once
#include <cstdint>

// Each needs samples (the routing checks dataPresent) and returns 0 or an
// error number for the routing's error rule (message 84): a dialog error, a
// system error, ERR_EXPORT_HEADER or ERR_EXPORT_VALUE. A short write has shown
// message 76 with its number before it returns.
int exportZoomWindow();
int exportMainWindow();
int exportAllSamples();

// Asks for a "*.daq" name and writes records first, first + step, ... up to
// last into it. Cancelling writes nothing and returns 0.
int exportText(uint32_t first, int64_t last, uint32_t step);
