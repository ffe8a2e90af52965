// The pattern a name gives, and the memory of the picture. Listings are the scan fuzz
// target's; loads, also failed ones, are the window tests'.
#include <gtest/gtest.h>

#include "core/frame_sequence.h"
#include "tests/support.h"

TEST(ScanSequence, PatternFormatAndNamePart) {
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"D:\\a/b\\clip_0042.yuv10", "D:\\a/b\\clip_????.yuv10", 0, "clip_0042.yuv10"},
        {"D:\\seq\\still.tif", "D:\\seq\\still.tif", 1, "still.tif"},
        {"\\cam2_take3_0001.tif", "\\cam2_take3_????.tif", 1, "cam2_take3_0001.tif"},
        {"D:\\seq\\0001.TIF", "D:\\seq\\????.TIF", 1, "0001.TIF"},
        {"x_01.ti", "x_??.ti", 0, "x_01.ti"},
        {"take_01.0042.tif", "take_01.????.tif", 1, "take_01.0042.tif"},  // the last dot counts
        {"D:\\v2.tif\\0042", "D:\\v2.tif\\0042", 0, "0042"},
        // One character in code page 932, which the unit tests run with: 0x5C is no separator.
        {"D:\\\x95\x5C_0002.yuv10", "D:\\\x95\x5C_????.yuv10", 0, "\x95\x5C_0002.yuv10"}};
    for (const auto& [path, pattern, isTiff, name] : cases) {
        Fresh(1);
        ViewerState.IsTiff = 1;  // an earlier TIFF sequence must not leak into this one
        ViewerState.Step = 3;
        SetPath(path);
        LoadSequence();  // none of these exists: the pattern counts, and one box, paused
        EXPECT_EQ(hooks::Errors, std::vector<std::string>{"Error: ファイルをオープンできません!"});
        EXPECT_EQ(ViewerState.Step, 0);
        EXPECT_EQ(std::make_tuple(std::string(ViewerState.PatternBuffer), ViewerState.IsTiff,
                                  std::string(ViewerState.NamePart)),
                  std::make_tuple(std::string(pattern), isTiff, std::string(name)));
    }
    EXPECT_TRUE(NameFitsPattern("ZA.b.TIF", "za*.tif") &&
                NameFitsPattern("\x95\x5C_0002.yuv10", "\x95\x5C_????.yuv10"));
    EXPECT_FALSE(NameFitsPattern("\x95\x5D_0002.yuv10", "\x95\x5C_????.yuv10"));
    EXPECT_FALSE(
        NameFitsPattern(std::string(200, 'a').c_str(), (std::string(120, '*') + "b").c_str()));
}

// The header the window hands to SetDIBitsToDevice, at quarter size. Without LineBuffer, or
// for a size the viewer does not have, there is no picture. (What stays when memory runs
// out for a new size is the window tests'.)
TEST(ResetFrameImage, GivesTheBitmapHeaderAndNeedsLineBufferAndAKnownSize) {
    Fresh(2);
    const FrameImageHeader& h = ViewerState.FrameImage.Header;
    EXPECT_EQ(std::vector<int64_t>({h.biSize, h.biWidth, h.biHeight, h.biPlanes, h.biBitCount,
                                    h.biCompression, h.biSizeImage, h.biClrUsed, h.bmiColors0}),
              std::vector<int64_t>({40, 480, 270, 1, 32, 0, 0, 0, 0}));
    PlatFree(ViewerState.LineBuffer);
    ViewerState.LineBuffer = nullptr;
    hooks::AllocsLeft = 0;
    EXPECT_EQ(ResetFrameImage(), -1);
    ViewerState.ScaleShift = 3;
    EXPECT_EQ(ResetFrameImage(), -1);
}
