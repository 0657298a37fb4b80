// The system's own words for an error number, in the user's language and in
// UTF-8, without the full stop and line end the system puts after them, so
// that they read as the POSIX ones do after a path and a colon.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/error_text.h"

void systemErrorText(int error, char* text, size_t size) {
    wchar_t* words = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(error), 0, reinterpret_cast<LPWSTR>(&words), 0, nullptr);
    std::wstring wide = length > 0 ? std::wstring(words, length) : std::wstring();
    if (words != nullptr)
        LocalFree(words);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' ||
                             wide.back() == L'.'))
        wide.pop_back();
    std::string utf8(wide.size() * 3 + 1, '\0');
    int written = wide.empty()
                      ? 0
                      : WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), utf8.data(),
                                            int(utf8.size()), nullptr, nullptr);
    if (written > 0)
        std::snprintf(text, size, "%.*s", written, utf8.c_str());
    else
        std::snprintf(text, size, "error %d", error);
}
