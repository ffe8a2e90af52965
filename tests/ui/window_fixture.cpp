#include "tests/ui/window_fixture.h"

#include <commctrl.h>
#include <stdio.h>

#include <vector>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "res/resource.h"
#include "tests/unit/test_support.h"

static HWND SharedWindow;

void MainWindowTest::SetUp() {
    FreshViewerState(1);
    HINSTANCE instance = GetModuleHandleA(NULL);
    static ATOM registered = RegisterMainWindowClass(instance);
    ASSERT_NE(registered, 0);
    if (SharedWindow && IsWindow(SharedWindow)) {
        // A fresh state forgets the handles that creation stored.
        KillTimer(SharedWindow, PLAYBACK_TIMER_ID);
        ViewerState.StatusBarWindow = GetDlgItem(SharedWindow, STATUS_BAR_ID);
        ViewerState.MenuHandle = GetMenu(SharedWindow);
        ViewerState.InstanceHandle = instance;
        FitWindowToImage(SharedWindow);
        ShowWindow(SharedWindow, SW_SHOWNORMAL);
        // The check mark goes back to half size, where a fresh viewer state starts.
        for (UINT id = IDM_SIZE_FULL; id <= IDM_SIZE_QUARTER; ++id)
            CheckMenuItem(GetMenu(SharedWindow), id,
                          MF_BYCOMMAND | (id == IDM_SIZE_HALF ? MF_CHECKED : 0));
    } else {
        SharedWindow = CreateMainWindow(instance);
        ASSERT_NE(SharedWindow, nullptr);
        ShowWindow(SharedWindow, SW_SHOWNORMAL);
    }
    window = SharedWindow;
    Repaint(window);
}

void MainWindowTest::TearDown() {
    // The destroy handler posts a quit message; it must not reach the next test.
    TakeQuitMessage();
}

void MainWindowTest::TearDownTestSuite() {
    if (SharedWindow && IsWindow(SharedWindow)) DestroyWindow(SharedWindow);
    SharedWindow = nullptr;
    TakeQuitMessage();
}

std::string MakeYuv10Sequence(int count, size_t bytes) {
    std::string dir = MakeScratchDir();
    std::vector<uint8_t> data(bytes, 0x40);
    for (int n = 0; n < count; ++n) WriteBytes(FramePath(dir, n), data);
    return dir;
}

std::string FramePath(const std::string& dir, int n) {
    char name[32];
    snprintf(name, sizeof name, "clip_%04d.yuv10", n);
    return JoinPath(dir, name);
}

void LoadFrame(const std::string& path) {
    SetPath(path);
    LoadSequence();
}

void ExpectClientFitsPicture(HWND window) {
    RECT client, bar;
    GetClientRect(window, &client);
    GetWindowRect((HWND)ViewerState.StatusBarWindow, &bar);
    EXPECT_EQ(client.right, FrameImageWidth());
    EXPECT_EQ(client.bottom, FrameImageHeight() + (bar.bottom - bar.top));
    POINT top = {bar.left, bar.top};
    ScreenToClient(window, &top);
    EXPECT_EQ(top.x, 0);
    EXPECT_EQ(top.y, FrameImageHeight());
}

std::vector<uint8_t> PictureBytes() {
    const uint8_t* p = ViewerState.FrameImage.Pixels;
    return std::vector<uint8_t>(p, p + (size_t)FrameImageWidth() * FrameImageHeight() * 4);
}

void PressKey(HWND window, WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 1); }

void Tick(HWND window) { SendMessageA(window, WM_TIMER, PLAYBACK_TIMER_ID, 0); }

std::string StatusText(int part) {
    HWND bar = (HWND)ViewerState.StatusBarWindow;
    char text[512] = {};
    LRESULT r = SendMessageA(bar, SB_GETTEXTLENGTHA, (WPARAM)part, 0);
    if (LOWORD(r) >= sizeof text) return "<too long>";
    SendMessageA(bar, SB_GETTEXTA, (WPARAM)part, (LPARAM)text);
    return text;
}

bool PlaybackTimerIsSet(HWND window) {
    if (!KillTimer(window, PLAYBACK_TIMER_ID)) return false;
    SetTimer(window, PLAYBACK_TIMER_ID, PLAYBACK_PERIOD_MS, NULL);
    return true;
}

int TakeQuitMessage() {
    MSG msg;
    return PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) ? (int)msg.wParam : -1;
}
