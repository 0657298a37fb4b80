// The text export "*.daq": four header lines (title, start time, spacing of
// the exported values, unit) and one line per exported sample, each ended by
// a line feed alone, the texts in the program's 8-bit character set. This is
// the format alone; File > Export (app/export_commands.h) and the tools put
// dialogs and messages around it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/file.h"

constexpr const char* EXPORT_FILTER_NAME = "DAQ File (*.daq)";
constexpr const char* EXPORT_FILTER_PATTERN = "*.daq";
constexpr const char* EXPORT_EXTENSION = "daq";

// A value code as the export writes it: its decimal number below
// SAMPLE_EXPORT_LIMIT, nothing from there up. Returns the length, 0 to 3.
size_t exportValueText(uint8_t code, char out[3]);

// Writes the export of records first, first + step, ... up to last to an
// open file; with first above last, the header alone. Returns 0, or
// ERR_EXPORT_HEADER / ERR_EXPORT_VALUE when a header or a sample line was
// written short; every line is tried all the same, and the code is that of
// the last short write. Records from count on are never read: last is taken
// as count - 1 at most, and a step of 0 as 1.
int writeExport(FileHandle file, uint32_t first, int64_t last, uint32_t step);
// The same into a file by name, which holds the old file or the whole export
// afterwards, never part of it. Returns 0, a system error number, or one of
// writeExport's codes.
int writeExportFile(const char* path, uint32_t first, int64_t last, uint32_t step);

// The system's reason for the last short write that writeExport returned as
// ERR_EXPORT_HEADER or ERR_EXPORT_VALUE, for callers that name it.
int exportShortWriteError();

// The catalogue message that reports a result of writing an export: 76 for a
// line written short, 0 for any other result.
int exportWriteMessage(int result);
