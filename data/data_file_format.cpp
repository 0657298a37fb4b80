// The data file's layout. Reading validates the header against the file's
// size before anything in memory changes, and reads the records into an area
// of its own, so that a short, truncated, padded or foreign file never damages
// the data on display.
#include "data/data_file_format.h"

#include <cstring>

#include "base/little_endian.h"
#include "platform/file.h"
#include "res/text_table.h"

void encodeDataHeader(const DataHeader& header, uint8_t out[DATA_HEADER_SIZE]) {
    putU16(out, header.interval);
    putU16(out + 2, header.amountIndex);
    putU32(out + 4, header.count);
    std::memcpy(out + 8, header.reserved, sizeof header.reserved);
}

void decodeDataHeader(const uint8_t in[DATA_HEADER_SIZE], DataHeader* header) {
    header->interval = getU16(in);
    header->amountIndex = getU16(in + 2);
    header->count = getU32(in + 4);
    std::memcpy(header->reserved, in + 8, sizeof header->reserved);
}

uint64_t dataFileSize(const DataHeader& header) {
    return DATA_HEADER_SIZE + uint64_t(SAMPLE_RECORD_SIZE) * header.count;
}

namespace {

int shortWriteError;

} // namespace

int dataFileShortWriteError() {
    return shortWriteError;
}

// Only a whole file takes the chosen name.
int writeDataFile(const char* path) {
    FileReplacement replacement;
    int err = fileReplaceBegin(path, &replacement);
    if (err != 0)
        return err;
    uint8_t header[DATA_HEADER_SIZE];
    encodeDataHeader(dataHeader, header);
    uint32_t moved = 0;
    shortWriteError = fileWrite(replacement.file, header, DATA_HEADER_SIZE, &moved);
    if (moved < DATA_HEADER_SIZE) {
        fileReplaceAbandon(&replacement);
        return ERR_DATA_HEADER_FAULT;
    }
    uint32_t size = storableCount(dataHeader.count) * SAMPLE_RECORD_SIZE;
    shortWriteError = fileWrite(replacement.file, sampleStore, size, &moved);
    if (moved < size) {
        fileReplaceAbandon(&replacement);
        return ERR_DATA_RECORDS_FAULT;
    }
    return fileReplaceCommit(&replacement);
}

namespace {

// The records of a file being read wait here until the whole file has been
// read and found sound.
SampleRecord readArea[SAMPLE_STORE_CAPACITY];

// Which fault refuses a header read from a file of fileSize bytes; 0 when
// the file can be taken. A count past the store or an interval of 0 is a
// header no device writes; a size other than 20 + 9 x count means records are
// missing or foreign bytes follow them.
int refusalOf(const DataHeader& header, uint64_t fileSize) {
    if (header.count > SAMPLE_STORE_CAPACITY || header.interval == 0)
        return ERR_DATA_HEADER_FAULT;
    if (fileSize != dataFileSize(header))
        return ERR_DATA_RECORDS_FAULT;
    return 0;
}

int readOpenedFile(FileHandle file) {
    uint8_t bytes[DATA_HEADER_SIZE];
    uint32_t moved = 0;
    fileRead(file, bytes, DATA_HEADER_SIZE, &moved);
    if (moved < DATA_HEADER_SIZE)
        return ERR_DATA_HEADER_FAULT;
    DataHeader header;
    decodeDataHeader(bytes, &header);
    uint64_t size = 0;
    int err = fileSize(file, &size);
    int refusal = err != 0 ? ERR_DATA_RECORDS_FAULT : refusalOf(header, size);
    if (refusal != 0)
        return refusal;
    uint32_t recordBytes = header.count * SAMPLE_RECORD_SIZE;
    fileRead(file, readArea, recordBytes, &moved);
    if (moved < recordBytes)
        return ERR_DATA_RECORDS_FAULT;
    dataHeader = header;
    std::memcpy(sampleStore, readArea, recordBytes);
    return 0;
}

} // namespace

int readDataFile(const char* path, bool createMissing) {
    FileHandle file = FILE_NONE;
    int err = fileOpen(path, FILE_READ, createMissing ? FILE_OPEN_ALWAYS : FILE_OPEN_EXISTING,
                       &file, nullptr);
    if (err != 0)
        return err;
    int result = readOpenedFile(file);
    fileClose(file);
    return result;
}

int dataFileFaultMessage(int result, bool writing) {
    if (result == ERR_DATA_HEADER_FAULT)
        return writing ? MSG_DATA_HEADER_WRITE : MSG_DATA_HEADER_SHORT;
    if (result == ERR_DATA_RECORDS_FAULT)
        return writing ? MSG_DATA_RECORDS_WRITE : MSG_DATA_RECORDS_SHORT;
    return 0;
}
