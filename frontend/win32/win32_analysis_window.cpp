// The Analysis window from its template (korvex.rc): a modeless dialog owned
// by the main window, filled by the program's texts. Only the user's own
// changes go to app/analysis_window.h: what the program puts in the controls
// is set while `filling`, and the notifications it causes are dropped. The
// clipboard and the shell's opening of a written file are here too.
#include "app/analysis_window.h"
#include "app/main_window.h"
#include "platform/win32/text_win32.h"
#include "res/resource_ids.h"
#include "ui/frontend.h"

#include "frontend/win32/win32_window.h"

#include <shellapi.h>

#include <cstring>
#include <string>

namespace {

bool filling;
std::string clipboardText;

void setItemText(HWND dialog, int id, const char* text) {
    SetDlgItemTextW(dialog, id, wideText(text).c_str());
}

std::string itemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::wstring text(size_t(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(item, text.data(), int(text.size()))));
    // Blanks around what was typed mean nothing.
    std::string typed = wideToUtf8(text.c_str());
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    return typed;
}

// An edit control breaks lines at CR LF only.
std::wstring withCarriageReturns(const char* text) {
    std::string lines;
    for (const char* at = text; *at != '\0'; ++at) {
        if (*at == '\n')
            lines += '\r';
        lines += *at;
    }
    return wideText(lines.c_str());
}

void chooseSelectedRow(HWND dialog) {
    const LRESULT row = SendDlgItemMessageW(dialog, IDC_ANALYSIS_LIST, LB_GETCURSEL, 0, 0);
    if (row != LB_ERR)
        analysisRowChosen(int(row));
}

void analysisCommand(HWND dialog, int id, int notification) {
    if (id >= IDC_ANALYSIS_FIRST_SCOPE && id < IDC_ANALYSIS_FIRST_SCOPE + ANALYSIS_SCOPES &&
        notification == BN_CLICKED)
        analysisScopeChosen(id - IDC_ANALYSIS_FIRST_SCOPE);
    else if (id == IDC_ANALYSIS_DEMAND && notification == CBN_SELCHANGE)
        analysisDemandChosen(
            int(SendDlgItemMessageW(dialog, IDC_ANALYSIS_DEMAND, CB_GETCURSEL, 0, 0)));
    else if (id == IDC_ANALYSIS_THRESHOLDS && notification == EN_CHANGE)
        analysisThresholdsEdited(itemText(dialog, id).c_str());
    else if (id == IDC_ANALYSIS_RATED && notification == EN_CHANGE)
        analysisRatedEdited(itemText(dialog, id).c_str());
    else if (id == IDC_ANALYSIS_LIST && notification == LBN_DBLCLK)
        chooseSelectedRow(dialog);
    // Enter: the dialog manager's IDOK, taken as a choice where the list has
    // the focus.
    else if (id == IDOK && GetFocus() == GetDlgItem(dialog, IDC_ANALYSIS_LIST))
        chooseSelectedRow(dialog);
    else if (id == IDC_ANALYSIS_COPY && notification == BN_CLICKED)
        analysisCopy();
    else if (id == IDC_ANALYSIS_REPORT && notification == BN_CLICKED)
        mainWindowCommand(IDM_ANALYSIS_REPORT, 0);
    else if (id == IDCANCEL) {
        ShowWindow(dialog, SW_HIDE);
        analysisWindowClosed();
    }
}

INT_PTR CALLBACK analysisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (!filling)
            analysisCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        ShowWindow(dialog, SW_HIDE);
        analysisWindowClosed();
        return TRUE;
    case WM_DESTROY: // with the main window that owns it
        win32Window.analysis = nullptr;
        analysisWindowClosed();
        return FALSE;
    default:
        return FALSE;
    }
}

