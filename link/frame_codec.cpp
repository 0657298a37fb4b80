#include "link/frame_codec.h"

RxLine rxLine;

namespace {

// Every nibble byte carries its four bits high and 0001 low, which keeps 0x00,
// 0x0D and 0xFF out of a frame before its carriage return.
uint8_t nibbleByte(uint8_t nibble) {
    return static_cast<uint8_t>((nibble << 4) | 0x01);
}

uint8_t highNibblesJoined(const uint8_t* pair) {
    return static_cast<uint8_t>((pair[0] & 0xF0) | (pair[1] >> 4));
}

} // namespace

void encodeFrame(uint16_t code, uint8_t out[FRAME16_SIZE]) {
    out[0] = nibbleByte(static_cast<uint8_t>(code >> 12));
    out[1] = nibbleByte(static_cast<uint8_t>((code >> 8) & 0x0F));
    out[2] = nibbleByte(static_cast<uint8_t>((code >> 4) & 0x0F));
    out[3] = nibbleByte(static_cast<uint8_t>(code & 0x0F));
    out[4] = static_cast<uint8_t>(out[0] + out[1] + out[2] + out[3]);
    out[5] = FRAME_END;
}

void encodeValueFrame(uint8_t value, uint8_t out[FRAME8_SIZE]) {
    out[0] = nibbleByte(static_cast<uint8_t>(value >> 4));
    out[1] = nibbleByte(static_cast<uint8_t>(value & 0x0F));
    out[2] = static_cast<uint8_t>(out[0] + out[1]);
    out[3] = FRAME_END;
}

const uint8_t* assembleByte(uint8_t byte) {
    if (byte == FRAME_END) {
        rxLine.bytes[rxLine.length] = 0;
        rxLine.length = 0;
        return rxLine.bytes;
    }
    if (byte == FRAME_FILLER) {
        return nullptr;
    }
    // An over-long line keeps its first seven bytes: later ones land on the
    // last slot, which the terminating zero overwrites.
    rxLine.bytes[rxLine.length] = byte;
    if (rxLine.length < RX_LINE_MAX_LENGTH) {
        ++rxLine.length;
    }
    return nullptr;
}

size_t boundedLength(const uint8_t* text) {
    for (size_t i = 0; i < BOUNDED_LENGTH_LIMIT; ++i) {
        if (text[i] == 0) {
            return i;
        }
    }
    return 0;
}

bool checkFrame(const uint8_t* text) {
    size_t n = boundedLength(text);
    if (n == 0) {
        return false;
    }
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        sum = static_cast<uint8_t>(sum + text[i]);
    }
    return sum == text[n - 1];
}

uint16_t decodeFrame(const uint8_t* text) {
    // An empty text has no second byte to read.
    if (text[0] == 0) {
        return 0;
    }
    uint8_t hi = highNibblesJoined(text);
    if (boundedLength(text) == 5) {
        return static_cast<uint16_t>(hi * 256 + highNibblesJoined(text + 2));
    }
    return hi;
}
