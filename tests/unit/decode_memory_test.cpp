// Playback decodes a frame every tick: after the first frame neither reader may take
// memory, at any scale, or a long playback would grow the heap.
#include <gtest/gtest.h>

#include <vector>

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"
#include "tools/frame_pattern.h"

namespace {

// Counts the allocations made by `decode` over frames of every scale, after one frame
// at each scale has been decoded first.
int AllocationsWhilePlaying(int (*decode)()) {
    int made = 0;
    for (int s = 0; s <= 2; ++s) {
        ViewerState.ScaleShift = s;
        if (ResetFrameImage() != 0) return -1;
        ViewerState.CurrentFrame = 0;
        if (decode() != 0) return -1;
        testing_hooks::AllocationsBeforeFailure = 1000;
        for (int i = 0; i < 6; ++i) {
            ViewerState.CurrentFrame = i % ViewerState.FrameCount;
            if (decode() != 0) return -1;
        }
        made += 1000 - testing_hooks::AllocationsBeforeFailure;
        testing_hooks::AllocationsBeforeFailure = -1;
    }
    return made;
}

}  // namespace

TEST(DecodeMemory, FramesAllocateNothingOnceStarted) {
    std::string dir = MakeScratchDir();
    WriteBytes(JoinPath(dir, "take_00.yuv10"), MakeYuv10Frame(0));
    WriteBytes(JoinPath(dir, "take_01.yuv10"), MakeYuv10Frame(1));
    HandTiff t;
    WriteHandTiff(JoinPath(dir, "take_00.tif"), t, BuildTiff(t));
    t.frame = 2;
    t.rowsPerStrip = 8;
    WriteHandTiff(JoinPath(dir, "take_01.tif"), t, BuildTiff(t));
    for (const char* first : {"take_00.yuv10", "take_00.tif"}) {
        FreshViewerState(1);
        SetPath(JoinPath(dir, first));
        ASSERT_EQ(ScanSequence(), 0);
        EXPECT_EQ(AllocationsWhilePlaying(ViewerState.IsTiff ? ReadTiffFrame : ReadYuv10Frame), 0)
            << first;
    }
}
