// The entry point: picture, window, the file named on the command line, message loop.
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

// The tail the C runtime hands over is not used: it splits Japanese paths wrongly.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    DeclareDpiAware();
    if (ResetFrameImage() != 0) return 1;
    ViewerState.NameTable = nullptr;
    ViewerState.Step = 0;
    ViewerState.FrameCount = 0;

    if (!RegisterMainWindowClass(instance)) return 1;
    HWND window = CreateMainWindow(instance);
    if (!window) return 1;

    // Loaded before the window shows, so a load's error box comes first. A path that
    // does not fit leaves PathBuffer empty and the load reports it.
    const char* tail = CommandLineTail(GetCommandLineA());
    if (tail[0]) {
        TakeCommandLinePath(tail);
        LoadSequence();
    }

    ShowWindow(window, show);
    UpdateWindow(window);
    DragAcceptFiles(window, TRUE);
    AllowDropsWhenElevated(window);

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (got == -1) return 1;  // the queue itself failed: there is no quit code
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
