#include "base/whole_number.h"

#include <cstring>

bool parseWholeNumber(const char* text, size_t length, uint64_t highest, uint64_t* value) {
    if (length == 0)
        return false;
    uint64_t number = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        const uint64_t digit = uint64_t(text[i] - '0');
        // Beyond highest is refused before it could overflow.
        if (digit > highest || number > (highest - digit) / 10)
            return false;
        number = number * 10 + digit;
    }
    *value = number;
    return true;
}

bool parseWholeNumber(const char* text, uint64_t highest, uint64_t* value) {
    return parseWholeNumber(text, std::strlen(text), highest, value);
}
