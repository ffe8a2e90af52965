#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>
#include <functional>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "platform/platform.h"
#include "tests/unit/test_support.h"

namespace {

struct PatternCase {
    const char* path;
    const char* pattern;
    int isTiff;
    const char* namePart;
};

void CreateFiles(const std::string& dir, std::initializer_list<const char*> names) {
    for (const char* n : names) WriteBytes(JoinPath(dir, n), {1, 2, 3});
}

}  // namespace

TEST(ScanPattern, DigitsBeforeTheExtensionBecomeWildcards) {
    const PatternCase cases[] = {
        {"D:\\seq\\clip_0042.yuv10", "D:\\seq\\clip_????.yuv10", 0, "clip_0042.yuv10"},
        {"D:\\seq\\still.tif", "D:\\seq\\still.tif", 1, "still.tif"},
        {"cam2_take3_0001.tif", "cam2_take3_????.tif", 1, "cam2_take3_0001.tif"},
        {"clip_7.yuv10", "clip_?.yuv10", 0, "clip_7.yuv10"},
        {"D:\\seq\\0001.tif", "D:\\seq\\????.tif", 1, "0001.tif"},
        {"D:\\s1\\x_01.TIF", "D:\\s1\\x_??.TIF", 1, "x_01.TIF"},
        {"x_01.tiff", "x_??.tiff", 1, "x_01.tiff"},
        {"x_01.ti", "x_??.ti", 0, "x_01.ti"},
        {"x_01.raw", "x_??.raw", 0, "x_01.raw"},
        {"/data/seq/x_09.yuv10", "/data/seq/x_??.yuv10", 0, "x_09.yuv10"},
        {"D:\\a/b\\c_5.yuv10", "D:\\a/b\\c_?.yuv10", 0, "c_5.yuv10"},
        // Only the last dot of the file name starts the extension.
        {"take_01.0042.tif", "take_01.????.tif", 1, "take_01.0042.tif"},
        {"D:\\v1.5\\frame", "D:\\v1.5\\frame", 0, "frame"},
        {"D:\\v2.tif\\0042", "D:\\v2.tif\\0042", 0, "0042"},
    };
    for (const PatternCase& c : cases) {
        FreshViewerState(1);
        ViewerState.IsTiff = 1;  // a previous TIFF sequence must not leak into this one
        SetPath(c.path);
        ScanSequence();  // nothing of these exists: only the pattern is looked at
        EXPECT_STREQ(ViewerState.PatternBuffer, c.pattern) << c.path;
        EXPECT_EQ(ViewerState.IsTiff, c.isTiff) << c.path;
        EXPECT_STREQ(ViewerState.NamePart, c.namePart) << c.path;
        EXPECT_EQ(ViewerState.FrameCount, 0) << c.path;
    }
}

TEST(ScanPattern, NameMatchingIsExactPerWildcardAndIgnoresCase) {
    EXPECT_TRUE(NameFitsPattern("clip_0042.yuv10", "clip_????.yuv10"));
    EXPECT_TRUE(NameFitsPattern("CLIP_0042.YUV10", "clip_????.yuv10"));
    EXPECT_TRUE(NameFitsPattern("clip_abcd.yuv10", "clip_????.yuv10"));
    EXPECT_FALSE(NameFitsPattern("clip_7.yuv10", "clip_????.yuv10"));
    EXPECT_FALSE(NameFitsPattern("clip_00042.yuv10", "clip_????.yuv10"));
    EXPECT_FALSE(NameFitsPattern("CLIP_~1.YUV", "clip_????.yuv10"));
    EXPECT_FALSE(NameFitsPattern("clip_0042.yuv10x", "clip_????.yuv10"));
    EXPECT_TRUE(NameFitsPattern("a.tif", "*.tif"));
    EXPECT_TRUE(NameFitsPattern("a.b.tif", "*.tif"));
    EXPECT_FALSE(NameFitsPattern("a.tif.x", "*.tif"));
    EXPECT_TRUE(NameFitsPattern("", "*"));
    EXPECT_FALSE(NameFitsPattern("", "?"));
    // A long run of stars must not take exponential time.
    std::string stars(120, '*');
    EXPECT_FALSE(NameFitsPattern(std::string(200, 'a').c_str(), (stars + "b").c_str()));
}

