// The values the simulated T596 logs, shared with the tests that check what
// arrived.
#pragma once
#include <cmath>
#include <cstdint>

// The count pattern: the k-th sample sent in a transfer (from 0) is k % 200,
// so a lost, doubled or reordered sample shows at once.
constexpr uint32_t COUNT_PATTERN_PERIOD = 200;
inline uint8_t countPatternValue(uint32_t k) {
    return static_cast<uint8_t>(k % COUNT_PATTERN_PERIOD);
}

constexpr uint32_t HUNDREDTHS_PER_DAY = 8640000;
constexpr uint8_t LOAD_MARKER_START = 201;
constexpr uint8_t LOAD_MARKER_END = 202;
constexpr uint8_t LOAD_GAP = 255;

// A well-mixed 32-bit hash, so noise, markers and gaps look random but are
// the same for the same logged sample.
inline uint32_t patternHash(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return static_cast<uint32_t>(x);
}

// The load pattern: a feeder's daily load in percent (low at night, a morning
// rise, a midday peak, an evening shoulder) with a few percent of noise. The
// logger marks the start and end of an event (201, 202) now and then, and a
// short stretch of gaps (255) stands for a supply outage. logIndex numbers the
// logged samples; timeOfDay is the sample's time in hundredths after midnight.
inline uint8_t loadPatternValue(uint64_t logIndex, uint32_t timeOfDay) {
    constexpr uint64_t GAP_PERIOD = 50000;
    constexpr uint64_t GAP_LENGTH = 40;
    constexpr uint64_t MARKER_PERIOD = 7000;
    constexpr uint64_t MARKER_LENGTH = 300;
    uint64_t gapPhase = (logIndex + patternHash(logIndex / GAP_PERIOD) % 1000) % GAP_PERIOD;
    if (gapPhase < GAP_LENGTH)
        return LOAD_GAP;
    uint64_t markerPhase = logIndex % MARKER_PERIOD;
    if (markerPhase == 0)
        return LOAD_MARKER_START;
    if (markerPhase == MARKER_LENGTH)
        return LOAD_MARKER_END;

    constexpr double PI = 3.14159265358979323846;
    double hour = 24.0 * (timeOfDay % HUNDREDTHS_PER_DAY) / HUNDREDTHS_PER_DAY;
    double daily = 45.0 - 22.0 * std::cos(2.0 * PI * (hour - 3.5) / 24.0);
    double midday = 14.0 * std::exp(-(hour - 12.0) * (hour - 12.0) / 4.5);
    double evening = 9.0 * std::exp(-(hour - 19.0) * (hour - 19.0) / 3.0);
    double noise = static_cast<double>(patternHash(logIndex) % 1001) / 100.0 - 5.0;
    double load = std::round(daily + midday + evening + noise);
    if (load < 0.0)
        load = 0.0;
    if (load > 150.0)
        load = 150.0;
    return static_cast<uint8_t>(load);
}
