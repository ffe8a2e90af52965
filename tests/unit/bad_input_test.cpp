// Every kind of bad input of docs/bad-input.md, opened the way the viewer opens a file
// (PathBuffer, then LoadSequence): which box the user sees, whether a sequence is
// loaded, and what the picture shows afterwards.
#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"

namespace {

// Compared with the same literals the core uses, so both are in the build's code page.
const char CANNOT_OPEN[] = "ファイルをオープンできません!";
const char INVALID[] = "不正なファイルです!";

enum Picture { KEPT, SHOWN };

struct Row {
    const char* what;
    // Writes the files into dir; returns the path the user names.
    std::function<std::string(const std::string& dir)> make;
    const char* message;  // nullptr: no box
    Picture picture;
    int blackFrom;  // SHOWN: the first black picture row (from the top) at quarter size
};

std::vector<uint8_t> Yuv10(size_t bytes) {
    std::vector<uint8_t> data(bytes);
    for (size_t i = 0; i < bytes; ++i) data[i] = (uint8_t)(0x40 + i % 7);
    return data;
}

std::string Write(const std::string& dir, const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = JoinPath(dir, name);
    WriteBytes(path, bytes);
    return path;
}

// A hand-built TIFF after `change` has edited its bytes.
std::string Tiff(const std::string& dir, std::function<void(std::vector<uint8_t>&)> change,
                 HandTiff t = HandTiff()) {
    std::vector<uint8_t> bytes = BuildTiff(t);
    change(bytes);
    return Write(dir, "frame_0001.tif", bytes);
}

// A hand-built TIFF whose standard entries at the given places are replaced.
std::function<std::string(const std::string&)> TiffWith(std::vector<std::pair<size_t, TiffEntry>> changes) {
    return [=](const std::string& dir) {
        HandTiff t;
        for (const auto& c : changes) t.entries[c.first] = c.second;
        return Tiff(dir, [](std::vector<uint8_t>&) {}, t);
    };
}

bool RowIs(int top, uint8_t value) {
    const uint8_t* p = PixelAt(0, top);
    for (int x = 0; x < FrameImageWidth(); ++x, p += 4)
        if (p[0] != value || p[1] != value || p[2] != value) return false;
    return true;
}

// Picture rows of a whole frame at quarter size: file rows 3, 7, ... 1079.
int QuarterRowsOf(size_t wholeFileRows) { return (int)(wholeFileRows / 4); }

}  // namespace

