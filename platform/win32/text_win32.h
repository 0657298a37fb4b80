// The program's texts and paths are UTF-8; the system speaks UTF-16 in its
// wide calls and the ANSI code page in its narrow ones.
#pragma once
#include <string>

// False, with an empty result, for text that is not valid UTF-8.
bool utf8ToWide(const char* text, std::wstring* wide);
// The system's wide text as UTF-8.
std::string wideToUtf8(const wchar_t* wide);
// Text as the narrow calls return it, in the ANSI code page, as UTF-8.
std::string ansiToUtf8(const char* text);