// Right of the main window, where it hides none of the charts, as far as
// the screen allows.
void placeBesideMainWindow(HWND dialog) {
    RECT main, own;
    GetWindowRect(win32Window.main, &main);
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left;
    int x = main.right;
    if (x + width > GetSystemMetrics(SM_CXSCREEN))
        x = GetSystemMetrics(SM_CXSCREEN) - width;
    SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, main.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void uiAnalysisShow(const AnalysisWindowTexts* texts, bool toFront) {
    HWND& dialog = win32Window.analysis;
    const bool first = dialog == nullptr;
    if (first) {
        dialog = CreateDialogParamW(win32Window.instance, MAKEINTRESOURCEW(IDD_ANALYSIS),
                                    win32Window.main, analysisDialogProc, 0);
        if (dialog == nullptr)
            return;
        placeBesideMainWindow(dialog);
    }
    filling = true;
    SetWindowTextW(dialog, wideText(texts->caption).c_str());
    setItemText(dialog, IDC_ANALYSIS_SCOPE_LABEL, texts->scopeLabel);
    for (int k = 0; k < ANALYSIS_SCOPES; ++k)
        setItemText(dialog, IDC_ANALYSIS_FIRST_SCOPE + k, texts->scopes[k]);
    setItemText(dialog, IDC_ANALYSIS_DEMAND_LABEL, texts->demandLabel);
    const HWND demand = GetDlgItem(dialog, IDC_ANALYSIS_DEMAND);
    const LRESULT chosen = SendMessageW(demand, CB_GETCURSEL, 0, 0);
    SendMessageW(demand, CB_RESETCONTENT, 0, 0);
    for (const char* choice : texts->demandChoices)
        SendMessageW(demand, CB_ADDSTRING, 0, LPARAM(wideText(choice).c_str()));
    SendMessageW(demand, CB_SETCURSEL, WPARAM(chosen), 0);
    setItemText(dialog, IDC_ANALYSIS_THRESHOLDS_LABEL, texts->thresholdsLabel);
    setItemText(dialog, IDC_ANALYSIS_RATED_LABEL, texts->ratedLabel);
    setItemText(dialog, IDC_ANALYSIS_LIST_LABEL, texts->listLabel);
    setItemText(dialog, IDC_ANALYSIS_COPY, texts->copyLabel);
    setItemText(dialog, IDC_ANALYSIS_REPORT, texts->reportLabel);
    setItemText(dialog, IDCANCEL, texts->closeLabel);
    filling = false;
    if (!toFront)
        return;
    ShowWindow(dialog, SW_SHOWNORMAL);
    SetForegroundWindow(dialog);
    // The list has the keyboard: Enter goes to the peak, the first row.
    SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(GetDlgItem(dialog, IDC_ANALYSIS_LIST)), TRUE);
}

void uiAnalysisSetSettings(int scope, int demandChoice, const char* thresholds,
                           const char* ratedKw) {
    const HWND dialog = win32Window.analysis;
    if (dialog == nullptr)
        return;
    filling = true;
    CheckRadioButton(dialog, IDC_ANALYSIS_FIRST_SCOPE,
                     IDC_ANALYSIS_FIRST_SCOPE + ANALYSIS_SCOPES - 1,
                     IDC_ANALYSIS_FIRST_SCOPE + scope);
    SendDlgItemMessageW(dialog, IDC_ANALYSIS_DEMAND, CB_SETCURSEL, WPARAM(demandChoice), 0);
    setItemText(dialog, IDC_ANALYSIS_THRESHOLDS, thresholds);
    setItemText(dialog, IDC_ANALYSIS_RATED, ratedKw);
    filling = false;
}

void uiAnalysisSetFigures(const char* text) {
    if (win32Window.analysis != nullptr)
        SetDlgItemTextW(win32Window.analysis, IDC_ANALYSIS_FIGURES,
                        withCarriageReturns(text).c_str());
}

void uiAnalysisSetList(const char* const* rows, int count) {
    if (win32Window.analysis == nullptr)
        return;
    const HWND list = GetDlgItem(win32Window.analysis, IDC_ANALYSIS_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int k = 0; k < count; ++k)
        SendMessageW(list, LB_ADDSTRING, 0, LPARAM(wideText(rows[k]).c_str()));
    SendMessageW(list, LB_SETCURSEL, count > 0 ? 0 : WPARAM(-1), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool win32AnalysisDialogMessage(MSG* message) {
    return win32Window.analysis != nullptr && IsDialogMessageW(win32Window.analysis, message);
}

void uiClipboardAppend(const char* text, size_t length) {
    clipboardText.append(text, length);
}

void uiClipboardCommit() {
    const std::wstring text = withCarriageReturns(clipboardText.c_str());
    clipboardText.clear();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        return;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(win32Window.main)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
        GlobalFree(memory);
    CloseClipboard();
}

int uiOpenDocument(const char* path) {
    std::wstring name;
    if (!utf8ToWide(path, &name))
        return ERROR_INVALID_NAME;
    // ShellExecute's result above 32 is success; below it, an error number.
    const INT_PTR result = INT_PTR(
        ShellExecuteW(win32Window.main, L"open", name.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? 0 : int(result);
}
