// The native main window and its children, which the front-end functions act
// on. Include it after the program's own headers: the system's headers define
// as macros some names (MB_ICONHAND, TA_LEFT, SIF_POS) that those headers
// declare as constants of the same value.
#pragma once
#include <windows.h>

#include "frontend/win32/win32_resource_ids.h"

#include <string>

struct Win32Window {
    HINSTANCE instance;
    HWND main; // known from WM_CREATE on, before window creation returns
    HWND spanSelector;
    HWND scrollBar;
    HWND progress;    // the modeless progress dialog, null while none is shown
    HWND modalDialog; // the set-time dialog while it runs, which owns its messages
    HWND analysis;    // the modeless Analysis window once it was first shown
};
extern Win32Window win32Window;

// Keys for the Analysis window (Tab, Enter, Escape): true when it took the
// message, which the loop then does not dispatch.
bool win32AnalysisDialogMessage(MSG* message);

// The program's UTF-8 for the system's wide calls.
std::wstring wideText(const char* utf8);
// The program's picture as a bitmap for the About box; the caller deletes it.
HBITMAP createPictureBitmap();
