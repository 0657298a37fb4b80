// Start-up and the main window: the command line, the class "Korvex" with
// the window colour, the fixed-size window centred on the screen, and the
// window procedure that turns window messages into the program's handlers.
#include "app/data_file_commands.h"
#include "app/desktop_start.h"
#include "app/main_window.h"
#include "platform/file.h"
#include "res/program_names.h"
#include "res/resource_ids.h"
#include "view/chart_drawing.h"
#include "view/navigation.h"
#include "view/window_layout.h"

#include "frontend/win32/win32_canvas.h"
#include "frontend/win32/win32_command_line.h"
#include "frontend/win32/win32_readout.h"
#include "frontend/win32/win32_window.h"

#include <commctrl.h>

Win32Window win32Window;

namespace {

constexpr int SPAN_SELECTOR_X = 10;
constexpr int SPAN_SELECTOR_Y = 330;
constexpr int SPAN_SELECTOR_WIDTH = 100;
constexpr int SPAN_SELECTOR_HEIGHT = 270; // with its dropped list
constexpr int SCROLL_BAR_X = 150;
constexpr int SCROLL_BAR_Y = 555;
constexpr int SCROLL_BAR_WIDTH = 600;
constexpr int SCROLL_BAR_AREA_HEIGHT = 20;
// The window's outer size before its frame and caption are added.
constexpr int OUTER_WIDTH = 800;
constexpr int OUTER_HEIGHT = 600;

void createControls(HWND window) {
    win32Window.spanSelector = CreateWindowExW(
        0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, SPAN_SELECTOR_X,
        SPAN_SELECTOR_Y, SPAN_SELECTOR_WIDTH, SPAN_SELECTOR_HEIGHT, window,
        reinterpret_cast<HMENU>(INT_PTR(IDC_SPAN_COMBO)), win32Window.instance, nullptr);
    win32Window.scrollBar = CreateWindowExW(
        0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ | SBS_TOPALIGN, SCROLL_BAR_X,
        SCROLL_BAR_Y, SCROLL_BAR_WIDTH, SCROLL_BAR_AREA_HEIGHT, window,
        reinterpret_cast<HMENU>(INT_PTR(IDC_SCROLLBAR)), win32Window.instance, nullptr);
}

void paint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window, &paintStruct);
    Canvas canvas;
    win32CanvasInit(&canvas, dc);
    paintCharts(&canvas);
    EndPaint(window, &paintStruct);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        win32Window.main = window;
        createControls(window);
        readoutCreate(window);
        return mainWindowCreate() == 0 ? 0 : -1;
    case WM_COMMAND:
        if (mainWindowCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_TIMER:
        mainWindowTimer(int(wParam));
        break;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_HSCROLL:
        onChartScroll(LOWORD(wParam));
        return 0;
    // The mouse is never captured: moves and the release outside the client
    // area do not arrive, and a drag released there runs on until the next
    // release inside.
    case WM_LBUTTONDOWN:
        onCursorButtonDown(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOUSEMOVE:
        onCursorMove(LOWORD(lParam));
        readoutMouseMove(window, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOUSEHOVER:
        readoutMouseHover(window, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOUSELEAVE:
        readoutMouseLeave();
        break;
    case WM_LBUTTONUP:
        onCursorButtonUp();
        break;
    case WM_CLOSE:
        mainWindowClose();
        return 0;
    case WM_DESTROY:
        mainWindowDestroy();
        win32CanvasRelease();
        win32Window.main = nullptr;
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerMainClass(HINSTANCE instance, const std::wstring& className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = CreateSolidBrush(WINDOW_COLOUR);
    windowClass.lpszClassName = className.c_str();
    return RegisterClassExW(&windowClass) != 0;
}

void centre(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Room for the frame on both sides but one frame height and no menu bar in
// the height: with the classic frame and menu bar the client area is 800 by
// 577. Where the system draws them otherwise (Wine's menu bar is a pixel
// lower, newer Windows pads the frame) the window is then resized by the
// difference, so that the charts always get the client area they are laid
// out for.
HWND createMainWindow(HINSTANCE instance, const std::wstring& className) {
    win32Window.instance = instance;
    int width = OUTER_WIDTH + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int height = OUTER_HEIGHT + GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION);
    HWND window = CreateWindowExW(0, className.c_str(), wideText(APP_TITLE).c_str(),
                                  WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    RECT client;
    GetClientRect(window, &client);
    centre(window, width + CLIENT_WIDTH - client.right, height + CLIENT_HEIGHT - client.bottom);
    return window;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Win32CommandLine line;
    const int code = readWin32CommandLine(&line);
    if (code >= 0)
        return code;
    char absoluteName[FILE_PATH_SIZE];
    if (line.desktop &&
        settleForTheDesktop("Korvex", line.dataFile.c_str(), absoluteName, sizeof absoluteName))
        line.dataFile = absoluteName;
    InitCommonControls();
    std::wstring className = wideText(APP_CLASS_NAME);
    registerMainClass(instance, className);
    if (createMainWindow(instance, className) == nullptr)
        return 0;
    mainWindowCreateEvents();
    ShowWindow(win32Window.main, showCommand);
    // Before the first paint, so that the window first shows the file's data;
    // a refusal's message box comes up over the shown window.
    if (!line.dataFile.empty())
        openNamedDataFileCommand(line.dataFile.c_str());
    UpdateWindow(win32Window.main);
    // No dialog-message routing for the progress dialog, which has no
    // keyboard navigation, and no accelerators: only the menus' mnemonics
    // work. The Analysis window, which came later, takes its own keys.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (win32AnalysisDialogMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
