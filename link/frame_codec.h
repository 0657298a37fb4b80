// One DeviceFrame on the wire: a value four bits at a time, an additive checksum
// and a carriage return. This module knows nothing of what a value means.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t FRAME16_SIZE = 6; // PC and device codes
constexpr size_t FRAME8_SIZE = 4;  // sample values, device to PC only
constexpr uint8_t FRAME_END = 0x0D;
constexpr uint8_t FRAME_FILLER = 0xFF;
constexpr size_t RX_LINE_SIZE = 8;
constexpr size_t RX_LINE_MAX_LENGTH = 7;
constexpr size_t BOUNDED_LENGTH_LIMIT = 100;

// The receive line. One instance for the whole run, touched by the reader thread
// only; closing or reopening the link never clears it.
struct RxLine {
    uint8_t bytes[RX_LINE_SIZE];
    uint8_t length; // 0..7
};
extern RxLine rxLine;

void encodeFrame(uint16_t code, uint8_t out[FRAME16_SIZE]);
// The device side's 8-bit frame; the PC never sends it (the simulator and tests do).
void encodeValueFrame(uint8_t value, uint8_t out[FRAME8_SIZE]);

// Feeds one received byte into rxLine. Returns the finished, zero-terminated
// line when the byte ended one, else nullptr. The pointer stays valid until the
// next call.
const uint8_t* assembleByte(uint8_t byte);

size_t boundedLength(const uint8_t* text);
bool checkFrame(const uint8_t* text);
uint16_t decodeFrame(const uint8_t* text);
