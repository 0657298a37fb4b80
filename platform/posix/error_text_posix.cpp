#include <cstdio>
#include <cstring>

#include "platform/error_text.h"

namespace {

// The C library offers strerror_r in two shapes: the XSI one fills the buffer
// and returns 0, the GNU one returns the words, which may lie elsewhere.
[[maybe_unused]] const char* wordsOf(int result, const char* buffer) {
    return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* wordsOf(const char* result, const char*) {
    return result;
}

} // namespace

void systemErrorText(int error, char* text, size_t size) {
    char buffer[256] = {};
    const char* words = wordsOf(strerror_r(error, buffer, sizeof buffer), buffer);
    if (words != nullptr)
        std::snprintf(text, size, "%s", words);
    else
        std::snprintf(text, size, "error %d", error);
}
