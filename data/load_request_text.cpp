#include "data/load_request_text.h"

#include <cstdio>
#include <cstring>

#include "base/whole_number.h"

bool parseThresholdText(const char* text, LoadSummaryRequest* request) {
    LoadSummaryRequest parsed = *request;
    parsed.thresholdCount = 0;
    if (*text != '\0') {
        for (const char* at = text;; ++at) {
            const size_t length = std::strcspn(at, ",");
            uint64_t percent = 0;
            if (length == 0 || parsed.thresholdCount >= LOAD_THRESHOLDS_MAX ||
                !parseWholeNumber(at, length, LOAD_THRESHOLD_HIGHEST, &percent))
                return false;
            parsed.thresholds[parsed.thresholdCount++] = uint16_t(percent);
            at += length;
            if (*at == '\0')
                break;
        }
    }
    *request = parsed;
    return true;
}

bool parseRatedKwText(const char* text, uint64_t* milliKw) {
    constexpr int MOST_DECIMALS = 3;
    const size_t wholeLength = std::strcspn(text, ".");
    uint64_t whole = 0;
    if (!parseWholeNumber(text, wholeLength, RATED_MILLI_KW_HIGHEST / 1000, &whole))
        return false;
    uint64_t thousandths = 0;
    if (text[wholeLength] == '.') {
        const char* decimals = text + wholeLength + 1;
        const size_t count = std::strlen(decimals);
        if (count > MOST_DECIMALS || !parseWholeNumber(decimals, count, 999, &thousandths))
            return false;
        for (size_t k = count; k < MOST_DECIMALS; ++k)
            thousandths *= 10;
    }
    const uint64_t parsed = whole * 1000 + thousandths;
    if (parsed == 0 || parsed > RATED_MILLI_KW_HIGHEST)
        return false;
    *milliKw = parsed;
    return true;
}

void thresholdText(const LoadSummaryRequest& request, char* out, size_t size) {
    size_t used = 0;
    out[0] = '\0';
    for (int k = 0; k < request.thresholdCount && used < size; ++k) {
        const int written = std::snprintf(out + used, size - used, k == 0 ? "%u" : ",%u",
                                          unsigned(request.thresholds[k]));
        used += written > 0 ? size_t(written) : 0;
    }
}

void ratedKwText(uint64_t milliKw, char* out, size_t size) {
    if (milliKw == 0) {
        std::snprintf(out, size, "%s", "");
        return;
    }
    const unsigned long long whole = milliKw / 1000;
    unsigned long long thousandths = milliKw % 1000;
    if (thousandths == 0) {
        std::snprintf(out, size, "%llu", whole);
        return;
    }
    int decimals = 3;
    while (thousandths % 10 == 0) {
        thousandths /= 10;
        --decimals;
    }
    std::snprintf(out, size, "%llu.%0*llu", whole, decimals, thousandths);
}
