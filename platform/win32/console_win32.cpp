// The arguments are read again from the wide command line, so a file name
// outside the ANSI code page reaches the program as it was typed.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/win32/text_win32.h"

void consoleUseUtf8(int* argc, char*** argv) {
    SetConsoleOutputCP(CP_UTF8);
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts = commandLineArguments();
    if (int(texts.size()) != *argc)
        return;
    pointers.clear();
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    *argv = pointers.data();
}
