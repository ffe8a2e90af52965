// AVX2 row kernel for full and half size rows, used where the processor has AVX2 and the
// system saves the 256-bit registers (quarter rows keep the SSSE3 kernel).
//
// A step makes eight pixels, four in each 128-bit lane, each lane from its own 16-byte
// windows of the row. Per pixel one byte shuffle gathers the pair holding Y into the low
// half of a 32-bit word, another the pairs holding Cb and Cr into both halves; a multiply
// by a power of two and a shift bring each sample's top 8 bits down, as in the SSSE3
// kernel. The sums are then exact in 32 bits, with cb << 17 being the (cb, cr) word pair
// shifted by 17 (cr falls out) and cr << 16 that pair with its low half cleared:
//   y = 76309 (Y - 16), one 32-bit multiply per pixel,
//   B = y + 7381 cb + (cb << 17)                     = y + 138453 cb,
//   G = y + (-13954 cb + 30633 cr) - (cr << 16)     = y - 13954 cb - 34903 cr,
//   R = y - 13568 cr + 2 (cr << 16)                  = y + 117504 cr,
// the bracketed products from pmaddwd. The high half of each sum is the floor of the sum
// / 65536, as the scalar shift gives, and one saturating pack clamps it to a byte.
#include <string.h>

#include <algorithm>

#include "core/yuv10_rows.h"
#include "core/yuv10_samples.h"

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>

namespace {

// A cycle is the run of groups whose shown pixels fill three steps (24 pixels): 4 groups
// at full size, 8 at half. A step's lane reads one 16-byte window inside the cycle at full
// size and two at half, where four shown pixels span more than 16 bytes.
enum { STEPS = 3 };

struct Step {
    int window[2][2];            // per window and lane: byte offset in the cycle
    uint8_t y[2][32], c[2][32];  // per window: shuffles making (Y, 0) and (Cb, Cr) word pairs
    int16_t yMult[16], cMult[16];
};

struct Layout {
    int cycleBytes;
    Step step[STEPS];
};

Layout MakeLayout(int shift) {
    Layout l;
    memset(&l, 0x80, sizeof l);  // 0x80 in a shuffle gives a zero byte; the rest is set below
    l.cycleBytes = 64 << shift;
    for (int q = 0; q < STEPS; ++q) {
        Step& st = l.step[q];
        for (int h = 0; h < 2; ++h) {
            int w = -1, windowEnd = 0;
            for (int j = 0; j < 4; ++j) {
                Yuv10Sample s[3];
                int group, first, last;
                Yuv10ShownBytes(shift, 4 * (2 * q + h) + j, s, group, first, last);
                if (w < 0 || last >= windowEnd) {  // a lane needing one window reads it twice
                    ++w;
                    st.window[w][h] = st.window[1][h] = std::min(first, l.cycleBytes - 16);
                    windowEnd = st.window[w][h] + 16;
                }
                int base = 16 * group - st.window[w][h];
                for (int e = 0; e < 3; ++e) {  // Y into word 0, Cb into word 0, Cr into word 1
                    int word = 8 * h + 2 * j + (e == 2);
                    uint8_t* mask = (e == 0 ? st.y[w] : st.c[w]) + 2 * word;
                    mask[0] = s[e].lo < 0 ? 0x80 : (uint8_t)(base + s[e].lo);
                    mask[1] = (uint8_t)(base + s[e].hi);
                    (e == 0 ? st.yMult : st.cMult)[word] = (int16_t)s[e].multiplier;
                }
                st.yMult[8 * h + 2 * j + 1] = 0;
            }
        }
    }
    return l;
}

#define AVX2_KERNEL __attribute__((target("avx2")))
#define AVX2_INLINE __attribute__((target("avx2"), always_inline))

AVX2_INLINE inline __m256i Load(const void* p) { return _mm256_loadu_si256((const __m256i*)p); }

// The samples' top 8 bits as words, from the shuffled byte pairs.
AVX2_INLINE inline __m256i Samples(__m256i pairs, const int16_t* mult) {
    return _mm256_srli_epi16(_mm256_mullo_epi16(pairs, Load(mult)), 8);
}

// pmaddwd factors for (cb, cr) word pairs.
AVX2_INLINE inline __m256i Factors(int forCb, int forCr) {
    return _mm256_set1_epi32((int)((uint32_t)(forCb & 0xFFFF) | (uint32_t)(forCr & 0xFFFF) << 16));
}

// Window 0 or 1 of each lane, in that 128-bit lane.
AVX2_INLINE inline __m256i Window(const uint8_t* src, const int* window) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128((const __m128i*)(src + window[0]))),
        _mm_loadu_si128((const __m128i*)(src + window[1])), 1);
}

template <int SHIFT>
AVX2_KERNEL void DecodeRow(const uint8_t* src, uint8_t* dst) {
    static const Layout layout = MakeLayout(SHIFT);
    // Bytes B x 4, G x 4 interleaved, then R in the odd bytes: to B G R 0 per pixel.
    const __m256i order =
        _mm256_setr_epi8(0, 1, 9, -128, 2, 3, 11, -128, 4, 5, 13, -128, 6, 7, 15, -128, 0, 1, 9,
                         -128, 2, 3, 11, -128, 4, 5, 13, -128, 6, 7, 15, -128);
    for (int at = 0; at < YUV10_ROW_BYTES;
         at += layout.cycleBytes, src += layout.cycleBytes, dst += 4 * 24) {
        for (int q = 0; q < STEPS; ++q) {
            const Step& st = layout.step[q];
            __m256i w = Window(src, st.window[0]);
            __m256i ys = _mm256_shuffle_epi8(w, Load(st.y[0])),
                    cs = _mm256_shuffle_epi8(w, Load(st.c[0]));
            if (SHIFT) {
                w = Window(src, st.window[1]);
                ys = _mm256_or_si256(ys, _mm256_shuffle_epi8(w, Load(st.y[1])));
                cs = _mm256_or_si256(cs, _mm256_shuffle_epi8(w, Load(st.c[1])));
            }
            __m256i y = _mm256_sub_epi32(Samples(ys, st.yMult), _mm256_set1_epi32(16));
            y = _mm256_mullo_epi32(y, _mm256_set1_epi32(76309));
            __m256i c = _mm256_sub_epi16(Samples(cs, st.cMult), _mm256_set1_epi16(128));
            __m256i crHigh = _mm256_and_si256(c, _mm256_set1_epi32((int)0xFFFF0000));
            __m256i b = _mm256_add_epi32(_mm256_add_epi32(y, _mm256_slli_epi32(c, 17)),
                                         _mm256_madd_epi16(c, Factors(7381, 0)));
            __m256i g = _mm256_sub_epi32(
                _mm256_add_epi32(y, _mm256_madd_epi16(c, Factors(-13954, 30633))), crHigh);
            __m256i r =
                _mm256_add_epi32(_mm256_add_epi32(y, _mm256_madd_epi16(c, Factors(0, -13568))),
                                 _mm256_add_epi32(crHigh, crHigh));
            __m256i bg = _mm256_blend_epi16(_mm256_srli_epi32(b, 16), g, 0xAA);
            _mm256_storeu_si256((__m256i*)(dst + 32 * q),
                                _mm256_shuffle_epi8(_mm256_packus_epi16(bg, r), order));
        }
    }
}

}  // namespace

void DecodeYuv10RowAvx2(const uint8_t* src, uint8_t* dst, int shift) {
    if (shift == 0)
        DecodeRow<0>(src, dst);
    else
        DecodeRow<1>(src, dst);
}
#endif
