// Every measured value the program knows of, with its header and time stamps.
#pragma once
#include <cstdint>

struct SampleRecord {
    uint8_t year; // year - 2000
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t tenths;
    uint8_t hundredths;
    uint8_t value;
};
static_assert(sizeof(SampleRecord) == 9, "a record is 9 packed bytes, in memory and in files");

constexpr uint32_t SAMPLE_RECORD_SIZE = 9;
constexpr uint32_t SAMPLE_STORE_CAPACITY = 1u << 20;
constexpr uint8_t SAMPLE_MARKER_MIN = 201;
constexpr uint8_t SAMPLE_MARKER_MAX = 202;
constexpr uint8_t SAMPLE_GAP = 255;
constexpr uint8_t SAMPLE_EXPORT_LIMIT = 150;

// Whether a code is an event marker (201, 202), and whether it is a value in
// percent, overloads included: 0..200 and 203..254, neither marker nor gap.
inline bool isMarkerCode(uint8_t code) {
    return code >= SAMPLE_MARKER_MIN && code <= SAMPLE_MARKER_MAX;
}
inline bool isValueCode(uint8_t code) {
    return !isMarkerCode(code) && code != SAMPLE_GAP;
}

struct DataHeader {
    uint16_t interval;    // hundredths of a second
    uint16_t amountIndex; // AmountTable index of the span
    uint32_t count;       // valid records
    uint8_t reserved[12]; // kept as read from a file, written back unchanged
};
static_assert(sizeof(DataHeader) == 20, "the header is 20 bytes");
constexpr uint32_t DATA_HEADER_SIZE = 20;

// How many of count records the store holds: count, at most its capacity.
// A device may echo, and a header may claim, more.
inline uint32_t storableCount(uint32_t count) {
    return count < SAMPLE_STORE_CAPACITY ? count : SAMPLE_STORE_CAPACITY;
}

// Records first .. first + count - 1 of the store: what an answer is asked
// of (the whole store, a chart's records, a range of stamps).
struct RecordScope {
    uint32_t first;
    uint32_t count;
};

extern SampleRecord sampleStore[SAMPLE_STORE_CAPACITY];
extern DataHeader dataHeader;
extern bool dataPresent;
// The samples came from a completed transfer, or Set time gave them new
// stamps, and no Save has kept them since; a Save and every load of a file
// clear it. Commands that would drop them ask first (app/data_file_commands.h).
extern bool dataUnsaved;

// Every record the header names, at most the store.
inline RecordScope wholeStore() {
    return {0, storableCount(dataHeader.count)};
}
