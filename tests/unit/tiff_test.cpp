// TIFF frames: files written by libtiff, and the same files with their directory
// changed, cut or moved, decoded or refused.
#include <gtest/gtest.h>

#include <fstream>

#include "core/frame_sequence.h"
#include "tests/support.h"
#include "tools/frame_pattern.h"

namespace {

Bytes Fixture(const char* name) {
    std::ifstream f(std::string(TIFF_FIXTURE_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

uint32_t Get(const Bytes& b, size_t at, int size = 4) {
    return size == 2 ? b[at] | b[at + 1] << 8
                     : b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}
void Put(Bytes& b, size_t at, uint32_t v, int size = 4) {
    for (int i = 0; i < size; ++i) b[at + i] = (uint8_t)(v >> 8 * i);
}
size_t Entry(const Bytes& b, uint16_t tag) {
    size_t ifd = Get(b, 4);
    for (size_t i = 0; i < Get(b, ifd, 2); ++i)
        if (Get(b, ifd + 2 + 12 * i, 2) == tag) return ifd + 2 + 12 * i;
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}
// Rewrites an entry: the reader ignores StripByteCounts, so its entry can become any tag.
void SetEntry(Bytes& b, uint16_t old, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    size_t at = Entry(b, old);
    Put(b, at, tag | type << 16);
    Put(b, at + 4, count);
    Put(b, at + 8, value);
}

// Strips of the same rows stored last first, the offsets following them.
Bytes Reversed(const Bytes& b) {
    Bytes out = b;
    size_t offsets = Get(b, Entry(b, 273) + 8), strips = Get(b, Entry(b, 273) + 4),
           at = Get(b, offsets);
    for (size_t i = strips; i-- > 0;) {
        size_t from = Get(b, offsets + 4 * i),
               to = i + 1 < strips ? Get(b, offsets + 4 * i + 4) : from + 11520 * 56;
        std::copy(b.begin() + from, b.begin() + to, out.begin() + at);
        Put(out, offsets + 4 * i, (uint32_t)at);
        at += to - from;
    }
    return out;
}

// libtiff writes the directory after the pixels; the fixture's pixels behind a directory
// of their own, whose one tag is StripOffsets, end the file, so that a cut can fall among them.
Bytes DirectoryFirst(const Bytes& b) {
    Bytes t = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 17, 1, 4, 0, 1, 0, 0, 0, 26, 0, 0, 0, 0, 0, 0, 0};
    const uint8_t* pixels = &b[Get(b, Entry(b, 273) + 8)];
    t.insert(t.end(), pixels, pixels + 11520 * 1080);
    return t;
}

// The fixture with a second directory at its end: its entries, then tags the reader does not
// know up to more entries than one read brings.
Bytes ManyEntries(const Bytes& b) {
    size_t ifd = Get(b, 4), count = Get(b, ifd, 2), at = b.size();
    const size_t entries = LINE_BUFFER_SIZE / 12 + 40;  // the reader reads them in LineBuffer
    Bytes t = b;
    t.insert(t.end(), b.begin() + ifd, b.begin() + ifd + 2 + 12 * count);
    t.resize(at + 2 + 12 * entries + 4);
    for (size_t i = count; i < entries; ++i) Put(t, at + 2 + 12 * i, 65000 | 3 << 16);
    Put(t, at, (uint32_t)entries, 2);
    Put(t, 4, (uint32_t)at);
    return t;
}

// Loads the file as a one-frame sequence over a picture where rows left alone would show;
// readsLeft and seeksLeft make one call of the decode fail. 0: shown; -1: refused with the
// invalid-file box and nothing loaded.
int Decode(const Bytes& b, int scale, int readsLeft = -1, int seeksLeft = -1) {
    std::string path = Join(ScratchDir(), "clip_0001.tif");
    WriteBytes(path, b);
    Fresh(scale);
    SetPath(path);
    Scribble();
    hooks::ReadsLeft = readsLeft;
    hooks::SeeksLeft = seeksLeft;
    LoadSequence();
    const std::vector<std::string> invalid = {"Error: 不正なファイルです!"};
    return ViewerState.FrameCount == 1 && hooks::Errors.empty()      ? 0
           : ViewerState.FrameCount == 0 && hooks::Errors == invalid ? -1
                                                                     : -2;
}

// The high bytes of the fixtures' samples at the current scale; file rows from blackFrom
// to blackTo black.
Bytes Expected(size_t blackFrom = 1080, size_t blackTo = 1080) {
    static const std::vector<uint16_t> rgb = MakeRgb48Frame(3);
    int k = 1 << ViewerState.ScaleShift;
    return ScaledPicture(ViewerState.ScaleShift, [&](size_t row, uint8_t* out) {
        for (int x = 0; (row < blackFrom || row >= blackTo) && x < 1920 / k; ++x)
            for (int c = 0; c < 3; ++c)
                out[x * 4 + c] = (uint8_t)(rgb[(row * 1920 + x * k) * 3 + 2 - c] >> 8);
    });
}

}  // namespace

TEST(Tiff, FilesOfThisKindDecodeToTheHighBytesAtEveryScale) {
    // unsigned.tif: from raw2tiff, strips of one row and a SampleFormat 1 for each sample.
    const Bytes one = Fixture("one_strip.tif"),
                cases[] = {one, Fixture("unsigned.tif"), Fixture("strips64.tif"),
                           ManyEntries(Reversed(Fixture("strips64.tif"))), DirectoryFirst(one)};
    for (const Bytes& c : cases)
        for (int scale = 0; scale <= 2; ++scale) {
            ASSERT_EQ(Decode(c, scale), 0) << &c - cases;
            EXPECT_TRUE(Picture() == Expected()) << "case " << &c - cases << " scale " << scale;
        }
}

TEST(Tiff, OtherFilesAreRefusedWithThePictureUntouched) {
    const Bytes one = Fixture("one_strip.tif"), many = Fixture("unsigned.tif");
    const uint32_t size = (uint32_t)one.size(), ifd = Get(one, 4),
                   array = Get(many, Entry(many, 273) + 8);
    const struct {
        const char* what;
        const Bytes& base;
        std::function<void(Bytes&)> change;
    } cases[] = {
        {"big-endian", Fixture("big_endian.tif"), [](Bytes&) {}},
        {"LZW", Fixture("lzw.tif"), [](Bytes&) {}},
        {"1919 wide", one, [](Bytes& b) { SetEntry(b, 279, 256, 3, 1, 1919); }},
        {"2 GiB + 1920 wide", one, [](Bytes& b) { SetEntry(b, 279, 256, 4, 1, 0x80000780u); }},
        {"1081 high", one, [](Bytes& b) { SetEntry(b, 279, 257, 4, 1, 1081); }},
        {"8 bits", one, [](Bytes& b) { SetEntry(b, 279, 258, 3, 1, 8); }},
        {"two bit depths", one, [](Bytes& b) { SetEntry(b, 279, 258, 3, 2, 16 | 16 << 16); }},
        {"not RGB", one, [](Bytes& b) { SetEntry(b, 279, 262, 3, 1, 1); }},
        {"FillOrder 2", one, [](Bytes& b) { SetEntry(b, 279, 266, 3, 1, 2); }},
        {"4 samples", one, [](Bytes& b) { SetEntry(b, 279, 277, 3, 1, 4); }},
        {"signed", Fixture("signed.tif"), [](Bytes&) {}},
        {"one float sample", many, [](Bytes& b) { Put(b, Get(b, Entry(b, 339) + 8) + 4, 3, 2); }},
        {"floats", one, [](Bytes& b) { SetEntry(b, 279, 339, 3, 1, 3); }},
        {"planar", one, [](Bytes& b) { SetEntry(b, 279, 284, 3, 1, 2); }},
        {"0 rows a strip", one, [](Bytes& b) { SetEntry(b, 279, 278, 3, 1, 0); }},
        {"RATIONAL width", one, [](Bytes& b) { SetEntry(b, 279, 256, 5, 1, 1920); }},
        {"no StripOffsets", one, [](Bytes& b) { SetEntry(b, 273, 279, 4, 1, 8); }},
        {"0 entries", one, [=](Bytes& b) { Put(b, ifd, 0, 2); }},
        {"directory past the end", one, [=](Bytes& b) { Put(b, 4, size); }},
        {"directory running past the end", one, [=](Bytes& b) { Put(b, 4, size - 20); }},
        {"directory at 2 GiB", one, [](Bytes& b) { Put(b, 4, 0x80000000u); }},
        {"pixels past the end", one, [=](Bytes& b) { SetEntry(b, 273, 273, 4, 1, size); }},
        {"pixels at 4 GiB - 1", one, [](Bytes& b) { SetEntry(b, 273, 273, 4, 1, 0xFFFFFFFFu); }},
        {"offsets running past the end", many,
         [](Bytes& b) { SetEntry(b, 273, 273, 4, 1080, (uint32_t)b.size() - 400); }},
        {"offsets at 3 GiB", many, [](Bytes& b) { SetEntry(b, 273, 273, 4, 1080, 0xC0000000u); }},
        {"too few offsets", many, [=](Bytes& b) { SetEntry(b, 273, 273, 4, 1079, array); }},
        {"cut in the header", one, [](Bytes& b) { b.resize(6); }},
        {"cut in the directory", one, [=](Bytes& b) { b.resize(ifd + 2 + 12 * 5); }},
    };
    Fresh(1);
    const Bytes scribbled = Scribble();
    for (const auto& c : cases) {
        Bytes b = c.base;
        c.change(b);
        EXPECT_EQ(Decode(b, 1), -1) << c.what;
        EXPECT_TRUE(Picture() == scribbled) << c.what;
    }
    // A failed seek or read in the header, the directory or the offsets refuses the file too.
    for (auto [base, reads, seeks] :
         {std::tuple<const Bytes&, int, int>{one, -1, 0}, {one, 2, -1}, {many, 3, -1}}) {
        EXPECT_EQ(Decode(base, 1, reads, seeks), -1) << reads;
        EXPECT_TRUE(Picture() == scribbled) << reads;
    }
}

// Rows a file does not hold, and rows after a failed read or seek, are black: they never
// keep an older picture, even when later calls would work again.
TEST(Tiff, MissingAndUnreadableRowsAreBlack) {
    Bytes first = DirectoryFirst(Fixture("one_strip.tif")), cut = first;
    cut.resize(cut.size() - 11520 * 580 + 5000);  // in the middle of file row 500
    for (int scale = 0; scale <= 2; ++scale) {
        ASSERT_EQ(Decode(cut, scale), 0);
        EXPECT_TRUE(Picture() == Expected(500)) << scale;
    }
    // Header, entry count and entries come first, then a read a block of rows.
    ASSERT_EQ(Decode(first, 0, 3 + 40), 0);
    EXPECT_TRUE(Picture() == Expected(40 * (READ_BLOCK_SIZE / 11520)));
    // Strips of 64 rows stored last first: the offsets and bit depths are sought, then
    // every strip; the fifth strip's seek (row 256) fails.
    ASSERT_EQ(Decode(Reversed(Fixture("strips64.tif")), 0, -1, 4 + 4), 0);
    EXPECT_TRUE(Picture() == Expected(256));
    // A strip that lies past the end is black; the strips after it are read.
    Bytes gap = Fixture("strips64.tif");
    Put(gap, Get(gap, Entry(gap, 273) + 8) + 4 * 2, (uint32_t)gap.size());
    ASSERT_EQ(Decode(gap, 0), 0);
    EXPECT_TRUE(Picture() == Expected(128, 192));
}
