#include "platform/win32/text_win32.h"

#include <windows.h>

bool utf8ToWide(const char* text, std::wstring* wide) {
    wide->clear();
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0)
        return false;
    wide->resize(size_t(length));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide->data(), length);
    wide->resize(size_t(length - 1)); // without the terminator the count included
    return true;
}

std::string wideToUtf8(const wchar_t* wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string utf8(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(size_t(length - 1));
    return utf8;
}

std::string ansiToUtf8(const char* text) {
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wideLength <= 0)
        return std::string();
    std::wstring wide(size_t(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
    return wideToUtf8(wide.c_str());
}