TEST(ScanSequence, ListsTheSequenceSortedAndFindsTheNamedFrame) {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    CreateFiles(dir, {"clip_0003.yuv10", "clip_0001.yuv10", "CLIP_0002.YUV10", "clip_0000.yuv10",
                      "clip_abcd.yuv10",   // fits the pattern: counts as a frame
                      "clip_7.yuv10",      // one digit only: another sequence
                      "clip_00001.yuv10",  // five digits
                      "clip_0001.tif", "other_0001.yuv10"});
    MakeDirectory(JoinPath(dir, "clip_0100.yuv10"));  // a directory that fits counts too
    SetPath(JoinPath(dir, "clip_0001.yuv10"));

    ASSERT_EQ(ScanSequence(), 0);
    std::vector<std::string> want = {"clip_0000.yuv10", "clip_0001.yuv10", "CLIP_0002.YUV10",
                                     "clip_0003.yuv10", "clip_0100.yuv10", "clip_abcd.yuv10"};
    EXPECT_EQ(ListedNames(), want);
    EXPECT_EQ(ViewerState.FrameCount, 6);
    EXPECT_EQ(ViewerState.MaxNameLength, 15);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    EXPECT_EQ(ViewerState.IsTiff, 0);
    EXPECT_STREQ(ViewerState.NamePart, "clip_0001.yuv10");

    // The directory is a frame of the sequence, but it cannot be opened as one.
    ViewerState.CurrentFrame = 4;
    EXPECT_EQ(OpenCurrentFrame(), nullptr);
    EXPECT_STREQ(ViewerState.NamePart, "clip_0100.yuv10");
    ViewerState.CurrentFrame = 3;
    PlatFile f = OpenCurrentFrame();
    ASSERT_NE(f, nullptr);
    PlatCloseFile(f);
    EXPECT_EQ(std::string(ViewerState.PathBuffer), JoinPath(dir, "clip_0003.yuv10"));

    // The same sequence, but the requested name is in another letter case: frame 0.
    SetPath(JoinPath(dir, "CLIP_0001.yuv10"));
    ASSERT_EQ(ScanSequence(), 0);
    EXPECT_EQ(ViewerState.FrameCount, 6);
    EXPECT_EQ(ViewerState.CurrentFrame, 0);
}

TEST(ScanSequence, FailuresKeepThePreviousTableAndCountNothing) {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    CreateFiles(dir, {"a_01.yuv10", "a_02.yuv10"});
    SetPath(JoinPath(dir, "a_02.yuv10"));
    ASSERT_EQ(ScanSequence(), 0);
    char* table = ViewerState.NameTable;

    // Nothing fits and no such directory: the LoadSequence failure table.
    for (const std::string& path : {std::string(), dir + "\\"}) {
        SetPath(path);
        EXPECT_EQ(ScanSequence(), -1) << path;
        EXPECT_EQ(ViewerState.FrameCount, 0);
        EXPECT_EQ(ViewerState.NameTable, table);
    }

    // No memory for the new table: the old one stays, nothing is loaded.
    SetPath(JoinPath(dir, "a_01.yuv10"));
    testing_hooks::AllocationsBeforeFailure = 0;
    EXPECT_EQ(ScanSequence(), -1);
    testing_hooks::AllocationsBeforeFailure = -1;
    EXPECT_EQ(ViewerState.FrameCount, 0);
    EXPECT_EQ(ViewerState.NameTable, table);
}

TEST(ScanSequence, PathWithoutDirectoryListsTheCurrentDirectory) {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    CreateFiles(dir, {"r_1.yuv10", "r_2.yuv10"});
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    SetPath("r_2.yuv10");
    int result = ScanSequence();
    PlatFile f = result == 0 ? OpenCurrentFrame() : nullptr;
    std::filesystem::current_path(before);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(ViewerState.NamePart, ViewerState.PathBuffer);
    EXPECT_EQ(ViewerState.FrameCount, 2);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    ASSERT_NE(f, nullptr);
    PlatCloseFile(f);
}

// Scans with `change` made between the counting and the filling listing.
static int ScanWithChangeBetweenListings(std::function<void()> change) {
    int listings = 0;
    testing_hooks::AfterListing = [&] {
        if (listings++ == 0) change();
    };
    int result = ScanSequence();
    testing_hooks::AfterListing = nullptr;
    return result;
}

