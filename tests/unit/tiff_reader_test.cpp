#include <gtest/gtest.h>

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"

// Lists the frame's sequence and decodes it at the given scale over a scribbled picture.
static int Decode(const std::string& path, int scale) {
    FreshViewerState(scale);
    SetPath(path);
    if (ScanSequence() != 0) return -2;
    EXPECT_EQ(ViewerState.IsTiff, 1);
    ScribbleOnPicture();
    return ReadTiffFrame();
}

// A hand-built file in its own directory, decoded at the given scale.
static int DecodeHandBuilt(const HandTiff& t, const std::vector<uint8_t>& bytes, int scale) {
    std::string path = JoinPath(MakeScratchDir(), "hand_0001.tif");
    WriteHandTiff(path, t, bytes);
    return Decode(path, scale);
}

// A refused file leaves the picture as it was.
static void ExpectRefused(int result, const std::string& what) {
    EXPECT_EQ(result, -1) << what;
    EXPECT_EQ(ViewerState.FrameImage.Pixels[0], 0x55) << what << ": picture touched";
}

TEST(TiffReader, LibtiffFramesDecodeToTheHighBytesAtEveryScale) {
    struct Case {
        const char* name;
        int frame;
    } const cases[] = {
        {"one_strip_0003.tif", 3},     // one strip, directory after the pixels
        {"strips_0005.tif", 5},        // libtiff's default: one row a strip, 1080 offsets
        {"strips64_0009.tif", 9},      // 64 rows a strip, the last strip short
        {"short_offset_0007.tif", 7},  // StripOffsets SHORT, count 1, in the value field
    };
    for (const Case& c : cases) {
        for (int scale = 0; scale <= 2; ++scale) {
            ASSERT_EQ(Decode(TiffFixture(c.name), scale), 0) << c.name;
            EXPECT_EQ(PictureMismatches(c.frame), 0) << c.name << " scale " << scale;
        }
    }
}

TEST(TiffReader, FilesThatAreNotThisKindOfTiffAreRefused) {
    // Planar and FillOrder 2 files are refused by their tags below, tiled ones (no
    // StripOffsets) in the LoadSequence test.
    for (const char* name :
         {"big_endian_0000.tif", "lzw_0000.tif", "rgb8_0000.tif", "hd720_0000.tif"})
        ExpectRefused(Decode(TiffFixture(name), 1), name);
}

TEST(TiffReader, HandBuiltLayoutsLibtiffDoesNotWrite) {
    HandTiff reversed;  // strips of 100 rows stored last first, the last one short
    reversed.frame = 11;
    reversed.rowsPerStrip = 100;
    reversed.reverseStrips = true;

    HandTiff bare;  // StripOffsets alone: every other property taken as the fixed one
    bare.frame = 12;
    bare.entries.clear();

    HandTiff crowded;  // StripOffsets the last of 65535 entries, directory before pixels
    crowded.frame = 13;
    crowded.entries.resize(65534, TiffEntry{65000, 3, 1, 7});

    for (const HandTiff* t : {&reversed, &bare, &crowded}) {
        std::vector<uint8_t> bytes = BuildTiff(*t);
        for (int scale = 0; scale <= 2; ++scale) {
            ASSERT_EQ(DecodeHandBuilt(*t, bytes, scale), 0) << "frame " << t->frame;
            EXPECT_EQ(PictureMismatches(t->frame), 0) << "frame " << t->frame;
        }
    }
}

TEST(TiffReader, TagsThatDescribeAnotherPictureAreRefused) {
    const TiffEntry wrong[] = {
        {256, 3, 1, 1919}, {257, 4, 1, 1081}, {258, 3, 1, 8},  {259, 3, 1, 32773},
        {262, 3, 1, 1},    {266, 3, 1, 2},    {277, 3, 1, 4},  {284, 3, 1, 2},
        {278, 3, 1, 0},    {256, 5, 1, 1920},  // RATIONAL width
        {258, 3, 2, 16},   // two bit depths for three samples
    };
    for (const TiffEntry& e : wrong) {
        HandTiff t;
        t.entries.push_back(e);
        ExpectRefused(DecodeHandBuilt(t, BuildTiff(t), 0),
                      "tag " + std::to_string(e.tag) + " = " + std::to_string(e.value));
    }
}

