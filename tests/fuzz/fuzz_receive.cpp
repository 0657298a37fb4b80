// The byte stream a device sends, through the whole receive path, against a
// reading of the frame and dispatch rules of its own: every value the path
// stages, every register it sets, must be what the well-formed lines of the
// stream carry, and nothing may be read or written out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/sample_store.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// What the stream should do to the registers and the staging area.
struct Expected {
    std::vector<uint8_t> staged;
    uint8_t countBytes[3];
    bool countSet;
    uint32_t count;
    bool intervalSet;
    uint16_t interval;
};

// A line ends at 0x0D; 0xFF is skipped; it keeps its first seven bytes; its
// text ends at the first zero; it passes when its last byte is the 8-bit sum
// of the others; five bytes carry 16 bits, any other length 8.
bool lineValue(const uint8_t* line, size_t stored, uint16_t* value) {
    size_t n = 0;
    while (n < stored && line[n] != 0)
        ++n;
    if (n == 0)
        return false;
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < n; ++i)
        sum = uint8_t(sum + line[i]);
    if (sum != line[n - 1])
        return false;
    uint8_t high = uint8_t((line[0] & 0xF0) | (line[1] >> 4));
    *value = n == 5 ? uint16_t(high * 256 + ((line[2] & 0xF0) | (line[3] >> 4))) : high;
    return true;
}

void act(uint16_t v, Expected* e) {
    if (v <= DEV_SAMPLE_MAX) {
        if (e->staged.size() < SAMPLE_STORE_CAPACITY)
            e->staged.push_back(uint8_t(v));
    } else if (v >= DEV_COUNT_LO && v <= DEV_COUNT_LO_LAST) {
        e->countBytes[0] = uint8_t(v - DEV_COUNT_LO);
    } else if (v >= DEV_COUNT_MID && v <= DEV_COUNT_MID_LAST) {
        e->countBytes[1] = uint8_t(v - DEV_COUNT_MID);
    } else if (v >= DEV_COUNT_HI && v <= DEV_COUNT_HI_LAST) {
        e->countBytes[2] = uint8_t(v - DEV_COUNT_HI);
        e->countSet = true;
        e->count =
            e->countBytes[0] | uint32_t(e->countBytes[1]) << 8 | uint32_t(e->countBytes[2]) << 16;
    } else if (v >= DEV_INTERVAL && v <= DEV_INTERVAL_LAST) {
        e->intervalSet = true;
        e->interval = uint16_t(v - DEV_INTERVAL);
    } else if (v == DEV_STOP) {
        e->countSet = true;
        e->count = uint32_t(e->staged.size());
    }
}

Expected expectedOf(const uint8_t* data, size_t size) {
    Expected e{};
    uint8_t line[8] = {};
    size_t length = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t byte = data[i];
        if (byte == 0x0D) {
            uint16_t value;
            if (lineValue(line, length, &value))
                act(value, &e);
            length = 0;
        } else if (byte != 0xFF && length < 7) {
            line[length++] = byte;
        }
    }
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every input starts on an empty line and empty registers.
    rxLine = RxLine{};
    std::memset(countRegister, 0, sizeof countRegister);
    receivedCount.store(0);
    expectedCount.store(0);
    deviceInterval.store(0);

    receiveBytes(data, uint32_t(size));

    Expected e = expectedOf(data, size);
    fuzzRequire(receivedCount.load() == e.staged.size(), "the values staged are the stream's");
    fuzzRequire(e.staged.empty() ||
                    std::memcmp(stagedValues, e.staged.data(), e.staged.size()) == 0,
                "each staged value is the one its line carries");
    fuzzRequire(expectedCount.load() == (e.countSet ? e.count : 0), "the count register");
    fuzzRequire(deviceInterval.load() == (e.intervalSet ? e.interval : 0), "the interval");
    fuzzRequire(countRegister[3] == 0, "the count has three bytes");
    return 0;
}
