#include "data/amount_table.h"

#include "data/sample_store.h"

const uint32_t amountTable[AMOUNT_COUNT] = {
    6000,   15000,   30000,   60000,   150000,   180000,   360000,
    900000, 2160000, 3240000, 4320000, 21600000, 30240000, 51840000,
};

// At the intervals these thresholds name, every span offered yields between
// 6,000 samples and the store's capacity.
bool amountOffered(int k, uint16_t interval) {
    switch (k) {
    case 0:
        return interval == 2;
    case 1:
        return interval <= 5;
    case 2:
        return interval <= 10;
    case 3:
        return interval <= 20;
    case 4:
    case 5:
        return interval <= 50;
    case 6:
    case 7:
        return true;
    case 8:
        return interval != 2;
    case 9:
    case 10:
        return interval >= 10;
    case 11:
        return interval >= 50;
    case 12:
    case 13:
        return interval >= 100;
    default:
        return false;
    }
}

uint32_t amountSampleCount(int k, uint16_t interval) {
    uint32_t n = amountTable[k] * 2 / interval;
    return n >= SAMPLE_STORE_CAPACITY ? SAMPLE_STORE_CAPACITY : n;
}
