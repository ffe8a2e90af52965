// Finding a sequence from one name, opening its frames, and what a failed load leaves.
#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>

#include "core/frame_sequence.h"
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "platform/platform.h"
#include "tests/support.h"

static const std::string CannotOpen = "Error: ファイルをオープンできません!";
static const std::string InvalidFile = "Error: 不正なファイルです!";

static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < ViewerState.FrameCount; ++i)
        names.emplace_back(ViewerState.NameTable + (size_t)i * (ViewerState.MaxNameLength + 1));
    return names;
}

static void Touch(const std::string& dir, std::initializer_list<const char*> names) {
    for (const char* n : names) WriteBytes(Join(dir, n), {1});
}

static bool OpensCurrentFrame() {
    PlatFile f = OpenCurrentFrame();
    return f ? PlatCloseFile(f), true : false;
}

TEST(ScanSequence, PatternFormatAndNamePart) {
    const struct { const char *path, *pattern; int isTiff; const char* name; } cases[] = {
        {"D:\\a/b\\clip_0042.yuv10", "D:\\a/b\\clip_????.yuv10", 0, "clip_0042.yuv10"},
        {"D:\\seq\\still.tif", "D:\\seq\\still.tif", 1, "still.tif"},
        {"\\cam2_take3_0001.tif", "\\cam2_take3_????.tif", 1, "cam2_take3_0001.tif"},
        {"D:\\seq\\0001.TIF", "D:\\seq\\????.TIF", 1, "0001.TIF"},
        {"x_01.ti", "x_??.ti", 0, "x_01.ti"},
        {"take_01.0042.tif", "take_01.????.tif", 1, "take_01.0042.tif"},  // the last dot counts
        {"D:\\v2.tif\\0042", "D:\\v2.tif\\0042", 0, "0042"},
    };
    for (const auto& c : cases) {
        Fresh(1);
        ViewerState.IsTiff = 1;  // an earlier TIFF sequence must not leak into this one
        SetPath(c.path);
        EXPECT_EQ(ScanSequence(), -1);  // none of these exists: only the pattern counts
        EXPECT_EQ(std::make_tuple(std::string(ViewerState.PatternBuffer), ViewerState.IsTiff, std::string(ViewerState.NamePart)),
                  std::make_tuple(std::string(c.pattern), c.isTiff, std::string(c.name)));
    }
    EXPECT_TRUE(NameFitsPattern("a.b.TIF", "*.tif"));
    EXPECT_FALSE(NameFitsPattern(std::string(200, 'a').c_str(), (std::string(120, '*') + "b").c_str()));
}

TEST(ScanSequence, ListsTheSequenceSortedFindsTheFrameAndOpensIt) {
    Fresh(1);
    std::string dir = ScratchDir();
    Touch(dir, {"clip_0003.yuv10", "clip_0001.yuv10", "CLIP_0002.YUV10", "clip_abcd.yuv10",
                "clip_7.yuv10", "clip_00001.yuv10", "clip_0001.tif", "other_0001.yuv10"});
    std::filesystem::create_directory(Join(dir, "clip_0100.yuv10"));  // fits, so it counts
    SetPath(Join(dir, "clip_0003.yuv10"));
    ASSERT_EQ(ScanSequence(), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"clip_0001.yuv10", "CLIP_0002.YUV10", "clip_0003.yuv10",
                                                 "clip_0100.yuv10", "clip_abcd.yuv10"}));
    EXPECT_EQ(ViewerState.CurrentFrame, 2);
    ViewerState.CurrentFrame = 3;
    EXPECT_EQ(OpenCurrentFrame(), nullptr);  // the directory
    ViewerState.CurrentFrame = 1;
    EXPECT_TRUE(OpensCurrentFrame());
    EXPECT_EQ(std::string(ViewerState.PathBuffer), Join(dir, "CLIP_0002.YUV10"));
}

// Code page 932: 0x95 0x5C is one character whose second byte is a backslash.
TEST(ScanSequenceShiftJis, TrailByteBackslashIsNotASeparator) {
    if (!PlatIsLeadByte(0x95)) GTEST_SKIP() << "needs the Japanese code page";
    Fresh(1);
    std::string dir = ScratchDir();
    Touch(dir, {"\x95\x5C_0001.yuv10", "\x95\x5C_0002.yuv10"});
    SetPath(Join(dir, "\x95\x5C_0002.yuv10"));
    ASSERT_EQ(ScanSequence(), 0);
    EXPECT_STREQ(ViewerState.NamePart, "\x95\x5C_0002.yuv10");
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
}