TEST(BadInput, EveryRowOfTheTableShowsWhatItSays) {
    const size_t yuvRow = YUV10_ROW_BYTES, tiffRow = 1920 * 6;
    const Row rows[] = {
        {"path of 260 bytes or more",
         [](const std::string&) { return std::string(300, 'a'); }, CANNOT_OPEN, KEPT, 0},
        {"empty path", [](const std::string&) { return std::string(); }, CANNOT_OPEN, KEPT, 0},
        {"no file fits the name",
         [](const std::string& d) { return JoinPath(d, "none_0001.yuv10"); }, CANNOT_OPEN, KEPT, 0},
        {"directory does not exist",
         [](const std::string& d) { return JoinPath(JoinPath(d, "gone"), "a_0001.yuv10"); },
         CANNOT_OPEN, KEPT, 0},
        {"named entry is a directory",
         [](const std::string& d) {
             MakeDirectory(JoinPath(d, "clip_0001.yuv10"));
             return JoinPath(d, "clip_0001.yuv10");
         },
         INVALID, KEPT, 0},
#ifndef _WIN32  // the ANSI file calls cannot make a file whose path passes 259 bytes
        {"wildcard in the name, first match's path too long",
         [](const std::string& d) {
             // The listed name is longer than the named one, so its full path passes 259.
             std::string dir = JoinPath(d, std::string(245 - d.size(), 'd'));
             MakeDirectory(dir);
             Write(dir, "c_0000000001.yuv10", Yuv10(yuvRow));
             return JoinPath(dir, "c*.yuv10");
         },
         INVALID, KEPT, 0},
#endif
        {"YUV10 file of 0 bytes",
         [](const std::string& d) { return Write(d, "clip_0001.yuv10", {}); }, nullptr, SHOWN, 0},
        {"YUV10 file cut in row 100",
         [=](const std::string& d) { return Write(d, "clip_0001.yuv10", Yuv10(yuvRow * 100 + 77)); },
         nullptr, SHOWN, QuarterRowsOf(100)},
        {"YUV10 file longer than a frame",
         [](const std::string& d) { return Write(d, "clip_0001.yuv10", Yuv10(YUV10_FRAME_BYTES + 999)); },
         nullptr, SHOWN, 270},
        {"TIFF file of 0 bytes",
         [](const std::string& d) { return Write(d, "frame_0001.tif", {}); }, INVALID, KEPT, 0},
        {"TIFF big-endian (MM)",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) { memcpy(b.data(), "MM\0*", 4); });
         },
         INVALID, KEPT, 0},
        {"TIFF wrong magic (a text file)",
         [](const std::string& d) {
             return Write(d, "frame_0001.tif", std::vector<uint8_t>(100, 'x'));
         },
         INVALID, KEPT, 0},
        {"TIFF without StripOffsets",
         [](const std::string& d) {
             // Tag 273 renamed: nothing tells where the pixels are.
             return Tiff(d, [](std::vector<uint8_t>& b) {
                 size_t at = StripOffsetsValueAt(b) - 8;
                 b[at] = 0x12;
                 b[at + 1] = 0x01;
             });
         },
         INVALID, KEPT, 0},
        // The standard entries: 0 width, 1 length, 2 bits, 3 compression.
        {"TIFF compressed (LZW)", TiffWith({{3, {259, 3, 1, 5}}}), INVALID, KEPT, 0},
        {"TIFF of another size (1280 x 720)",
         TiffWith({{0, {256, 3, 1, 1280}}, {1, {257, 3, 1, 720}}}), INVALID, KEPT, 0},
        {"TIFF of 8-bit samples", TiffWith({{2, {258, 3, 1, 8}}}), INVALID, KEPT, 0},
        {"TIFF directory offset past the end",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) { Put32At(b, 4, (uint32_t)b.size() + 1); });
         },
         INVALID, KEPT, 0},
        {"TIFF pixel offset past the end",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) {
                 Put32At(b, StripOffsetsValueAt(b), (uint32_t)b.size());
             });
         },
         INVALID, KEPT, 0},
        {"TIFF pixel offset at 2 GiB in a small file",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) {
                 Put32At(b, StripOffsetsValueAt(b), 0x80000000u);
             });
         },
         INVALID, KEPT, 0},
        {"TIFF directory offset at 4 GiB - 1",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) { Put32At(b, 4, 0xFFFFFFFFu); });
         },
         INVALID, KEPT, 0},
        {"TIFF cut inside the header",
         [](const std::string& d) {
             return Tiff(d, [](std::vector<uint8_t>& b) { b.resize(6); });
         },
         INVALID, KEPT, 0},
        {"TIFF cut in row 500 of the pixels",
         [=](const std::string& d) {
             return Tiff(d, [=](std::vector<uint8_t>& b) { b.resize(b.size() - tiffRow * 580 + 10); });
         },
         nullptr, SHOWN, QuarterRowsOf(500)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreshViewerState(2);
        std::string path = row.make(MakeScratchDir());
        if (path.size() < PATH_BUFFER_SIZE) SetPath(path);
        else memset(ViewerState.PathBuffer, 'a', PATH_BUFFER_SIZE);  // no NUL at all
        ScribbleOnPicture();
        LoadSequence();

        if (row.message) {
            ASSERT_EQ(testing_hooks::ShownErrors.size(), 1u);
            EXPECT_EQ(testing_hooks::ShownErrors[0].text, row.message);
            EXPECT_EQ(ViewerState.FrameCount, 0);
        } else {
            EXPECT_TRUE(testing_hooks::ShownErrors.empty());
            EXPECT_GT(ViewerState.FrameCount, 0);
        }
        EXPECT_EQ(ViewerState.Step, 0);
        for (int top = 0; top < FrameImageHeight(); ++top) {
            bool ok = row.picture == KEPT  ? RowIs(top, 0x55)
                      : top < row.blackFrom ? !RowIs(top, 0x55) && !RowIs(top, 0)
                                            : RowIs(top, 0);
            ASSERT_TRUE(ok) << "picture row " << top;
        }
    }
}

// Opens s_0002.yuv10 of dir with `change` made between the counting and the filling
// listing; returns the boxes shown.
static size_t LoadWithChangeBetweenListings(const std::string& dir, std::function<void()> change) {
    testing_hooks::ShownErrors.clear();
    int listings = 0;
    testing_hooks::AfterListing = [&] {
        if (listings++ == 0) change();
    };
    SetPath(JoinPath(dir, "s_0002.yuv10"));
    LoadSequence();
    testing_hooks::AfterListing = nullptr;
    return testing_hooks::ShownErrors.size();
}

TEST(BadInput, FilesChangingBetweenTheTwoListings) {
    FreshViewerState(2);
    std::string dir = MakeScratchDir();
    auto path = [&](int i) { return JoinPath(dir, "s_000" + std::to_string(i) + ".yuv10"); };
    for (int i = 1; i <= 3; ++i) WriteBytes(path(i), Yuv10(16));

    // Added after the counting listing: left out, the table holds what it was sized for.
    EXPECT_EQ(LoadWithChangeBetweenListings(dir, [&] { WriteBytes(path(0), Yuv10(16)); }), 0u);
    EXPECT_EQ(ViewerState.FrameCount, 3);

    // Removed after the counting listing: the count is what the second listing found.
    EXPECT_EQ(LoadWithChangeBetweenListings(dir, [&] { RemovePath(path(3)); }), 0u);
    EXPECT_EQ(ViewerState.FrameCount, 3);

    // Everything removed in between: nothing to open.
    EXPECT_EQ(LoadWithChangeBetweenListings(dir, [&] {
                  for (int i = 0; i <= 3; ++i) RemovePath(path(i));
              }),
              1u);
    EXPECT_EQ(testing_hooks::ShownErrors[0].text, CANNOT_OPEN);
    EXPECT_EQ(ViewerState.FrameCount, 0);
}
