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

// Kept sequence, LineBuffer and picture over a size change, also without memory for the
// new picture: the size command tests in tests/ui.
