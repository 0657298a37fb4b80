// The codes of the T596 protocol, both directions.
#pragma once
#include <cstdint>

constexpr uint16_t DEV_SAMPLE_MAX = 255;
constexpr uint16_t DEV_COUNT_LO = 59000;
constexpr uint16_t DEV_COUNT_LO_LAST = 59299;
constexpr uint16_t DEV_COUNT_MID = 59300;
constexpr uint16_t DEV_COUNT_MID_LAST = 59599;
constexpr uint16_t DEV_COUNT_HI = 59600;
constexpr uint16_t DEV_COUNT_HI_LAST = 59699;
constexpr uint16_t DEV_INTERVAL = 59700;
constexpr uint16_t DEV_INTERVAL_LAST = 59800;
constexpr uint16_t DEV_PING = 65060;
constexpr uint16_t DEV_PING_REPLY = 65061;
constexpr uint16_t DEV_START = 65062;
constexpr uint16_t DEV_STOP = 65063;
