#include <gtest/gtest.h>

#include "core/viewer_state.h"
#include "tests/unit/test_support.h"

TEST(FrameImage, HeaderAndBlackBufferAtEveryScale) {
    const int widths[] = {1920, 960, 480}, heights[] = {1080, 540, 270};
    for (int s = 0; s <= 2; ++s) {
        FreshViewerState(s);
        const FrameImageHeader& h = ViewerState.FrameImage.Header;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, widths[s]);
        EXPECT_EQ(h.biHeight, heights[s]);  // positive: bottom-up
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 32);
        EXPECT_EQ(h.biCompression, 0u);
        EXPECT_EQ(h.biSizeImage | h.biClrUsed | h.biClrImportant | h.bmiColors0, 0u);
        EXPECT_EQ(h.biXPelsPerMeter | h.biYPelsPerMeter, 0);
        size_t bytes = (size_t)widths[s] * heights[s] * 4;
        for (size_t i = 0; i < bytes; ++i)
            ASSERT_EQ(ViewerState.FrameImage.Pixels[i], 0) << "scale " << s << " byte " << i;
    }
}

TEST(FrameImage, ResetKeepsLineBufferAndLeavesSequenceAlone) {
    FreshViewerState(1);
    uint8_t* line = ViewerState.LineBuffer;
    ASSERT_NE(line, nullptr);
    ViewerState.FrameCount = 7;
    ViewerState.CurrentFrame = 3;
    ViewerState.Step = -4;
    ViewerState.FrameImage.Pixels[5] = 99;
    ViewerState.ScaleShift = 2;
    ASSERT_EQ(ResetFrameImage(), 0);
    EXPECT_EQ(ViewerState.LineBuffer, line);
    EXPECT_EQ(ViewerState.FrameCount, 7);
    EXPECT_EQ(ViewerState.CurrentFrame, 3);
    EXPECT_EQ(ViewerState.Step, -4);
    EXPECT_EQ(ViewerState.FrameImage.Pixels[5], 0);
    EXPECT_EQ(FrameImageWidth(), 480);
}

TEST(FrameImage, FailedAllocationKeepsTheOldPictureAndScale) {
    FreshViewerState(1);
    ViewerState.FrameImage.Pixels[0] = 42;
    uint8_t* old = ViewerState.FrameImage.Pixels;
    testing_hooks::AllocationsBeforeFailure = 0;
    ViewerState.ScaleShift = 0;
    EXPECT_EQ(ResetFrameImage(), -1);
    EXPECT_EQ(ViewerState.ScaleShift, 1);
    EXPECT_EQ(ViewerState.FrameImage.Pixels, old);
    EXPECT_EQ(ViewerState.FrameImage.Pixels[0], 42);
    EXPECT_EQ(FrameImageWidth(), 960);
    testing_hooks::Reset();
}
