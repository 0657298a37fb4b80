// Printing through a printer device context: the page setup dialog chooses
// the printer, paper and orientation every time, and the page is drawn by the
// same GDI canvas as the screen, the window's client area mapped onto the
// printable area. Names go to the wide calls, so a printer whose name lies
// outside the ANSI code page can be opened.
#include "base/error_codes.h"
#include "ui/printer.h"

#include "frontend/win32/win32_canvas.h"
#include "frontend/win32/win32_window.h"

#include <commdlg.h>

struct PrintJob {
    HDC dc;
    bool documentOpen;      // started and not yet ended: dropped on release
    bool glyphsScaleAcross; // with the horizontal factor too, on a portrait page
};

namespace {

// A refused step's own error, or the layer's number where the system gives
// none.
int refusal() {
    const DWORD error = GetLastError();
    return error != 0 ? int(error) : ERR_PRINT_REFUSED;
}

// The device context of the printer the dialog's blocks describe; null when
// it cannot be had. The name is used where it stands in the block, never
// copied into a buffer of a guessed size.
HDC createPrinterDc(HGLOBAL deviceNames, HGLOBAL deviceMode, int* error) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(deviceNames));
    if (names == nullptr) {
        *error = int(GetLastError());
        return nullptr;
    }
    const auto* device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    auto* mode = static_cast<DEVMODEW*>(GlobalLock(deviceMode));
    HDC dc = CreateDCW(nullptr, device, nullptr, mode);
    if (mode != nullptr)
        GlobalUnlock(deviceMode);
    GlobalUnlock(deviceNames);
    return dc;
}

// The page is laid out for landscape, so the dialog opens on the default
// printer's own blocks turned to landscape; the user may still choose
// otherwise. Blocks of one's own without the printer's names would be
// replaced by the printer's defaults. Without a printer the dialog opens with
// none and says so itself.
void presetLandscape(PAGESETUPDLGW* setup) {
    PAGESETUPDLGW defaults = *setup;
    defaults.Flags |= PSD_RETURNDEFAULT | PSD_NOWARNING;
    if (!PageSetupDlgW(&defaults))
        return;
    setup->hDevNames = defaults.hDevNames;
    setup->hDevMode = defaults.hDevMode;
    if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(setup->hDevMode))) {
        mode->dmOrientation = DMORIENT_LANDSCAPE;
        mode->dmFields |= DM_ORIENTATION;
        GlobalUnlock(setup->hDevMode);
    }
}

} // namespace

// The dialog may replace the device-names and device-mode blocks it is
// given, so what it hands back is what is freed: freeing the blocks handed
// in after the dialog would free them twice and leak the dialog's.
int getPrinterDC(PrintJob** job) {
    *job = nullptr;
    PAGESETUPDLGW setup{};
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = win32Window.main;
    setup.Flags = PSD_NONETWORKBUTTON;
    presetLandscape(&setup);
    int error = 0;
    HDC dc = nullptr;
    if (PageSetupDlgW(&setup))
        dc = createPrinterDc(setup.hDevNames, setup.hDevMode, &error);
    else
        error = int(CommDlgExtendedError());
    if (setup.hDevNames != nullptr)
        GlobalFree(setup.hDevNames);
    if (setup.hDevMode != nullptr)
        GlobalFree(setup.hDevMode);
    if (dc != nullptr)
        *job = new PrintJob{dc, false, false};
    return error;
}

void printerPageSize(const PrintJob* job, int* width, int* height) {
    *width = GetDeviceCaps(job->dc, HORZRES);
    *height = GetDeviceCaps(job->dc, VERTRES);
}

void printerSetMapping(PrintJob* job, int windowWidth, int windowHeight, int viewportWidth,
                       int viewportHeight) {
    SetMapMode(job->dc, MM_ANISOTROPIC);
    SetWindowExtEx(job->dc, windowWidth, windowHeight, nullptr);
    SetViewportExtEx(job->dc, viewportWidth, viewportHeight, nullptr);
    SetViewportOrgEx(job->dc, 0, 0, nullptr);
    // Font heights follow the vertical factor; where the horizontal one is
    // smaller (a portrait page) glyphs that wide would run off the paper, so
    // they are narrowed to it.
    job->glyphsScaleAcross =
        int64_t(viewportWidth) * windowHeight < int64_t(viewportHeight) * windowWidth;
}

void printerCanvasInit(PrintJob* job, Canvas* canvas) {
    win32PaperCanvasInit(canvas, job->dc, job->glyphsScaleAcross);
}

int printerStartDocument(PrintJob* job, const char* documentName) {
    const std::wstring name = wideText(documentName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    SetLastError(0);
    if (StartDocW(job->dc, &document) <= 0)
        return refusal();
    job->documentOpen = true;
    return 0;
}

int printerStartPage(PrintJob* job) {
    SetLastError(0);
    return StartPage(job->dc) > 0 ? 0 : refusal();
}

int printerEndPage(PrintJob* job) {
    SetLastError(0);
    return EndPage(job->dc) > 0 ? 0 : refusal();
}

int printerEndDocument(PrintJob* job) {
    SetLastError(0);
    if (EndDoc(job->dc) <= 0)
        return refusal();
    job->documentOpen = false;
    return 0;
}

void printerRelease(PrintJob* job) {
    if (job->documentOpen)
        AbortDoc(job->dc);
    DeleteDC(job->dc);
    delete job;
}