// Every failed load: one box, nothing loaded, paused, the old picture on screen. Nothing
// listed keeps the old table and frame; a listing that found frames replaces them.
TEST(LoadSequence, FailuresShowOneBoxPauseAndKeepThePicture) {
    std::string old = ScratchDir(), d = ScratchDir();
    Touch(old, {"old_01.yuv10", "old_02.yuv10", "old_03.yuv10"});
    Touch(d, {"new_01.yuv10", "new_01.tif", "dir_01.yuv10", "gone_01.yuv10"});
    WriteBytes(Join(d, "new_02.tif"), {'M', 'M', 0, 42, 0, 0, 0, 8});
    std::filesystem::create_directory(Join(d, "dir_02.yuv10"));
    // hook 1: no memory for the table; 2: the file gone before the second listing.
    const struct { std::string path; const std::string& box; int currentFrame; const char* firstName; int hook; } cases[] = {
        {"", CannotOpen, 2, "old_01.yuv10", 0},
        {Join(d, "none_01.yuv10"), CannotOpen, 2, "old_01.yuv10", 0},
        {std::string(PATH_BUFFER_SIZE, 'a'), CannotOpen, 2, "old_01.yuv10", 0},
        {Join(d, "new_01.yuv10"), CannotOpen, 2, "old_01.yuv10", 1},
        {Join(d, "gone_01.yuv10"), CannotOpen, 0, "", 2},
        {Join(d, "new_02.tif"), InvalidFile, 1, "new_01.tif", 0},  // big-endian
        {Join(d, "dir_02.yuv10"), InvalidFile, 1, "dir_01.yuv10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Fresh(1);
        SetPath(Join(old, "old_03.yuv10"));
        LoadSequence();  // short frame files show black, no box
        ASSERT_TRUE(hooks::Errors.empty());
        ViewerState.Step = 4;
        std::vector<uint8_t> scribbled = Scribble();
        if (c.path.size() < PATH_BUFFER_SIZE) SetPath(c.path);
        else memset(ViewerState.PathBuffer, 'a', PATH_BUFFER_SIZE);  // no NUL at all
        if (c.hook == 1) hooks::AllocsLeft = 0;
        if (c.hook == 2) hooks::AfterListing = [&] { std::filesystem::remove(c.path); };
        LoadSequence();
        const ViewerStateData& v = ViewerState;
        EXPECT_EQ(hooks::Errors, std::vector<std::string>{c.box});
        // The name tried, or none for a path refused whole: never a leftover one.
        std::string name = c.path.size() < PATH_BUFFER_SIZE ? std::filesystem::path(c.path).filename().string() : "";
        EXPECT_EQ(std::make_tuple(v.FrameCount, v.Step, v.CurrentFrame, std::string(v.NameTable), std::string(v.NamePart)),
                  std::make_tuple(0, 0, c.currentFrame, std::string(c.firstName), name));
        EXPECT_EQ(Picture(), scribbled);
    }
}

// Without memory for a new picture the old one, its header and its scale stay.
TEST(ResetFrameImage, KeepsTheOldPictureWhenMemoryRunsOut) {
    for (int from = 0; from <= 2; ++from) {
        Fresh(from);
        uint8_t* pixels = ViewerState.FrameImage.Pixels;
        ViewerState.ScaleShift = (from + 1) % 3;
        hooks::AllocsLeft = 0;
        EXPECT_EQ(ResetFrameImage(), -1);
        EXPECT_EQ(std::make_tuple(ViewerState.ScaleShift, ViewerState.FrameImage.Pixels, FrameImageWidth()),
                  std::make_tuple(from, pixels, 1920 >> from));
    }
    PlatFree(ViewerState.LineBuffer);  // nor, the first time, for LineBuffer
    ViewerState.LineBuffer = nullptr;
    hooks::AllocsLeft = 0;
    EXPECT_EQ(ResetFrameImage(), -1);
    ViewerState.ScaleShift = 3;  // no such size: no picture for it
    EXPECT_EQ(ResetFrameImage(), -1);
}
