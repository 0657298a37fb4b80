// The arguments are read again from the wide command line, so a file name
// outside the ANSI code page reaches the program as it was typed.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/console.h"

void consoleUseUtf8(int* argc, char*** argv) {
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count != *argc) {
        if (wide != nullptr)
            LocalFree(wide);
        return;
    }
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.assign(size_t(count), std::string());
    for (int i = 0; i < count; ++i) {
        int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        texts[size_t(i)].resize(size_t(length > 0 ? length : 1));
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, texts[size_t(i)].data(), length, nullptr,
                            nullptr);
    }
    LocalFree(wide);
    pointers.clear();
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    *argv = pointers.data();
}
