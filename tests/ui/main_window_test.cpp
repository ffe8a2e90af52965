// The main window: its size around the picture, the status bar layout and texts, the
// picture on screen, how it ends, and keyboard playback: the step, the timer behind it,
// and where each tick lands.
#include "tests/ui/window_fixture.h"

#include <commctrl.h>
#include <string.h>

#include "core/sequence_loading.h"
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

// ---- keyboard playback

TEST_F(MainWindowTest, ArrowsSetAStepOfAtMostTenEitherWayOtherKeysPauseAndQQuits) {
    std::string dir = MakeYuv10Sequence(300, 5120);
    LoadFrame(FramePath(dir, 100));
    ASSERT_EQ(ViewerState.FrameCount, 300);

    for (int i = 0; i < 11; ++i) PressKey(window, VK_RIGHT);
    EXPECT_EQ(ViewerState.Step, 10);
    EXPECT_EQ(StatusText(2), "Step: +10");
    EXPECT_TRUE(PlaybackTimerIsSet(window));

    for (int i = 0; i < 21; ++i) PressKey(window, VK_LEFT);
    EXPECT_EQ(ViewerState.Step, -10);
    EXPECT_EQ(StatusText(2), "Step: -10");
    EXPECT_TRUE(PlaybackTimerIsSet(window));

    for (int i = 0; i < 13; ++i) PressKey(window, VK_RIGHT);
    EXPECT_EQ(StatusText(2), "Step: +3");
    PressKey(window, VK_SPACE);
    EXPECT_EQ(ViewerState.Step, 0);
    EXPECT_EQ(StatusText(2), "Step: 0");
    EXPECT_FALSE(PlaybackTimerIsSet(window));

    // Back through zero with the arrows also stops the timer.
    PressKey(window, VK_LEFT);
    EXPECT_TRUE(PlaybackTimerIsSet(window));
    PressKey(window, VK_RIGHT);
    EXPECT_FALSE(PlaybackTimerIsSet(window));
    // Keys change the text only; the frame stays until a tick.
    EXPECT_EQ(ViewerState.CurrentFrame, 100);

    // Q posts the quit message and leaves the window and the step as they are.
    PressKey(window, VK_RIGHT);
    PressKey(window, 'Q');
    EXPECT_EQ(TakeQuitMessage(), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(ViewerState.Step, 1);
}

TEST_F(MainWindowTest, TicksJumpToTheOtherEndWhenPassingOne) {
    std::string dir = MakeYuv10Sequence(300, 5120);
    struct Case {
        int from, step, to;
    } cases[] = {{295, 10, 0}, {5, -10, 299}, {0, -1, 299}, {299, 1, 0}, {289, 10, 299}, {7, 3, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        LoadFrame(FramePath(dir, c.from));
        ASSERT_EQ(ViewerState.CurrentFrame, c.from);
        for (int i = 0; i < (c.step > 0 ? c.step : -c.step); ++i)
            PressKey(window, c.step > 0 ? VK_RIGHT : VK_LEFT);
        Tick(window);
        EXPECT_EQ(ViewerState.CurrentFrame, c.to);
        char name[32], frame[32];
        wsprintfA(name, "clip_%04d.yuv10", c.to);
        wsprintfA(frame, "Frame: %d/300", c.to);
        EXPECT_EQ(StatusText(0), name);
        EXPECT_EQ(StatusText(1), frame);
    }
}

TEST_F(MainWindowTest, AOneFrameSequenceIsDecodedAgainOnEveryTick) {
    std::string dir = MakeScratchDir();
    WriteBytes(FramePath(dir, 7), MakeYuv10Frame(7));
    LoadFrame(FramePath(dir, 7));
    ASSERT_EQ(ViewerState.FrameCount, 1);
    std::vector<uint8_t> decoded = PictureBytes();

    PressKey(window, VK_RIGHT);
    for (int i = 0; i < 2; ++i) {
        memset(ViewerState.FrameImage.Pixels, 0, decoded.size());
        Tick(window);
        EXPECT_EQ(ViewerState.CurrentFrame, 0);
        EXPECT_TRUE(PictureBytes() == decoded);
    }
}

TEST_F(MainWindowTest, TicksAfterAFailedLoadRepaintWithoutMovingOrDecoding) {
    std::string dir = MakeScratchDir();
    WriteBytes(FramePath(dir, 4), MakeYuv10Frame(4));
    WriteBytes(FramePath(dir, 5), MakeYuv10Frame(5));
    LoadFrame(FramePath(dir, 5));
    PressKey(window, VK_LEFT);
    // A load pauses but leaves the timer running.
    LoadFrame(JoinPath(dir, "missing_0001.yuv10"));
    ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
    ASSERT_EQ(ViewerState.FrameCount, 0);
    EXPECT_TRUE(PlaybackTimerIsSet(window));
    std::vector<uint8_t> shown = PictureBytes();

    Tick(window);
    Tick(window);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_EQ(StatusText(1), "Frame: 1/0");
    EXPECT_TRUE(PictureBytes() == shown);
    // Any key now stops the timer for good.
    PressKey(window, VK_RIGHT);
    EXPECT_EQ(ViewerState.Step, 0);
    EXPECT_FALSE(PlaybackTimerIsSet(window));
}

}  // namespace
