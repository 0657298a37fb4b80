// The program's texts and paths are UTF-8 (names as WTF-8, which also
// carries a lone surrogate); the system speaks UTF-16 in its wide calls and
// the ANSI code page in its narrow ones.
#pragma once
#include <string>
#include <vector>

// False, with an empty result, for text that is not WTF-8.
bool utf8ToWide(const char* text, std::wstring* wide);
// The system's wide text as WTF-8: utf8ToWide gives back exactly these units.
std::string wideToUtf8(const wchar_t* wide);
// Text as the narrow calls return it, in the ANSI code page, as UTF-8.
std::string ansiToUtf8(const char* text);
// The process's arguments as the wide command line gives them, so that a
// file name outside the ANSI code page arrives as it was typed.
std::vector<std::string> commandLineArguments();
