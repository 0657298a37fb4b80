// The dialogs from the program's templates (korvex.rc): About, the
// acquisition dialog, the modeless progress dialog; and the common file
// dialogs. Each dialog procedure sets its texts and hands every click to the
// program; none decides anything itself.
#include "app/transfer_command.h"
#include "platform/win32/text_win32.h"
#include "res/program_names.h"
#include "ui/frontend.h"

#include "frontend/win32/win32_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <cstring>

namespace {

// The common dialogs' buffer, in characters, and their own number for a name
// that does not fit the program's.
constexpr DWORD FILE_NAME_CHARACTERS = 256;
constexpr int FNERR_NAME_TOO_LONG = FNERR_BUFFERTOOSMALL;
constexpr int PROGRESS_RANGE = 100;

void setItemText(HWND dialog, int id, const char* text) {
    SetDlgItemTextW(dialog, id, wideText(text).c_str());
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowTextW(dialog, wideText(reinterpret_cast<const char*>(lParam)).c_str());
        setItemText(dialog, IDC_ABOUT_PRODUCT, ABOUT_PRODUCT);
        setItemText(dialog, IDC_ABOUT_VERSION, ABOUT_VERSION);
        HBITMAP picture = createPictureBitmap();
        SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(picture));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            HGDIOBJ picture = reinterpret_cast<HGDIOBJ>(
                SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
            EndDialog(dialog, LOWORD(wParam));
            if (picture != nullptr)
                DeleteObject(picture);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The whole wParam is the command, so only clicks (notification 0) match.
INT_PTR CALLBACK acquisitionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* content = reinterpret_cast<const AcquisitionDialogContent*>(lParam);
        SetWindowTextW(dialog, wideText(content->title).c_str());
        setItemText(dialog, IDC_SPAN_GROUP, content->groupLabel);
        for (int k = 0; k < ACQUISITION_SPANS; ++k) {
            setItemText(dialog, IDC_FIRST_SPAN + k, content->spanLabels[k]);
            EnableWindow(GetDlgItem(dialog, IDC_FIRST_SPAN + k), content->spanEnabled[k]);
        }
        CheckRadioButton(dialog, IDC_FIRST_SPAN, IDC_FIRST_SPAN + ACQUISITION_SPANS - 1,
                         IDC_FIRST_SPAN + content->checkedSpan);
        setItemText(dialog, IDC_INTERVAL_LABEL, content->intervalLabel);
        setItemText(dialog, IDC_INTERVAL, content->intervalText);
        setItemText(dialog, IDCANCEL, content->cancelLabel);
        setItemText(dialog, IDOK, content->okLabel);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        int result = 0;
        if (acquisitionDialogCommand(int(wParam), &result))
            EndDialog(dialog, result);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE, 0,
                            MAKELPARAM(0, PROGRESS_RANGE));
        return TRUE;
    case PBM_SETPOS:
    case PBM_SETSTEP:
    case PBM_STEPIT:
        SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, message, wParam, lParam);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDC_PROGRESS_ABORT)
            progressAbortClicked();
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int uiRunAboutDialog(const char* caption) {
    return int(DialogBoxParamW(win32Window.instance, MAKEINTRESOURCEW(IDD_ABOUT), win32Window.main,
                               aboutDialogProc, reinterpret_cast<LPARAM>(caption)));
}

int uiRunAcquisitionDialog(const AcquisitionDialogContent* content) {
    return int(DialogBoxParamW(win32Window.instance, MAKEINTRESOURCEW(IDD_ACQUISITION),
                               win32Window.main, acquisitionDialogProc,
                               reinterpret_cast<LPARAM>(content)));
}

void uiProgressCreate(const char* text, const char* abortLabel) {
    if (win32Window.progress != nullptr)
        return;
    win32Window.progress = CreateDialogParamW(win32Window.instance, MAKEINTRESOURCEW(IDD_PROGRESS),
                                              win32Window.main, progressDialogProc, 0);
    if (win32Window.progress == nullptr)
        return;
    setItemText(win32Window.progress, IDC_PROGRESS_TEXT, text);
    setItemText(win32Window.progress, IDC_PROGRESS_ABORT, abortLabel);
}

void uiProgressSetPosition(int position) {
    if (win32Window.progress != nullptr)
        SendMessageW(win32Window.progress, PBM_SETPOS, WPARAM(position), 0);
}

void uiProgressDestroy() {
    if (win32Window.progress != nullptr)
        DestroyWindow(win32Window.progress);
    win32Window.progress = nullptr;
}

bool uiRunFileDialog(const FileDialogSpec* spec, char* path, size_t size, int* dialogError) {
    *dialogError = 0;
    std::wstring filter =
        wideText(spec->filterName) + L'\0' + wideText(spec->filterPattern) + L'\0' + L'\0';
    std::wstring extension = wideText(spec->defaultExtension);
    wchar_t name[FILE_NAME_CHARACTERS] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = win32Window.main;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name;
    dialog.nMaxFile = FILE_NAME_CHARACTERS;
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = (spec->overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
                   (spec->createPrompt ? OFN_CREATEPROMPT : 0);
    bool chosen = spec->kind == FILE_DIALOG_SAVE ? GetSaveFileNameW(&dialog) != 0
                                                 : GetOpenFileNameW(&dialog) != 0;
    if (!chosen) {
        *dialogError = int(CommDlgExtendedError());
        return false;
    }
    const std::string chosenName = wideToUtf8(name);
    if (chosenName.empty() || chosenName.size() >= size) {
        *dialogError = FNERR_NAME_TOO_LONG;
        return false;
    }
    std::memcpy(path, chosenName.c_str(), chosenName.size() + 1);
    return true;
}
