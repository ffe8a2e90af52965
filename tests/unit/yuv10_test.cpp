// Rows: the YUV10 reference decode on known colours, every YUV10 and TIFF kernel against
// its reference. The YUV10 reader is the fuzz target's.
#include <gtest/gtest.h>

#include <random>

#include "core/cpu_features.h"
#include "core/tiff_rows.h"
#include "core/yuv10_rows.h"

using Bytes = std::vector<uint8_t>;

// A row of one repeated group of 8-bit samples (Y, Cb, Cr) packed into the 10-bit fields.
TEST(Yuv10, TheReferenceGivesKnownColoursAndEveryKernelItsBytes) {
    const int known[][6] = {{0, 0, 0, 0, 76, 0},
                            {235, 128, 128, 254, 254, 254},
                            {16, 128, 128, 0, 0, 0},
                            {81, 90, 240, 255, 24, 0}};
    for (const int* k : known) {
        Bytes row(5120), out(1920 * 4);
        // Three fields to a big-endian word: Cb Y Cr Y Cb Y Cr ...
        for (int i = 0; i < 3840; ++i) {
            uint32_t field = (uint32_t)(i % 2 ? k[0] : k[1 + i % 4 / 2]) << (24 - 10 * (i % 3));
            for (int b = 0; b < 4; ++b) row[i / 3 * 4 + b] |= (uint8_t)(field >> (24 - 8 * b));
        }
        DecodeYuv10RowReference(row.data(), out.data(), 0);
        EXPECT_EQ(std::vector<int>(&out[4 * 1000], &out[4 * 1001]),
                  (std::vector<int>{k[5], k[4], k[3], 0}))
            << k[0];
    }

    // Each kernel beside its reference, with the file row's size and the last scale it
    // converts (-1: not on this processor).
    const struct {
        decltype(&DecodeTiffRow) reference;
        decltype(&DecodeTiffRow) kernel;
        int rowBytes, lastShift;
    } kernels[] = {{DecodeYuv10RowReference, DecodeYuv10RowTables, 5120, 2},
                   {DecodeYuv10RowReference, DecodeYuv10Row, 5120, 2},
                   {DecodeYuv10RowReference, DecodeYuv10RowSsse3, 5120, Ssse3Available() ? 2 : -1},
                   {DecodeYuv10RowReference, DecodeYuv10RowAvx2, 5120, Avx2Available() ? 1 : -1},
                   {DecodeTiffRowScalar, DecodeTiffRow, 11520, 2},
                   {DecodeTiffRowScalar, DecodeTiffRowSsse3, 11520, Ssse3Available() ? 2 : -1}};
    EXPECT_EQ(Ssse3Available(), __builtin_cpu_supports("ssse3") ? 1 : 0);  // fast where it runs
    EXPECT_EQ(Avx2Available(), __builtin_cpu_supports("avx2") ? 1 : 0);
    for (unsigned trial = 0; trial < 40; ++trial) {
        std::mt19937 rng(trial);
        Bytes row(11520, trial ? 0xFF : 0);  // clamped everywhere, then random
        for (uint8_t& b : row) b = trial > 1 ? (uint8_t)rng() : b;
        for (int shift = 0; shift <= 2; ++shift)
            for (const auto& k : kernels) {
                if (shift > k.lastShift) continue;
                // Zero-filled and with room either side: a wide store must stay in the row.
                size_t bytes = (1920 >> shift) * 4;
                Bytes src(row.begin(), row.begin() + k.rowBytes), want(bytes + 64), out(bytes + 64);
                k.reference(src.data(), want.data() + 32, shift);
                k.kernel(src.data(), out.data() + 32, shift);
                EXPECT_TRUE(out == want) << &k - kernels << " " << trial << " " << shift;
            }
    }
}
