// What both readers must leave alone: memory once playback has started, and the path and
// picture when the frame cannot be opened.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"
#include "tools/frame_pattern.h"

// Playback decodes a frame every tick: after the first frame neither reader may take
// memory, at any scale, or a long playback would grow the heap.
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
        int (*decode)() = ViewerState.IsTiff ? ReadTiffFrame : ReadYuv10Frame;
        for (int s = 0; s <= 2; ++s) {
            ViewerState.ScaleShift = s;
            ASSERT_EQ(ResetFrameImage(), 0);
            ASSERT_EQ(decode(), 0);  // the first frame at a scale may take memory
            testing_hooks::AllocationsBeforeFailure = 1000;
            for (int i = 0; i < 6; ++i) {
                ViewerState.CurrentFrame = i % 2;
                ASSERT_EQ(decode(), 0) << first;
            }
            EXPECT_EQ(testing_hooks::AllocationsBeforeFailure, 1000) << first << " scale " << s;
            testing_hooks::AllocationsBeforeFailure = -1;
        }
    }
}

// Out of range, nothing loaded, or not a file: refused, path and picture untouched.
TEST(Readers, RefuseFramesTheyCannotOpenWithoutTouchingPathOrPicture) {
    std::string dir = MakeScratchDir();
    WriteBytes(JoinPath(dir, "clip_0001.yuv10"), {});
    MakeDirectory(JoinPath(dir, "clip_0002.yuv10"));
    for (int (*read)() : {ReadYuv10Frame, ReadTiffFrame}) {
        FreshViewerState(1);
        SetPath(JoinPath(dir, "clip_0001.yuv10"));
        ASSERT_EQ(ScanSequence(), 0);
        ASSERT_EQ(ViewerState.FrameCount, 2);
        ScribbleOnPicture();
        const std::string path = ViewerState.PathBuffer;
        for (int frame : {-1, 2, 1000}) {
            ViewerState.CurrentFrame = frame;
            EXPECT_EQ(read(), -1) << frame;
            EXPECT_EQ(ViewerState.PathBuffer, path) << frame;
        }
        ViewerState.CurrentFrame = 1;  // the directory
        EXPECT_EQ(read(), -1);
        ViewerState.FrameCount = ViewerState.CurrentFrame = 0;
        strcpy(ViewerState.PathBuffer, "untouched");
        EXPECT_EQ(read(), -1) << "nothing loaded";
        EXPECT_STREQ(ViewerState.PathBuffer, "untouched");
        EXPECT_TRUE(PictureIsScribbled());
    }
}
