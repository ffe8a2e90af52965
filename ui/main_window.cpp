// The main window: its class, creation with the status bar, layout, and the window
// procedure, which only hands each message to its handler.
#include "ui/ui.h"

#include <commctrl.h>
#include <imm.h>

#include <string.h>

#include <algorithm>

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

// Clipped to its children: the picture is never drawn over the status bar, which lies over
// the picture's last rows in a window too small for it (it would flicker at every frame).
HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_WINDOW_TITLE,
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                           FrameImageWidth(), FrameImageHeight(), NULL, NULL, instance, NULL);
}

// A window that reaches past the work area of its monitor is moved back into it, and cut to
// it where it is bigger (full size on a 1080-line screen, where Windows would leave the
// status bar below the screen's edge): the bar and its texts stay visible, and the rows of
// the picture that do not fit lie under the bar. A window that fits stays where it is.
static void KeepInWorkArea(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT r;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(window, &r))
        return;
    const RECT& work = monitor.rcWork;
    int width = std::min(r.right - r.left, work.right - work.left);
    int height = std::min(r.bottom - r.top, work.bottom - work.top);
    int x = std::clamp((int)r.left, (int)work.left, (int)work.right - width);
    int y = std::clamp((int)r.top, (int)work.top, (int)work.bottom - height);
    if (x != r.left || y != r.top || width != r.right - r.left || height != r.bottom - r.top)
        SetWindowPos(window, NULL, x, y, width, height, SWP_NOZORDER);
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
    KeepInWorkArea(window);
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

// The width a part needs for text in the bar's font: its sunken edges, the space the bar
// leaves before the text and between parts, and a pixel to spare.
static int PartWidth(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    return size.cx + 4 * GetSystemMetrics(SM_CXEDGE);
}

// The status bar moves itself to the new bottom edge when it sees the same WM_SIZE. The
// frame and step parts are 100 pixels each at the right, scaled as the bar's font is on a
// scaled display (250 at 240 dots per inch). Where the bar cannot hold that and a few
// characters of the name (quarter size at 240 dots per inch), they give up what their widest
// texts do not need; those texts always fit, the last with the size grip beside it.
static void OnSize(WPARAM wParam, LPARAM lParam) {
    HWND bar = StatusBar();
    SendMessageA(bar, WM_SIZE, wParam, lParam);
    RECT r = {};
    GetWindowRect(bar, &r);
    HDC dc = GetDC(bar);
    HGDIOBJ font = SelectObject(dc, (HGDIOBJ)SendMessageA(bar, WM_GETFONT, 0, 0));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int scaled = MulDiv(100, GetDeviceCaps(dc, LOGPIXELSX), 96);
    int frameNeeds = PartWidth(dc, "Frame: 998/1000");
    int stepNeeds = PartWidth(dc, "Step: +10") + GetSystemMetrics(SM_CXVSCROLL);
    SelectObject(dc, font);
    ReleaseDC(bar, dc);
    int w = r.right - r.left;
    int spare = w - 4 * metrics.tmAveCharWidth - frameNeeds - stepNeeds;
    if (spare < 0) spare = 0;
    int frame = frameNeeds + std::clamp(scaled - frameNeeds, 0, spare / 2);
    int step = stepNeeds + std::clamp(scaled - stepNeeds, 0, spare - (frame - frameNeeds));
    int edges[3] = {std::max(w - frame - step, 0), std::max(w - step, 0), -1};
    SendMessageA(bar, SB_SETPARTS, 3, (LPARAM)edges);
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
