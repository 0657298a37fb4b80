// The data file "*.kvd": an image of the DataHeader followed by the valid
// SampleRecords, little-endian, with no signature, version or checksum.
#pragma once
#include <cstdint>

#include "data/sample_store.h"

constexpr uint32_t DATA_FILE_PATH_SIZE = 256;
constexpr const char* DATA_FILE_FILTER_NAME = "KVD File (*.kvd)";
constexpr const char* DATA_FILE_FILTER_PATTERN = "*.kvd";
constexpr const char* DATA_FILE_EXTENSION = "kvd";

// A file that was refused after its own message was shown: the caller reports
// nothing more, and the data on display stays exactly as it was.
constexpr int ERR_DATA_FILE_REFUSED = 30006;

void encodeDataHeader(const DataHeader& header, uint8_t out[DATA_HEADER_SIZE]);
void decodeDataHeader(const uint8_t in[DATA_HEADER_SIZE], DataHeader* header);
// The size a file of this header must have: 20 + 9 x count.
uint64_t dataFileSize(const DataHeader& header);

// Both ask for a name with the file dialog, then write or read the file, and
// show their own short writes (save: then 0) and refused files (open: then
// ERR_DATA_FILE_REFUSED). Otherwise 0 on success or an error number for the
// caller to report: a dialog error, a system error, or ERR_OPEN_CANCELLED.
int saveDataFile();
int openDataFile();

// File > Open: openDataFile, then the view reset of new data; a refused or
// cancelled file changes nothing, any other error is message 80.
void openDataFileCommand();
// The same with the name already chosen (the command line, a dropped file). A
// name that does not exist is reported, not created: nobody was asked.
void openNamedDataFileCommand(const char* path);

// The same without the dialog, for callers that already have the name.
int writeDataFile(const char* path);
// The system error behind the last short write that writeDataFile reported
// with its own message, for callers that name the reason.
int dataFileShortWriteError();
// On success the header and the first count records are replaced; on any
// failure nothing in memory changes.
int readDataFile(const char* path);
