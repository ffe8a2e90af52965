// WM_PAINT: the frame image one to one at the top-left corner, then the status texts.
#include "ui/ui.h"

#include <commctrl.h>

#include "core/viewer_state.h"

static void SetStatusText(int part, const char* text) {
    SendMessageA((HWND)ViewerState.StatusBarWindow, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
}

void SetStepText() {
    ViewerStateData& v = ViewerState;
    wsprintfA(v.PatternBuffer, "Step: %s%d", v.Step > 0 ? "+" : "", (int)v.Step);
    SetStatusText(2, v.PatternBuffer);
}

void OnPaint(HWND window) {
    ViewerStateData& v = ViewerState;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (v.FrameImage.Pixels) {
        int w = FrameImageWidth(), h = FrameImageHeight();
        SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, v.FrameImage.Pixels,
                          (const BITMAPINFO*)&v.FrameImage.Header, DIB_RGB_COLORS);
    }
    SetStatusText(0, v.NamePart ? v.NamePart : "");
    wsprintfA(v.PatternBuffer, "Frame: %d/%d", (int)v.CurrentFrame, (int)v.FrameCount);
    SetStatusText(1, v.PatternBuffer);
    SetStepText();
    EndPaint(window, &ps);
}
