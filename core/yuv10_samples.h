// Where the samples of a YUV10 pixel sit in its 16-byte group, for the SIMD row kernels'
// shuffles.
#pragma once
#include <algorithm>

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

// The group and pixel position of shown pixel i, both counted from the start of a cycle:
// every pixel at full scale, pixels 0, 2, 4 of each group at half scale, and at quarter
// scale pixels 0 and 4 of an even group and 2 of the odd one after it.
inline void Yuv10ShownPixel(int shift, int i, int& group, int& p) {
    static const int quarterGroup[3] = {0, 0, 1}, quarterPos[3] = {0, 4, 2};
    if (shift == 0) {
        group = i / 6;
        p = i % 6;
    } else if (shift == 1) {
        group = i / 3;
        p = 2 * (i % 3);
    } else {
        group = 2 * (i / 3) + quarterGroup[i % 3];
        p = quarterPos[i % 3];
    }
}

// Shown pixel i's samples (into s), its group, and the first and last byte they occupy.
inline void Yuv10ShownBytes(int shift, int i, Yuv10Sample s[3], int& group, int& first, int& last) {
    int p;
    Yuv10ShownPixel(shift, i, group, p);
    Yuv10PixelSamples(p, s);
    first = last = 16 * group + s[0].hi;
    for (int e = 0; e < 3; ++e) {
        first = std::min(first, 16 * group + s[e].hi);
        last = std::max(last, 16 * group + std::max(s[e].hi, s[e].lo));
    }
}
