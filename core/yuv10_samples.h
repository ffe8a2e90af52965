// Where the samples of a YUV10 pixel sit in its 16-byte group, for the SIMD row kernels'
// shuffles.
#pragma once

// The top 8 bits of one 10-bit sample in a 16-byte group: a big-endian byte pair
// (lo < 0: only the byte hi) and the power of two that moves them to bits 8-15.
struct Yuv10Sample {
    int hi, lo, multiplier;
};

// Field A (bits 31-22), B (21-12) or C (11-2) of big-endian word n of a group.
inline Yuv10Sample Yuv10Field(int n, char f) {
    if (f == 'A') return {4 * n, -1, 1};
    if (f == 'B') return {4 * n + 1, 4 * n + 2, 4};
    return {4 * n + 2, 4 * n + 3, 16};
}

// The samples of pixel p (0-5) of a group: Y, Cb, Cr.
inline void Yuv10PixelSamples(int p, Yuv10Sample s[3]) {
    static const int yWord[6] = {0, 1, 1, 2, 3, 3}, cbWord[3] = {0, 1, 2}, crWord[3] = {0, 2, 3};
    static const char yField[6] = {'B', 'A', 'C', 'B', 'A', 'C'}, cbField[3] = {'A', 'B', 'C'},
                      crField[3] = {'C', 'A', 'B'};
    s[0] = Yuv10Field(yWord[p], yField[p]);
    s[1] = Yuv10Field(cbWord[p / 2], cbField[p / 2]);
    s[2] = Yuv10Field(crWord[p / 2], crField[p / 2]);
}
