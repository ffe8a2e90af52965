#include <gtest/gtest.h>
#include <string.h>

#include <random>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "tests/unit/test_support.h"

namespace {

struct Rgb {
    int r, g, b;
};

// The test's own reading of the format: four big-endian words of three 10-bit fields,
// in the order Cb0 Y0 Cr0 / Y1 Cb1 Y2 / Cr1 Y3 Cb2 / Y4 Cr2 Y5; 8 bits kept of each.
void UnpackByWords(const uint8_t* g, int Y[6], int Cb[3], int Cr[3]) {
    int f[12];
    for (int w = 0; w < 4; ++w) {
        uint32_t word = (uint32_t)g[4 * w] << 24 | (uint32_t)g[4 * w + 1] << 16 |
                        (uint32_t)g[4 * w + 2] << 8 | g[4 * w + 3];
        f[3 * w] = (int)(word >> 22) & 1023;
        f[3 * w + 1] = (int)(word >> 12) & 1023;
        f[3 * w + 2] = (int)(word >> 2) & 1023;
    }
    const int yAt[6] = {1, 3, 5, 7, 9, 11}, cbAt[3] = {0, 4, 8}, crAt[3] = {2, 6, 10};
    for (int i = 0; i < 6; ++i) Y[i] = f[yAt[i]] >> 2;
    for (int i = 0; i < 3; ++i) Cb[i] = f[cbAt[i]] >> 2, Cr[i] = f[crAt[i]] >> 2;
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

Rgb Convert(int Y, int Cb, int Cr) {
    int y = (Y - 16) * 76309, cb = Cb - 128, cr = Cr - 128;
    return {Clamp((y + 117504 * cr) >> 16), Clamp((y - 34903 * cr - 13954 * cb) >> 16),
            Clamp((y + 138453 * cb) >> 16)};
}

Rgb ExpectedPixel(const std::vector<uint8_t>& frame, int fileRow, int x) {
    int Y[6], Cb[3], Cr[3];
    UnpackByWords(&frame[(size_t)fileRow * 5120 + 16 * (x / 6)], Y, Cb, Cr);
    int j = x % 6;
    return Convert(Y[j], Cb[j / 2], Cr[j / 2]);
}

// Packs 8-bit sample values into one group, the low two bits of each field zero.
std::vector<uint8_t> PackGroup(const int Y[6], const int Cb[3], const int Cr[3]) {
    const int fields[12] = {Cb[0], Y[0], Cr[0], Y[1], Cb[1], Y[2],
                            Cr[1], Y[3], Cb[2], Y[4], Cr[2], Y[5]};
    std::vector<uint8_t> g(16);
    for (int w = 0; w < 4; ++w) {
        uint32_t word = (uint32_t)fields[3 * w] << 24 | (uint32_t)fields[3 * w + 1] << 14 |
                        (uint32_t)fields[3 * w + 2] << 4;
        for (int b = 0; b < 4; ++b) g[4 * w + b] = (uint8_t)(word >> (24 - 8 * b));
    }
    return g;
}

std::vector<uint8_t> RowOfGroup(const std::vector<uint8_t>& group) {
    std::vector<uint8_t> row;
    for (int i = 0; i < 320; ++i) row.insert(row.end(), group.begin(), group.end());
    return row;
}

std::vector<uint8_t> RandomFrame(unsigned seed, size_t bytes = YUV10_FRAME_BYTES) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> f(bytes);
    for (auto& b : f) b = (uint8_t)rng();
    return f;
}

// Writes a one-frame sequence and decodes it at the scale the state was made with;
// withoutBlock: with no memory for the reader's block buffer.
int DecodeFile(const std::vector<uint8_t>& bytes, bool withoutBlock = false) {
    std::string path = JoinPath(MakeScratchDir(), "clip_0001.yuv10");
    WriteBytes(path, bytes);
    SetPath(path);
    if (ScanSequence() != 0) return -2;
    if (withoutBlock) {
        ReleaseYuv10Block();
        testing_hooks::AllocationsBeforeFailure = 0;
    }
    int result = ReadYuv10Frame();
    testing_hooks::AllocationsBeforeFailure = -1;
    return result;
}

void ExpectPixel(const uint8_t* p, Rgb want, const char* what) {
    EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{want.b, want.g, want.r, 0})) << what;
}

}  // namespace

TEST(Yuv10Conversion, KnownValues) {
    struct Case {
        int Y, Cb, Cr;
        Rgb want;
        const char* what;
    } cases[] = {
        {0, 0, 0, {0, 76, 0}, "all-zero samples"},
        {235, 128, 128, {254, 254, 254}, "white truncates to 254"},
        {16, 128, 128, {0, 0, 0}, "black"},
        {81, 90, 240, {255, 24, 0}, "red and blue clamped"},
    };
    for (const Case& c : cases) {
        const int Y[6] = {c.Y, c.Y, c.Y, c.Y, c.Y, c.Y}, Cb[3] = {c.Cb, c.Cb, c.Cb},
                  Cr[3] = {c.Cr, c.Cr, c.Cr};
        std::vector<uint8_t> row = RowOfGroup(PackGroup(Y, Cb, Cr));
        // The reference; every kernel is compared with it below.
        uint8_t ref[1920 * 4] = {};
        DecodeYuv10RowReference(row.data(), ref, 0);
        for (int x = 0; x < 1920; x += 479) ExpectPixel(ref + 4 * x, c.want, c.what);
    }
}

