// The arguments are read again from the wide command line, so a file name
// outside the ANSI code page reaches the program as it was typed.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/win32/text_win32.h"

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
    for (int i = 0; i < count; ++i)
        texts[size_t(i)] = wideToUtf8(wide[i]);
    LocalFree(wide);
    pointers.clear();
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    *argv = pointers.data();
}
