// The files the tools write from the data in memory, chosen by the output
// name's extension in one table: a data file, the text export of all samples,
// a CSV, or (where the tool links a printing layer) the printed page as a PDF.
#pragma once

// What write returns when the file could not be written and no system error
// lies behind it (there was nothing to write).
constexpr int OUTPUT_FAILED = -1;

struct OutputWriter {
    const char* extension; // without the dot, matched ignoring letter case
    // Writes path from the data in memory. Returns 0 when the file is whole;
    // otherwise, after the program's own messages, the system error number
    // that says why, for the tools to name, or OUTPUT_FAILED.
    int (*write)(const char* path);
};

// The writer the name's extension names; null when it names none.
const OutputWriter* outputWriterFor(const char* path);
// Writes path with the writer its extension names (which must be one), and
// names the path and the system's reason on standard error when that is
// known, or that no copy of the old content could be kept. True when the file
// is whole.
bool writeOutputFile(const char* path);
// Names the path and the system's reason why it could not be written, and
// what the name then holds where that is not simply its old content, for the
// user to know what is where.
void reportWriteFailure(const char* path, int systemError);
// The extensions of the table, as ".kvd, .daq, .csv", for usage texts.
const char* outputExtensions();
