// The files the tools write from the data in memory, chosen by the output
// name's extension in one table: a data file, the text export of all samples,
// a CSV, or (where the tool links a printing layer) the printed page as a PDF.
#pragma once

struct OutputWriter {
    const char* extension; // without the dot, matched ignoring letter case
    // Writes path from the data in memory. Shows the program's own messages
    // for any failure and returns false; true when the file is whole.
    bool (*write)(const char* path);
};

// The writer the name's extension names; null when it names none.
const OutputWriter* outputWriterFor(const char* path);
// The extensions of the table, as ".kvd, .daq, .csv", for usage texts.
const char* outputExtensions();
