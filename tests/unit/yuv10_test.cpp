// YUV10 rows: every kernel against the test's own decode. The reader is the fuzz target's.
#include <gtest/gtest.h>
#include <string.h>

#include <random>

#include "core/yuv10_reader.h"
#include "tests/support.h"

// The test's decode, checked on known values first: a row of one repeated group of
// 8-bit samples (Y, Cb, Cr) packed into the 10-bit fields.
TEST(Yuv10, KnownValuesAndEveryKernelOnRandomRows) {
    const int known[][6] = {{0, 0, 0, 0, 76, 0}, {235, 128, 128, 254, 254, 254},
                            {16, 128, 128, 0, 0, 0}, {81, 90, 240, 255, 24, 0}};
    for (const int* k : known) {
        std::vector<uint8_t> row(5120);
        for (int i = 0; i < 5120; i += 4) {  // Cb Y Cr / Y Cb Y / Cr Y Cb / Y Cr Y
            static const int order[4][3] = {{1, 0, 2}, {0, 1, 0}, {2, 0, 1}, {0, 2, 0}};
            const int* f = order[i / 4 % 4];
            uint32_t word = (uint32_t)k[f[0]] << 24 | (uint32_t)k[f[1]] << 14 | (uint32_t)k[f[2]] << 4;
            for (int b = 0; b < 4; ++b) row[i + b] = (uint8_t)(word >> (24 - 8 * b));
        }
        std::vector<uint8_t> picture = Yuv10Picture(row, 0);
        const uint8_t* p = &picture[(size_t)1079 * 1920 * 4 + 4 * 1000];
        EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{k[5], k[4], k[3], 0})) << k[0];
    }

    void (*kernels[])(const uint8_t*, uint8_t*, int) = {DecodeYuv10RowReference, DecodeYuv10RowTables,
                                                        DecodeYuv10Row, DecodeYuv10RowSsse3, DecodeYuv10RowAvx2};
    int count = Yuv10Avx2Available() ? 5 : Yuv10Ssse3Available() ? 4 : 3;
    EXPECT_EQ(Yuv10Ssse3Available(), __builtin_cpu_supports("ssse3") ? 1 : 0);  // the fast one where it runs
    EXPECT_EQ(Yuv10Avx2Available(), __builtin_cpu_supports("avx2") ? 1 : 0);
    for (unsigned trial = 0; trial < 40; ++trial) {
        std::mt19937 rng(trial);
        std::vector<uint8_t> row(5120, trial ? 0xFF : 0);  // clamped everywhere, then random
        for (uint8_t& b : row) b = trial > 1 ? (uint8_t)rng() : b;
        std::vector<uint8_t> file;
        for (int i = 0; i < 4; ++i) file.insert(file.end(), row.begin(), row.end());
        for (int shift = 0; shift <= 2; ++shift) {
            std::vector<uint8_t> picture = Yuv10Picture(file, shift);
            size_t bytes = (1920 >> shift) * 4;
            std::vector<uint8_t> want(picture.end() - bytes, picture.end());
            for (int k = 0; k < count; ++k) {
                // Zero-filled and with room either side: a wide store must stay in the row.
                std::vector<uint8_t> out(bytes + 64, 0);
                kernels[k](row.data(), out.data() + 32, shift);
                EXPECT_EQ(std::vector<uint8_t>(out.begin() + 32, out.end() - 32), want) << k << trial;
                out.erase(out.begin() + 32, out.end() - 32);
                EXPECT_EQ(out, std::vector<uint8_t>(64, 0));
            }
        }
    }
}
