// The data file. Reading validates the header against the file's size before
// anything in memory changes, and reads the records into an area of its own,
// so that a short, truncated, padded or foreign file never damages the data on
// display.
#include "data/data_file.h"

#include <cstring>

#include "app/app_state.h"
#include "app/messages.h"
#include "frontend/frontend.h"
#include "platform/file.h"
#include "res/text_table.h"
#include "view/chart_view.h"

static void putU16(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

static void putU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

static uint16_t getU16(const uint8_t* at) {
    return uint16_t(at[0] | (at[1] << 8));
}

static uint32_t getU32(const uint8_t* at) {
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) |
           (uint32_t(at[3]) << 24);
}

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

static bool askForName(FileDialogKind kind, char path[DATA_FILE_PATH_SIZE], int* dialogError) {
    FileDialogSpec spec = {};
    spec.kind = kind;
    spec.filterName = DATA_FILE_FILTER_NAME;
    spec.filterPattern = DATA_FILE_FILTER_PATTERN;
    spec.defaultExtension = DATA_FILE_EXTENSION;
    spec.overwritePrompt = kind == FILE_DIALOG_SAVE;
    spec.createPrompt = kind == FILE_DIALOG_OPEN;
    path[0] = '\0';
    *dialogError = 0;
    return uiRunFileDialog(&spec, path, DATA_FILE_PATH_SIZE, dialogError);
}

static int shortWriteError;

int dataFileShortWriteError() {
    return shortWriteError;
}

// A short write shows its message and leaves the file that was there before
// (or no file) exactly as it was; only a whole file takes the chosen name.
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
        showMessage(MSG_DATA_HEADER_WRITE, TEXT_PROGRAM_TITLE, 0);
        return 0;
    }
    uint32_t count = dataHeader.count;
    if (count > SAMPLE_STORE_CAPACITY)
        count = SAMPLE_STORE_CAPACITY;
    uint32_t size = count * SAMPLE_RECORD_SIZE;
    shortWriteError = fileWrite(replacement.file, sampleStore, size, &moved);
    if (moved < size) {
        fileReplaceAbandon(&replacement);
        showMessage(MSG_DATA_RECORDS_WRITE, TEXT_PROGRAM_TITLE, 0);
        return 0;
    }
    return fileReplaceCommit(&replacement);
}

int saveDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_SAVE, path, &dialogError))
        return dialogError;
    return writeDataFile(path);
}

// The records of a file being opened wait here until the whole file has been
// read and found sound.
static SampleRecord openArea[SAMPLE_STORE_CAPACITY];

// Which message refuses a header read from a file of fileSize bytes; 0 when
// the file can be taken. A count past the store or an interval of 0 is a
// header no device writes; a size other than 20 + 9 x count means records are
// missing or foreign bytes follow them.
static int refusalOf(const DataHeader& header, uint64_t fileSize) {
    if (header.count > SAMPLE_STORE_CAPACITY || header.interval == 0)
        return MSG_DATA_HEADER_SHORT;
    if (fileSize != dataFileSize(header))
        return MSG_DATA_RECORDS_SHORT;
    return 0;
}

static int readOpenedFile(FileHandle file) {
    uint8_t bytes[DATA_HEADER_SIZE];
    uint32_t moved = 0;
    fileRead(file, bytes, DATA_HEADER_SIZE, &moved);
    if (moved < DATA_HEADER_SIZE)
        return MSG_DATA_HEADER_SHORT;
    DataHeader header;
    decodeDataHeader(bytes, &header);
    uint64_t size = 0;
    int err = fileSize(file, &size);
    int refusal = err != 0 ? MSG_DATA_RECORDS_SHORT : refusalOf(header, size);
    if (refusal != 0)
        return refusal;
    uint32_t recordBytes = header.count * SAMPLE_RECORD_SIZE;
    fileRead(file, openArea, recordBytes, &moved);
    if (moved < recordBytes)
        return MSG_DATA_RECORDS_SHORT;
    dataHeader = header;
    std::memcpy(sampleStore, openArea, recordBytes);
    return 0;
}

int readDataFile(const char* path) {
    FileHandle file = FILE_NONE;
    int err = fileOpen(path, FILE_READ, FILE_OPEN_ALWAYS, &file, nullptr);
    if (err != 0)
        return err;
    int refusal = readOpenedFile(file);
    fileClose(file);
    if (refusal == 0)
        return 0;
    showMessage(refusal, TEXT_PROGRAM_TITLE, 0);
    return ERR_DATA_FILE_REFUSED;
}

int openDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_OPEN, path, &dialogError))
        return dialogError != 0 ? dialogError : ERR_OPEN_CANCELLED;
    return readDataFile(path);
}

static void finishOpenCommand(int result) {
    if (result == 0)
        resetChartView();
    else if (result != ERR_OPEN_CANCELLED && result != ERR_DATA_FILE_REFUSED)
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
}

void openDataFileCommand() {
    finishOpenCommand(openDataFile());
}

void openNamedDataFileCommand(const char* path) {
    FileHandle probe = FILE_NONE;
    int err = fileOpen(path, FILE_READ, FILE_OPEN_EXISTING, &probe, nullptr);
    if (err == 0) {
        fileClose(probe);
        err = readDataFile(path);
    }
    finishOpenCommand(err);
}
