// The main window: its size around the picture, the status bar layout and texts, the
// picture on screen, and how it ends.
#include "tests/ui/window_fixture.h"

#include <commctrl.h>

#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tools/frame_pattern.h"

namespace {

COLORREF ScreenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

COLORREF ImagePixel(int x, int topRow) {
    const uint8_t* p = PixelAt(x, topRow);
    return RGB(p[2], p[1], p[0]);
}

TEST_F(MainWindowTest, StartsBlackAndEmptyAndKeysDoNothingUntilALoad) {
    EXPECT_EQ(FrameImageWidth(), 960);
    ExpectClientFitsPicture(window);
    EXPECT_EQ(StatusText(0), "");
    EXPECT_EQ(StatusText(1), "Frame: 0/0");
    EXPECT_EQ(ScreenPixel(window, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(window, 959, 539), RGB(0, 0, 0));
    for (int key : {VK_RIGHT, VK_LEFT, VK_SPACE}) {
        PressKey(window, key);
        EXPECT_EQ(ViewerState.Step, 0);
        EXPECT_EQ(StatusText(2), "Step: 0");
        EXPECT_FALSE(PlaybackTimerIsSet(window));
    }
}

TEST_F(MainWindowTest, StatusPartsKeepTheirWidthsAtTheRightAfterAResize) {
    for (int width : {1400, 700, 960}) {
        SetWindowPos(window, NULL, 0, 0, width, 800, SWP_NOMOVE | SWP_NOZORDER);
        RECT client, bar;
        GetClientRect(window, &client);
        GetWindowRect((HWND)ViewerState.StatusBarWindow, &bar);
        int w = bar.right - bar.left;
        EXPECT_EQ(w, client.right);
        int edges[3] = {};
        ASSERT_EQ(SendMessageA((HWND)ViewerState.StatusBarWindow, SB_GETPARTS, 3, (LPARAM)edges), 3);
        EXPECT_EQ(edges[0], w - 200) << width;
        EXPECT_EQ(edges[1], w - 100) << width;
        EXPECT_EQ(edges[2], -1) << width;
        // Still at the bottom edge.
        POINT bottom = {bar.left, bar.bottom};
        ScreenToClient(window, &bottom);
        EXPECT_EQ(bottom.y, client.bottom) << width;
    }
}

TEST_F(MainWindowTest, PaintsTheFrameOneToOneAtTheTopLeftAndGreyAround) {
    std::string dir = MakeScratchDir();
    std::vector<uint8_t> frame = MakeYuv10Frame(42);
    WriteBytes(FramePath(dir, 42), frame);
    LoadFrame(FramePath(dir, 42));
    ASSERT_EQ(ViewerState.FrameCount, 1);
    Repaint(window);
    for (POINT p : {POINT{0, 0}, POINT{17, 40}, POINT{500, 270}, POINT{959, 0}, POINT{0, 539},
                    POINT{959, 539}})
        EXPECT_EQ(ScreenPixel(window, p.x, p.y), ImagePixel(p.x, p.y)) << p.x << "," << p.y;

    // Enlarged: the picture keeps its size, the rest is the grey background.
    SetWindowPos(window, NULL, 0, 0, 1300, 900, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(window, 959, 539), ImagePixel(959, 539));
    EXPECT_EQ(ScreenPixel(window, 960, 100), RGB(128, 128, 128));
    EXPECT_EQ(ScreenPixel(window, 100, 540), RGB(128, 128, 128));
}

TEST_F(MainWindowTest, StatusTextsNameTheFrameAndItsPosition) {
    std::string dir = MakeYuv10Sequence(300, 5120);
    LoadFrame(FramePath(dir, 0));
    Repaint(window);
    EXPECT_EQ(StatusText(0), "clip_0000.yuv10");
    EXPECT_EQ(StatusText(1), "Frame: 0/300");
    EXPECT_EQ(StatusText(2), "Step: 0");
    LoadFrame(FramePath(dir, 299));
    Repaint(window);
    EXPECT_EQ(StatusText(0), "clip_0299.yuv10");
    EXPECT_EQ(StatusText(1), "Frame: 299/300");
    // After a failed load ("Frame: i/0"): TicksAfterAFailedLoadRepaintWithoutMovingOrDecoding.
}

TEST_F(MainWindowTest, QPostsTheQuitMessageAndLeavesTheWindow) {
    std::string dir = MakeYuv10Sequence(3, 5120);
    LoadFrame(FramePath(dir, 1));
    PressKey(window, VK_RIGHT);
    PressKey(window, 'Q');
    EXPECT_EQ(TakeQuitMessage(), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(ViewerState.Step, 1);
}

}  // namespace
