// The main window: its class, creation with the status bar, layout, and the window
// procedure, which only hands each message to its handler.
#include "ui/ui.h"

#include <commctrl.h>
#include <imm.h>

#include "core/viewer_state.h"

const char MAIN_CLASS_NAME[] = "Lumaroll";
const char MAIN_WINDOW_TITLE[] = "Quillon Sorrelmark";

static HWND StatusBar() { return (HWND)ViewerState.StatusBarWindow; }

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszMenuName = "MAINMENU";
    wc.lpszClassName = MAIN_CLASS_NAME;
    return RegisterClassA(&wc);
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, FrameImageWidth(), FrameImageHeight(),
                           NULL, NULL, instance, NULL);
}

void FitWindowToImage(HWND window) {
    RECT bar = {};
    GetWindowRect(StatusBar(), &bar);
    int height = FrameImageHeight() + (bar.bottom - bar.top);  // the picture above the bar
    RECT r;
    SetRect(&r, 0, 0, FrameImageWidth(), height);
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, TRUE);
    int outerHeight = r.bottom - r.top;
    SetWindowPos(window, NULL, 0, 0, r.right - r.left, outerHeight, SWP_NOMOVE | SWP_NOZORDER);
    // AdjustWindowRect allows for one row of menu; on a scaled display the menu of a narrow
    // window wraps onto a second row, which would cover the bottom of the picture.
    RECT client;
    GetClientRect(window, &client);
    if (client.bottom < height)
        SetWindowPos(window, NULL, 0, 0, r.right - r.left, outerHeight + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER);
}

void Repaint(HWND window) {
    InvalidateRect(window, NULL, FALSE);
    UpdateWindow(window);
}

// Without its status bar the window could not show the texts: creation fails instead.
static LRESULT OnCreate(HWND window, const CREATESTRUCTA* create) {
    HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, "hoge",
                                   window, STATUS_BAR_ID);
    if (!bar) return -1;
    ViewerState.StatusBarWindow = bar;
    // The window takes no text: without an input context the keys arrive as themselves
    // (not as VK_PROCESSKEY) while a Japanese input method is on.
    ImmAssociateContext(window, NULL);
    FitWindowToImage(window);
    ViewerState.MenuHandle = GetMenu(window);
    ViewerState.InstanceHandle = create->hInstance;
    return 0;
}

// The status bar moves itself to the new bottom edge when it sees the same WM_SIZE;
// the frame and step parts keep 100 pixels each at the right, scaled as the status bar's
// font is on a scaled display (150 at 144 dots per inch).
static void OnSize(WPARAM wParam, LPARAM lParam) {
    SendMessageA(StatusBar(), WM_SIZE, wParam, lParam);
    RECT bar = {};
    GetWindowRect(StatusBar(), &bar);
    HDC dc = GetDC(StatusBar());
    int part = MulDiv(100, GetDeviceCaps(dc, LOGPIXELSX), 96);
    ReleaseDC(StatusBar(), dc);
    int w = bar.right - bar.left;
    int edges[3] = {w - 2 * part, w - part, -1};
    SendMessageA(StatusBar(), SB_SETPARTS, 3, (LPARAM)edges);
}

// The timer goes with the window; the timer resolution it held is given back.
static void OnDestroy(HWND window) {
    StopPlayback(window);
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, (const CREATESTRUCTA*)lParam);
    case WM_SIZE:
        OnSize(wParam, lParam);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(window, (HDROP)wParam);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
