#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "link/device_codes.h"
#include "link/frame_codec.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Runs bytes through the receive path's codec steps and returns every value a
// line yielded, in order.
std::vector<uint16_t> valuesFrom(const Bytes& bytes) {
    std::vector<uint16_t> values;
    for (uint8_t byte : bytes) {
        const uint8_t* line = assembleByte(byte);
        if (line != nullptr && checkFrame(line)) {
            values.push_back(decodeFrame(line));
        }
    }
    return values;
}

Bytes frameOf(uint16_t code) {
    uint8_t frame[FRAME16_SIZE];
    encodeFrame(code, frame);
    return Bytes(frame, frame + FRAME16_SIZE);
}

class FrameCodec : public ::testing::Test {
  protected:
    // The line outlives every test; a carriage return leaves it empty.
    void SetUp() override { assembleByte(FRAME_END); }
};

TEST_F(FrameCodec, EncodesTheWorkedCodes) {
    EXPECT_EQ(frameOf(DEV_PING), (Bytes{0xF1, 0xE1, 0x21, 0x41, 0x34, 0x0D}));
    EXPECT_EQ(frameOf(DEV_START), (Bytes{0xF1, 0xE1, 0x21, 0x61, 0x54, 0x0D}));
    EXPECT_EQ(frameOf(DEV_STOP), (Bytes{0xF1, 0xE1, 0x21, 0x71, 0x64, 0x0D}));
    EXPECT_EQ(frameOf(DEV_COUNT_LO), (Bytes{0xE1, 0x61, 0x71, 0x81, 0x34, 0x0D}));

    uint8_t valueFrame[FRAME8_SIZE];
    encodeValueFrame(100, valueFrame);
    EXPECT_EQ(Bytes(valueFrame, valueFrame + FRAME8_SIZE), (Bytes{0x61, 0x41, 0xA2, 0x0D}));
}

TEST_F(FrameCodec, EveryCodeAvoidsReservedBytesAndDecodesBack) {
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        Bytes frame = frameOf(static_cast<uint16_t>(code));
        for (size_t i = 0; i + 1 < frame.size(); ++i) {
            ASSERT_NE(frame[i], 0x00) << "code " << code << " byte " << i;
            ASSERT_NE(frame[i], 0x0D) << "code " << code << " byte " << i;
            ASSERT_NE(frame[i], 0xFF) << "code " << code << " byte " << i;
        }
        ASSERT_EQ(frame.back(), 0x0D);
        ASSERT_EQ(valuesFrom(frame), std::vector<uint16_t>{static_cast<uint16_t>(code)})
            << "code " << code;
    }
}

TEST_F(FrameCodec, EveryValueFrameDecodesBack) {
    for (uint32_t value = 0; value <= 0xFF; ++value) {
        uint8_t frame[FRAME8_SIZE];
        encodeValueFrame(static_cast<uint8_t>(value), frame);
        for (size_t i = 0; i + 1 < FRAME8_SIZE; ++i) {
            ASSERT_NE(frame[i], 0x00);
            ASSERT_NE(frame[i], 0x0D);
            ASSERT_NE(frame[i], 0xFF);
        }
        ASSERT_EQ(valuesFrom(Bytes(frame, frame + FRAME8_SIZE)),
                  std::vector<uint16_t>{static_cast<uint16_t>(value)});
    }
}

// Lines through the receive path: bytes given in turn, each with the values
// its line yields; the line carries over from one step to the next.
using Values = std::vector<uint16_t>;

struct LineStep {
    Bytes bytes;
    Values values;
};

struct LineCase {
    const char* name;
    std::vector<LineStep> steps;
};

// Keeps the test's name readable where GoogleTest would dump the case's bytes.
void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

// What the ninth byte of the second long line below holds.
constexpr uint8_t SUM_OF_EIGHT = uint8_t(0x61 + 0x41 + 0x11 + 0x11 + 0x11 + 0x11 + 0x21 + 0x31);

const LineCase LINES[] = {
    {"FillerIsSkippedAnywhere",
     {{{0x61, 0x41, 0xA2, 0x0D}, {100}},
      {{0x61, 0xFF, 0x41, 0xA2, 0xFF, 0x0D}, {100}},
      {{0xFF, 0xFF, 0x61, 0x41, 0xFF, 0xA2, 0x0D}, {100}}}},
    // ... and leave the next frame whole.
    {"EmptyLinesYieldNothing",
     {{{0x0D}, {}}, {{0x0D, 0x0D}, {}}, {{0x0D, 0x0D, 0x61, 0x41, 0xA2, 0x0D}, {100}}}},
    // The next line starts fresh after each rejected one.
    {"RejectsBadChecksumsOneByteLinesAndLeadingZero",
     {{{0x61, 0x41, 0xA3, 0x0D}, {}},
      {{0x41, 0x0D}, {}},
      {{0x00, 0x61, 0x41, 0xA2, 0x0D}, {}},
      {{0x61, 0x41, 0xA2, 0x0D}, {100}}}},
    {"LowNibblesAreLeftToTheChecksum", {{{0x60, 0x41, 0xA1, 0x0D}, {100}}}},
    // Byte 6 is the sum of bytes 0-5, so the cut line passes; bytes 7 and 8 are
    // lost. Then only the ninth byte would match the sum of the first eight:
    // the line fails.
    {"LineLongerThanSevenBytesIsCutToItsFirstSeven",
     {{{0x61, 0x41, 0x11, 0x11, 0x11, 0x11, 0xE6, 0x99, 0x77, 0x0D}, {100}},
      {{0x61, 0x41, 0x11, 0x11, 0x11, 0x11, 0x21, 0x31, SUM_OF_EIGHT, 0x0D}, {}}}},
    // Would be the 16-bit code 0x6412 if the length were not exactly five.
    {"SixByteTextDecodesAsEightBitValue", {{{0x61, 0x41, 0x11, 0x21, 0x31, 0x05, 0x0D}, {100}}}},
    {"SixteenBitFrameMayCarryASmallValue", {{{0x01, 0x01, 0x61, 0x41, 0xA4, 0x0D}, {100}}}},
    // Two bytes left over from an earlier port spoil the first frame only.
    {"PartialLineContinuesIntoTheNextBytes",
     {{{0x61, 0x41}, {}}, {{0x61, 0x41, 0xA2, 0x0D}, {}}, {{0x61, 0x41, 0xA2, 0x0D}, {100}}}},
};

class FrameCodecLines : public FrameCodec, public ::testing::WithParamInterface<LineCase> {};

TEST_P(FrameCodecLines, YieldTheirValues) {
    const std::vector<LineStep>& steps = GetParam().steps;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(valuesFrom(steps[i].bytes), steps[i].values) << "step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Received, FrameCodecLines, ::testing::ValuesIn(LINES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameCodec, BoundedLengthTreatsAnUnterminatedTextAsEmpty) {
    uint8_t text[BOUNDED_LENGTH_LIMIT + 1];
    std::memset(text, 0x41, sizeof text);
    text[BOUNDED_LENGTH_LIMIT] = 0;
    EXPECT_EQ(boundedLength(text), 0u);
    EXPECT_FALSE(checkFrame(text));

    text[BOUNDED_LENGTH_LIMIT - 1] = 0;
    EXPECT_EQ(boundedLength(text), BOUNDED_LENGTH_LIMIT - 1);
    const uint8_t empty[1] = {0};
    EXPECT_EQ(boundedLength(empty), 0u);
}

} // namespace
