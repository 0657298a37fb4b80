// A system error number in the system's own words, for the command-line
// tools, which name the reason after the program's message.
#pragma once
#include <cstddef>

// Writes the words for error into text (at most size bytes, terminated).
void systemErrorText(int error, char* text, size_t size);
