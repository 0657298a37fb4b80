// The data file "*.kvd": an image of the DataHeader followed by the valid
// SampleRecords, little-endian, with no signature, version or checksum. This
// is the layout alone, read and written through a path; the Save and Open
// commands (app/data_file_commands.h) and the tools put dialogs and messages around it.
#pragma once
#include <cstdint>

#include "base/error_codes.h"
#include "data/sample_store.h"

constexpr uint32_t DATA_FILE_PATH_SIZE = 256;
constexpr const char* DATA_FILE_FILTER_NAME = "KVD File (*.kvd)";
constexpr const char* DATA_FILE_FILTER_PATTERN = "*.kvd";
constexpr const char* DATA_FILE_EXTENSION = "kvd";

void encodeDataHeader(const DataHeader& header, uint8_t out[DATA_HEADER_SIZE]);
void decodeDataHeader(const uint8_t in[DATA_HEADER_SIZE], DataHeader* header);
// The size a file of this header must have: 20 + 9 x count.
uint64_t dataFileSize(const DataHeader& header);

// Writes the header and the records in memory. Returns 0, a system error
// number, or a fault; on any failure the file that was there before (or no
// file) stays exactly as it was.
int writeDataFile(const char* path);
// The system error behind the last short write that writeDataFile returned as
// a fault, for callers that name the reason.
int dataFileShortWriteError();
// Reads a whole file over the header and the first count records. Returns 0,
// a system error number, or a fault; on any failure nothing in memory changes.
// With createMissing, a name that does not exist is created empty (the open
// dialog has asked first) and then refused for its missing header.
int readDataFile(const char* path, bool createMissing);

// The catalogue message that reports a fault result of reading (82, 81) or
// writing (86, 85); 0 for any other result.
int dataFileFaultMessage(int result, bool writing);
