// The set-time dialog from its template: six edits, each with an up-down
// control that keeps to its range, and three buttons whose clicks hand the
// six texts as typed to the program, which judges them.
#include "app/set_time_command.h"
#include "platform/win32/text_win32.h"
#include "ui/frontend.h"

#include "frontend/win32/win32_window.h"

#include <commctrl.h>
#include <string>

namespace {

static_assert(IDC_SET_START == SET_TIME_START && IDC_SET_END == SET_TIME_END &&
              IDCANCEL == SET_TIME_CANCEL);

// Each field's edit, then its up-down control.
int editOf(int field) {
    return IDC_FIRST_TIME_FIELD + 2 * field;
}

void setItemText(HWND dialog, int id, const char* text) {
    SetDlgItemTextW(dialog, id, wideText(text).c_str());
}

// The whole entry, however long: a text cut to a buffer could read as a
// valid number that the user never typed.
std::string entryText(HWND dialog, int id) {
    HWND edit = GetDlgItem(dialog, id);
    std::wstring wide(size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    wide.resize(size_t(GetWindowTextW(edit, wide.data(), int(wide.size()))));
    return wideToUtf8(wide.c_str());
}

void initialise(HWND dialog, const SetTimeDialogContent* content) {
    SetWindowTextW(dialog, wideText(content->title).c_str());
    setItemText(dialog, IDC_DATE_LABEL, content->dateLabel);
    setItemText(dialog, IDC_TIME_LABEL, content->timeLabel);
    setItemText(dialog, IDC_SET_START, content->startLabel);
    setItemText(dialog, IDC_SET_END, content->endLabel);
    setItemText(dialog, IDCANCEL, content->cancelLabel);
    // The range's upper limit goes in the low word, the lower in the high.
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        HWND spinner = GetDlgItem(dialog, editOf(field) + 1);
        SendMessageW(spinner, UDM_SETRANGE, 0,
                     MAKELPARAM(content->highest[field], content->lowest[field]));
        SendMessageW(spinner, UDM_SETPOS, 0, MAKELPARAM(content->position[field], 0));
    }
}

INT_PTR CALLBACK setTimeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        win32Window.modalDialog = dialog;
        initialise(dialog, reinterpret_cast<const SetTimeDialogContent*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    // Only the buttons' clicks, Enter and Escape: edits and spinners notify
    // under their own ids.
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED ||
        (id != IDC_SET_START && id != IDC_SET_END && id != IDCANCEL))
        return TRUE;
    std::string texts[SET_TIME_FIELDS];
    const char* entries[SET_TIME_FIELDS];
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        texts[field] = entryText(dialog, editOf(field));
        entries[field] = texts[field].c_str();
    }
    int result = 0;
    if (setTimeDialogCommand(id, entries, &result))
        EndDialog(dialog, result);
    return TRUE;
}

} // namespace

int uiRunSetTimeDialog(const SetTimeDialogContent* content) {
    const INT_PTR result =
        DialogBoxParamW(win32Window.instance, MAKEINTRESOURCEW(IDD_SET_TIME), win32Window.main,
                        setTimeDialogProc, reinterpret_cast<LPARAM>(content));
    win32Window.modalDialog = nullptr;
    return int(result);
}