TEST(Yuv10Conversion, FirstByteCarriesOnlyTheFirstCb) {
    std::vector<uint8_t> group(16, 0);
    group[0] = 0xFF;
    std::vector<uint8_t> row = RowOfGroup(group);
    uint8_t out[1920 * 4] = {};
    DecodeYuv10Row(row.data(), out, 0);
    for (int x = 0; x < 6; ++x)
        ExpectPixel(out + 4 * x, Convert(0, x < 2 ? 255 : 0, 0), "pixel of the first group");
}

TEST(Yuv10Conversion, EveryRowKernelAgreesWithTheReferenceOnRandomRows) {
    struct Kernel {
        void (*decode)(const uint8_t*, uint8_t*, int);
        const char* name;
    };
    std::vector<Kernel> kernels = {{DecodeYuv10RowTables, "tables"}, {DecodeYuv10Row, "chosen"}};
    if (Yuv10Ssse3Available()) kernels.push_back({DecodeYuv10RowSsse3, "ssse3"});

    std::mt19937 rng(7);
    for (int trial = 0; trial < 60; ++trial) {
        // Random bytes, and rows of extremes where clamping decides every channel.
        std::vector<uint8_t> row(5120);
        for (auto& b : row) b = (uint8_t)rng();
        if (trial == 0) std::fill(row.begin(), row.end(), 0x00);
        if (trial == 1) std::fill(row.begin(), row.end(), 0xFF);
        if (trial == 2)
            for (size_t i = 0; i < row.size(); ++i) row[i] = i % 2 ? 0xFF : 0x00;
        for (int shift = 0; shift <= 2; ++shift) {
            // Zero-filled like the frame image, whose fourth bytes are all 0. Unaligned,
            // with room either side: a wide store must not spill out of the row.
            uint8_t ref[1920 * 4 + 40] = {}, out[1920 * 4 + 40];
            DecodeYuv10RowReference(row.data(), ref + 20, shift);
            for (const Kernel& k : kernels) {
                memset(out, 0, sizeof out);
                k.decode(row.data(), out + 20, shift);
                ASSERT_EQ(memcmp(ref, out, sizeof ref), 0)
                    << k.name << " trial " << trial << " shift " << shift;
            }
        }
    }
}

// Random files of many lengths against the test's own reading of the format, at every
// scale: a whole frame (every pixel compared), lengths around the reader's block of rows,
// in the middle of one, and past a frame (the rest ignored). Decoded over a bright
// picture so stale rows show; without its block buffer the reader goes on through
// LineBuffer, two rows at a time.
TEST(Yuv10Reader, RandomFilesMatchTheFormulasWithBlackNotStaleRowsBelowTheirEnd) {
    const size_t lengths[] = {YUV10_FRAME_BYTES, 0, 5119, 5120, 15 * 5120, 16 * 5120,
                              16 * 5120 + 1, 32 * 5120 - 7, 501 * 5120 + 100, 700 * 5120 + 2560,
                              1079 * 5120, YUV10_FRAME_BYTES - 1, YUV10_FRAME_BYTES + 999};
    std::vector<uint8_t> bright(YUV10_FRAME_BYTES, 0xFF);
    for (int s = 0; s <= 2; ++s) {
        for (size_t length : lengths) for (bool withoutBlock : {false, true}) {
            FreshViewerState(s);
            ASSERT_EQ(DecodeFile(bright), 0);
            std::vector<uint8_t> frame = RandomFrame((unsigned)length, length);
            ASSERT_EQ(DecodeFile(frame, withoutBlock), 0);
            // Picture row t from the top shows file row t*k + k-1 (at half size file row 1
            // on top, row 0 not read); column x shows file column x*k.
            int k = 1 << s, stride = length == lengths[0] && !withoutBlock ? 1 : 61;
            for (int t = 0; t < FrameImageHeight(); ++t) {
                int fileRow = t * k + k - 1;
                bool present = (size_t)(fileRow + 1) * 5120 <= length;
                for (int x = 0; x < FrameImageWidth(); x += stride) {
                    const uint8_t* p = PixelAt(x, t);
                    Rgb want = present ? ExpectedPixel(frame, fileRow, x * k) : Rgb{0, 0, 0};
                    if (p[0] != want.b || p[1] != want.g || p[2] != want.r || p[3] != 0)
                        FAIL() << "scale " << s << " length " << length << " row " << t
                               << (withoutBlock ? " without block buffer" : "");
                }
            }
        }
    }
}

TEST(Yuv10Reader, ReadErrorLeavesTheRestOfThePictureBlack) {
    // Half size reads blocks, quarter size one row per read.
    for (int scale = 1; scale <= 2; ++scale) {
        FreshViewerState(scale);
        std::vector<uint8_t> bright(YUV10_FRAME_BYTES, 0xFF);
        ASSERT_EQ(DecodeFile(bright), 0);
        testing_hooks::ReadsBeforeFailure = 1;
        EXPECT_EQ(ReadYuv10Frame(), 0);
        testing_hooks::ReadsBeforeFailure = -1;
        EXPECT_NE(PixelAt(0, 0)[1], 0) << "scale " << scale;
        const uint8_t* after = PixelAt(0, 1);
        EXPECT_EQ(after[0] | after[1] | after[2], scale == 2 ? 0 : 0xFF) << "scale " << scale;
        const uint8_t* last = PixelAt(0, FrameImageHeight() - 1);
        EXPECT_EQ(last[0] | last[1] | last[2], 0) << "scale " << scale;
    }
}
