#include <gtest/gtest.h>
#include <string.h>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"

// Compared with the same literals the core uses, so both are in the build's code page.
static const char* const CannotOpen = "ファイルをオープンできません!";
static const char* const InvalidFile = "不正なファイルです!";

static void ExpectOneBox(const char* text) {
    ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
    EXPECT_EQ(testing_hooks::ShownErrors[0].text, text);
    EXPECT_EQ(testing_hooks::ShownErrors[0].caption, "Error");
}

static std::string NameInSlot(int i) {
    return ViewerState.NameTable + (size_t)i * (ViewerState.MaxNameLength + 1);
}

// The state a new load starts from: a three-frame sequence at its last frame, playing,
// with a picture on screen.
static void LoadOldSequence() {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    for (const char* name : {"old_01.yuv10", "old_02.yuv10", "old_03.yuv10"})
        WriteBytes(JoinPath(dir, name), {});
    SetPath(JoinPath(dir, "old_03.yuv10"));
    LoadSequence();
    ASSERT_TRUE(testing_hooks::ShownErrors.empty());
    ASSERT_EQ(ViewerState.FrameCount, 3);
    ASSERT_EQ(ViewerState.CurrentFrame, 2);
    ViewerState.Step = 4;
    ScribbleOnPicture();
}

static bool PictureUnchanged() {
    size_t bytes = (size_t)FrameImageWidth() * FrameImageHeight() * 4;
    for (size_t i = 0; i < bytes; ++i)
        if (ViewerState.FrameImage.Pixels[i] != 0x55) return false;
    return true;
}

TEST(LoadSequence, LoadsTheNamedFrameAndPauses) {
    LoadOldSequence();
    std::string dir = MakeScratchDir();
    for (const char* name : {"clip_0007.yuv10", "clip_0008.yuv10"})
        WriteBytes(JoinPath(dir, name), {});
    SetPath(JoinPath(dir, "clip_0008.yuv10"));
    LoadSequence();
    EXPECT_TRUE(testing_hooks::ShownErrors.empty());
    EXPECT_EQ(ViewerState.FrameCount, 2);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_EQ(ViewerState.Step, 0);
    EXPECT_STREQ(ViewerState.NamePart, "clip_0008.yuv10");
    EXPECT_EQ(PixelAt(0, 0)[0], 0);  // an empty frame file shows black
}

TEST(LoadSequence, NothingListedKeepsTheOldTableAndFrame) {
    std::string elsewhere = MakeScratchDir();
    const std::string paths[] = {
        "",                                                   // empty PathBuffer
        JoinPath(elsewhere, "none_0001.yuv10"),               // nothing fits
        JoinPath(JoinPath(elsewhere, "gone"), "x_0001.tif"),  // no such directory
    };
    for (const std::string& path : paths) {
        LoadOldSequence();
        const char* oldTable = ViewerState.NameTable;
        SetPath(path);
        LoadSequence();
        ExpectOneBox(CannotOpen);
        EXPECT_EQ(ViewerState.FrameCount, 0) << path;
        EXPECT_EQ(ViewerState.Step, 0) << path;
        EXPECT_EQ(ViewerState.CurrentFrame, 2) << path;
        EXPECT_EQ(ViewerState.NameTable, oldTable) << path;
        EXPECT_STREQ(oldTable, "old_01.yuv10") << path;
        EXPECT_TRUE(PictureUnchanged()) << path;
    }
}

TEST(LoadSequence, SecondListingEmptyReplacesTheTable) {
    LoadOldSequence();
    std::string dir = MakeScratchDir();
    std::string path = JoinPath(dir, "newer_0001.yuv10");
    WriteBytes(path, {});
    // The file goes away between the counting and the filling listing.
    testing_hooks::AfterListing = [path] { RemovePath(path); };
    SetPath(path);
    LoadSequence();
    testing_hooks::AfterListing = nullptr;
    ExpectOneBox(CannotOpen);
    EXPECT_EQ(ViewerState.FrameCount, 0);
    EXPECT_EQ(ViewerState.Step, 0);
    EXPECT_EQ(ViewerState.CurrentFrame, 0);
    EXPECT_EQ(ViewerState.MaxNameLength, (int)strlen("newer_0001.yuv10"));
    EXPECT_EQ(NameInSlot(0), "");
    EXPECT_TRUE(PictureUnchanged());
}

TEST(LoadSequence, FrameTheReaderRefusesKeepsTheNewTableAndTheOldPicture) {
    struct Case {
        const char* first;
        const char* requested;
        bool requestedIsDirectory;
    } const cases[] = {
        {"bad_0001.tif", "bad_0002.tif", false},       // starts "MM": big-endian
        {"clip_0001.yuv10", "clip_0002.yuv10", true},  // a directory that fits the pattern
        {"hand_0001.tif", "hand_0002.tif", false},     // no StripOffsets at all
    };
    for (const Case& c : cases) {
        LoadOldSequence();
        std::string dir = MakeScratchDir();
        WriteBytes(JoinPath(dir, c.first), {});
        std::string path = JoinPath(dir, c.requested);
        if (c.requestedIsDirectory) {
            MakeDirectory(path);
        } else if (c.requested[0] == 'b') {
            WriteBytes(path, {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0});
        } else {
            // A directory of one ImageWidth entry.
            WriteBytes(path, {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0, 1, 3, 0, 1, 0, 0, 0,
                              0x80, 7, 0, 0, 0, 0, 0, 0});
        }
        SetPath(path);
        LoadSequence();
        ExpectOneBox(InvalidFile);
        EXPECT_EQ(ViewerState.FrameCount, 0) << c.requested;
        EXPECT_EQ(ViewerState.Step, 0) << c.requested;
        EXPECT_EQ(ViewerState.CurrentFrame, 1) << c.requested;
        EXPECT_EQ(NameInSlot(0), c.first);
        EXPECT_EQ(NameInSlot(1), c.requested);
        EXPECT_TRUE(PictureUnchanged()) << c.requested;
    }
}
