// Keyboard playback: the step, the timer behind it, and where each tick lands.
#include <string.h>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/ui/window_fixture.h"
#include "tests/unit/test_support.h"
#include "tools/frame_pattern.h"

namespace {

TEST_F(MainWindowTest, ArrowsSetAStepOfAtMostTenEitherWayAndOtherKeysPause) {
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