TEST(TiffReader, BrokenDirectoriesAndOffsetsOutsideTheFileAreRefused) {
    HandTiff one;
    HandTiff many;
    many.rowsPerStrip = 1;
    std::vector<uint8_t> good = BuildTiff(one), goodMany = BuildTiff(many);
    uint32_t size = (uint32_t)good.size(), sizeMany = (uint32_t)goodMany.size();
    size_t value = StripOffsetsValueAt(good), valueMany = StripOffsetsValueAt(goodMany);

    struct Case {
        const char* what;
        const std::vector<uint8_t>* base;
        size_t at;  // where to put value; SIZE_MAX: cut the file to value bytes
        uint32_t value;
    } const cases[] = {
        {"wrong magic", &good, 0, 0x002B4949},
        {"entry count 0", &good, 8, 0},
        {"directory past the end", &good, 4, size},
        {"directory running past the end", &good, 4, size - 20},
        {"directory at 2 GiB", &good, 4, 0x80000000u},
        {"pixels past the end", &good, value, size},
        {"pixels at 2 GiB", &good, value, 0x80000000u},
        {"pixels at 4 GiB - 1", &good, value, 0xFFFFFFFFu},
        {"offsets array running past the end", &goodMany, valueMany, sizeMany - 400},
        {"offsets array at 3 GiB", &goodMany, valueMany, 0xC0000000u},
        {"too few strip offsets", &goodMany, valueMany - 4, 1079},
        {"empty file", &good, SIZE_MAX, 0},
        {"cut inside the header", &good, SIZE_MAX, 6},
        {"cut inside the directory", &good, SIZE_MAX, 8 + 2 + 12 * 5},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = *c.base;
        if (c.at == SIZE_MAX) bytes.resize(c.value);
        else if (c.at == 8) bytes[8] = bytes[9] = 0;  // the count is 16-bit
        else Put32At(bytes, c.at, c.value);
        ExpectRefused(DecodeHandBuilt(HandTiff(), bytes, 0), c.what);
    }
}

TEST(TiffReader, RowsMissingFromAShortFileAreBlack) {
    // Cut in the middle of file row 500: that row and all below it are black, at every
    // scale, also where the scribbled picture had other pixels.
    HandTiff t;
    t.frame = 21;
    std::vector<uint8_t> bytes = BuildTiff(t);
    size_t pixelsAt = bytes.size() - 11520 * 1080;
    bytes.resize(pixelsAt + 11520 * 500 + 5000);
    for (int scale = 0; scale <= 2; ++scale) {
        ASSERT_EQ(DecodeHandBuilt(t, bytes, scale), 0);
        EXPECT_EQ(PictureMismatches(t.frame, 500), 0) << "scale " << scale;
    }

    // Strips stored last first, file cut after the first stored strip (rows 1000..1079):
    // only those rows are shown.
    HandTiff reversed;
    reversed.frame = 22;
    reversed.rowsPerStrip = 1000;
    reversed.reverseStrips = true;
    bytes = BuildTiff(reversed);
    bytes.resize(bytes.size() - 11520 * 1000);
    ASSERT_EQ(DecodeHandBuilt(reversed, bytes, 0), 0);
    long shownRows = 0;
    for (int top = 0; top < 1080; ++top) shownRows += PixelAt(5, top)[2] != 0;
    EXPECT_EQ(shownRows, 80);
}

TEST(TiffReader, RowsAfterAReadErrorAreBlack) {
    HandTiff t;
    t.frame = 23;
    t.entries.clear();  // no BitsPerSample array to read: header, count, entries, rows
    std::vector<uint8_t> bytes = BuildTiff(t);
    std::string path = JoinPath(MakeScratchDir(), "err_0001.tif");
    WriteHandTiff(path, t, bytes);
    FreshViewerState(0);
    SetPath(path);
    ASSERT_EQ(ScanSequence(), 0);
    ScribbleOnPicture();
    testing_hooks::ReadsBeforeFailure = 3 + 300;
    EXPECT_EQ(ReadTiffFrame(), 0);
    EXPECT_EQ(PictureMismatches(t.frame, 300), 0);
    testing_hooks::Reset();
}

TEST(TiffReader, OffsetsAboveTwoGibibytesAreReachable) {
    // A sparse file: pixels at 2.25 GiB, the directory after them.
    HandTiff t;
    t.frame = 31;
    t.base = 0x90000000u;
    t.directoryLast = true;
    std::string path = JoinPath(MakeScratchDir(), "far_0001.tif");
    WriteHandTiff(path, t, BuildTiff(t));
    for (int scale = 0; scale <= 2; scale += 2) {
        ASSERT_EQ(Decode(path, scale), 0);
        EXPECT_EQ(PictureMismatches(t.frame), 0) << "scale " << scale;
    }
    RemovePath(path);
}