TEST(ScanSequence, DirectoryChangingBetweenTheTwoListings) {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    CreateFiles(dir, {"c_01.yuv10", "c_02.yuv10", "c_03.yuv10"});
    SetPath(JoinPath(dir, "c_02.yuv10"));

    // More files after the first listing: the table holds no more than it was made for.
    ASSERT_EQ(ScanWithChangeBetweenListings(
                  [&] { CreateFiles(dir, {"c_00.yuv10", "c_04.yuv10", "c_05.yuv10"}); }),
              0);
    EXPECT_EQ(ViewerState.FrameCount, 3);
    std::vector<std::string> names = ListedNames();
    for (size_t i = 1; i < names.size(); ++i) EXPECT_LT(names[i - 1], names[i]);
    for (const std::string& n : names) EXPECT_TRUE(NameFitsPattern(n.c_str(), "c_??.yuv10")) << n;

    // Files gone after the first listing: the count is what the second one found.
    SetPath(JoinPath(dir, "c_05.yuv10"));
    ASSERT_EQ(ScanWithChangeBetweenListings([&] {
                  RemovePath(JoinPath(dir, "c_00.yuv10"));
                  RemovePath(JoinPath(dir, "c_01.yuv10"));
              }),
              0);
    EXPECT_EQ(ViewerState.FrameCount, 4);
    EXPECT_EQ(ListedNames().front(), "c_02.yuv10");
    EXPECT_EQ(ViewerState.CurrentFrame, 3);

    // Everything gone: the scan fails and nothing counts as loaded.
    EXPECT_EQ(ScanWithChangeBetweenListings([&] { RemovePath(dir); }), -1);
    EXPECT_EQ(ViewerState.FrameCount, 0);
    EXPECT_EQ(OpenCurrentFrame(), nullptr);
}

TEST(ScanSequence, PathsAtTheLengthLimit) {
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    const std::string name = "long_0001.yuv10";
    // A directory name that brings the full path to exactly 259 bytes.
    size_t pad = 259 - (JoinPath(JoinPath(dir, ""), name).size());
    ASSERT_GT(pad, 0u);
    ASSERT_LT(pad, 255u);
    std::string sub = JoinPath(dir, std::string(pad, 'd'));
    MakeDirectory(sub);
    std::string path = JoinPath(sub, name);
    ASSERT_EQ(path.size(), 259u);
    WriteBytes(path, {1});
    SetPath(path);
    ASSERT_EQ(ScanSequence(), 0);
    PlatFile f = OpenCurrentFrame();
    ASSERT_NE(f, nullptr);
    PlatCloseFile(f);
    // 260 bytes with no room for the NUL: the LoadSequence failure table.
}

TEST(OpenCurrentFrame, RefusesAFramePathThatWouldNotFit) {
    FreshViewerState(1);
    // A 240-byte directory part and a table slot holding a 20-byte name.
    std::string path(240, 'd');
    path += "\\f_1.yuv10";
    SetPath(path);
    ViewerState.NamePart = ViewerState.PathBuffer + 241;
    char table[21] = "f_123456789012345678";
    ViewerState.NameTable = (char*)PlatAllocZero(sizeof table);
    memcpy(ViewerState.NameTable, table, sizeof table);
    ViewerState.MaxNameLength = 20;
    ViewerState.FrameCount = 1;
    ViewerState.CurrentFrame = 0;
    EXPECT_EQ(OpenCurrentFrame(), nullptr);
    EXPECT_EQ(std::string(ViewerState.PathBuffer), path) << "PathBuffer must stay as it was";
}

// Code page 932: 0x95 0x5C is one character whose second byte is a backslash.
TEST(ScanSequenceShiftJis, TrailByteBackslashIsNotASeparator) {
    if (!PlatIsLeadByte(0x95)) GTEST_SKIP() << "needs the Japanese code page";
    FreshViewerState(1);
    std::string dir = MakeScratchDir();
    const std::string name = "\x95\x5C\x8E\xA6_0002.yuv10";  // "表示_0002.yuv10"
    const std::string other = "\x95\x5C\x8E\xA6_0001.yuv10";
    std::vector<uint8_t> frame(5120 * 1080, 0x80);
    WriteBytes(dir + "/" + name, frame);
    WriteBytes(dir + "/" + other, frame);
    SetPath(JoinPath(dir, name));
    ASSERT_EQ(ScanSequence(), 0);
    EXPECT_EQ(std::string(ViewerState.NamePart), name);
    EXPECT_EQ(std::string(ViewerState.PatternBuffer), JoinPath(dir, "\x95\x5C\x8E\xA6_????.yuv10"));
    EXPECT_EQ(ViewerState.FrameCount, 2);
    EXPECT_EQ(ViewerState.CurrentFrame, 1);
    PlatFile f = OpenCurrentFrame();
    ASSERT_NE(f, nullptr);
    PlatCloseFile(f);
}
