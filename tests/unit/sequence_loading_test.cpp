#include <gtest/gtest.h>
#include <string.h>

#include <functional>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"

// Compared with the same literals the core uses, so both are in the build's code page.
static const char* const CannotOpen = "ファイルをオープンできません!";
static const char* const InvalidFile = "不正なファイルです!";

static std::string NameInSlot(int i) {
    return ViewerState.NameTable + (size_t)i * (ViewerState.MaxNameLength + 1);
}

// The state a new load starts from: a three-frame sequence at its last frame, playing,
// with a picture on screen. Loading it is the successful load: empty frame files are no
// box (they show black), the named frame is the current one.
static void LoadOldSequence() {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    for (const char* name : {"old_01.yuv10", "old_02.yuv10", "old_03.yuv10"})
        WriteBytes(JoinPath(dir, name), {});
    SetPath(JoinPath(dir, "old_03.yuv10"));
    LoadSequence();
    ASSERT_TRUE(testing_hooks::ShownErrors.empty());
    ASSERT_EQ(ViewerState.CurrentFrame, 2);
    ViewerState.Step = 4;
    ScribbleOnPicture();
}

// Every failed load: one box, nothing loaded, paused, the old picture on screen. Nothing
// listed keeps the old table and frame; a listing that found frames replaces them.
TEST(LoadSequence, FailuresShowOneBoxPauseAndKeepThePicture) {
    // Frame 1 of a new sequence is an empty file; the requested frame 2 holds `bytes`,
    // or is a directory when there are none.
    auto pair = [](const std::string& d, const std::string& stem, const char* ext,
                   std::vector<uint8_t> bytes) {
        WriteBytes(JoinPath(d, stem + "_0001." + ext), {});
        std::string path = JoinPath(d, stem + "_0002." + ext);
        if (bytes.empty()) MakeDirectory(path);
        else WriteBytes(path, bytes);
        return path;
    };
    struct Case {
        const char* what;
        std::function<std::string(const std::string& dir)> make;  // the path the user names
        const char* box;
        int currentFrame;
        const char* slot0;  // the name table's first name afterwards
    } const cases[] = {
        {"empty path", [](const std::string&) { return std::string(); }, CannotOpen, 2,
         "old_01.yuv10"},
        {"nothing fits", [](const std::string& d) { return JoinPath(d, "none_0001.yuv10"); },
         CannotOpen, 2, "old_01.yuv10"},
        {"no such directory",
         [](const std::string& d) { return JoinPath(JoinPath(d, "gone"), "x_0001.tif"); },
         CannotOpen, 2, "old_01.yuv10"},
        {"path of 260 bytes", [](const std::string&) { return std::string(PATH_BUFFER_SIZE, 'a'); },
         CannotOpen, 2, "old_01.yuv10"},
        {"file gone before the second listing",
         [](const std::string& d) {
             std::string path = JoinPath(d, "newer_0001.yuv10");
             WriteBytes(path, {});
             testing_hooks::AfterListing = [path] { RemovePath(path); };
             return path;
         },
         CannotOpen, 0, ""},
        {"big-endian TIFF",
         [&](const std::string& d) {
             return pair(d, "bad", "tif", {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0});
         },
         InvalidFile, 1, "bad_0001.tif"},
        {"TIFF without StripOffsets (one ImageWidth entry)",
         [&](const std::string& d) {
             return pair(d, "hand", "tif", {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0, 1, 3, 0, 1,
                                            0, 0, 0, 0x80, 7, 0, 0, 0, 0, 0, 0});
         },
         InvalidFile, 1, "hand_0001.tif"},
        {"requested entry is a directory",
         [&](const std::string& d) { return pair(d, "clip", "yuv10", {}); },
         InvalidFile, 1, "clip_0001.yuv10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadOldSequence();
        std::string path = c.make(MakeScratchDir());
        if (path.size() < PATH_BUFFER_SIZE) SetPath(path);
        else memset(ViewerState.PathBuffer, 'a', PATH_BUFFER_SIZE);  // no NUL at all
        LoadSequence();
        testing_hooks::AfterListing = nullptr;
        ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
        EXPECT_EQ(testing_hooks::ShownErrors[0].text, c.box);
        EXPECT_EQ(testing_hooks::ShownErrors[0].caption, "Error");
        EXPECT_EQ(ViewerState.FrameCount, 0);
        EXPECT_EQ(ViewerState.Step, 0);
        EXPECT_EQ(ViewerState.CurrentFrame, c.currentFrame);
        EXPECT_EQ(NameInSlot(0), c.slot0);
        EXPECT_TRUE(PictureIsScribbled());
    }
}
