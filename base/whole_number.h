// Whole numbers as people type them: on command lines and in the set-time
// dialog's edits. One reading for all of them: decimal digits and nothing
// else, leading zeros allowed, no sign and no blanks, judged by the whole
// value (a month of 257 is 257, not a byte's 1).
#pragma once
#include <cstddef>
#include <cstdint>

// The length bytes from text. True with *value when they are digits only, at
// least one, and their value is at most highest; false otherwise, without
// overflow however many digits there are.
bool parseWholeNumber(const char* text, size_t length, uint64_t highest, uint64_t* value);
// The same for a NUL-terminated text.
bool parseWholeNumber(const char* text, uint64_t highest, uint64_t* value);
