// SSSE3 row kernel, used at every scale where the processor has SSSE3.
//
// A step makes four shown pixels. For each pixel a byte shuffle gathers the two bytes
// holding each wanted 10-bit sample as a 16-bit word (from one or two 16-byte windows
// of the row); a multiply by a power of two moves the sample's top 8 bits into the high
// byte and a shift brings them down. The words form (Y, Cb) and (Y, Cr) pairs, so one
// pmaddwd forms each product sum exactly in 32 bits, and the results equal the scalar
// formulas: 76309 = 65536 + 10773, 138453 = 2 * 65536 + 7381, 117504 = 2 * 65536 - 13568,
// -34903 = -65536 + 30633. The shuffles for each scale are worked out once from the
// group layout.
#include <string.h>

#include <algorithm>

#include "core/yuv10_rows.h"
#include "core/yuv10_samples.h"

#if defined(__i386__) || defined(__x86_64__)
#include <tmmintrin.h>

namespace {

enum { STEPS = 3, PIXELS_PER_CYCLE = 4 * STEPS };

// A cycle is the run of groups whose shown pixels fill three steps: 2 groups at full
// scale, 4 at half, 8 at quarter. Each step reads two 16-byte windows inside the cycle,
// so the kernel never reads past the row.
struct StepLayout {
    int window[2];                  // byte offsets in the cycle
    alignas(16) uint8_t yb[2][16];  // per window: the shuffle making (Y, Cb) words
    alignas(16) uint8_t yr[2][16];  // and (Y, Cr) words
    alignas(16) int16_t multYb[8];
    alignas(16) int16_t multYr[8];
};

struct CycleLayout {
    int cycleBytes;
    StepLayout step[STEPS];
};

CycleLayout MakeLayout(int shift) {
    CycleLayout c;
    memset(&c, 0, sizeof c);
    c.cycleBytes = 32 << shift;
    for (int q = 0; q < STEPS; ++q) {
        StepLayout& st = c.step[q];
        memset(st.yb, 0x80, sizeof st.yb);  // 0x80 gives a zero byte
        memset(st.yr, 0x80, sizeof st.yr);
        int w = -1, windowEnd = 0;
        for (int j = 0; j < 4; ++j) {
            Yuv10Sample s[3];
            int group, first, last;
            Yuv10ShownBytes(shift, 4 * q + j, s, group, first, last);
            if (w < 0 || last >= windowEnd) {
                w = std::min(w + 1, 1);  // two windows suffice, one at full size (tested)
                st.window[w] = std::min(first, c.cycleBytes - 16);
                windowEnd = st.window[w] + 16;
            }
            int base = 16 * group - st.window[w];
            for (int k = 0; k < 2; ++k) {      // (Y, Cb), then (Y, Cr)
                for (int e = 0; e < 2; ++e) {  // the Y word, then the chroma word
                    const Yuv10Sample& x = s[e == 0 ? 0 : 1 + k];
                    uint8_t* mask = k == 0 ? st.yb[w] : st.yr[w];
                    int word = 2 * j + e;
                    mask[2 * word] = x.lo < 0 ? 0x80 : (uint8_t)(base + x.lo);
                    mask[2 * word + 1] = (uint8_t)(base + x.hi);
                    (k == 0 ? st.multYb : st.multYr)[word] = (int16_t)x.multiplier;
                }
            }
        }
    }
    return c;
}

#define SSSE3_KERNEL __attribute__((target("ssse3")))
#define SSSE3_INLINE __attribute__((target("ssse3"), always_inline))

SSSE3_INLINE inline __m128i Load(const void* p) { return _mm_load_si128((const __m128i*)p); }

// (Y - 16, C - 128) word pairs of a step's four pixels; at full size one window holds
// them all.
template <int SHIFT>
SSSE3_INLINE inline __m128i Pairs(__m128i w0, __m128i w1, const uint8_t (*mask)[16],
                                  const int16_t* mult) {
    __m128i v = _mm_shuffle_epi8(w0, Load(mask[0]));
    if (SHIFT) v = _mm_or_si128(v, _mm_shuffle_epi8(w1, Load(mask[1])));
    v = _mm_srli_epi16(_mm_mullo_epi16(v, Load(mult)), 8);
    return _mm_sub_epi16(v, _mm_set1_epi32(16 | 128 << 16));
}

// Factor pairs for pmaddwd on (Y, C) words.
SSSE3_INLINE inline __m128i Factors(int forY, int forC) {
    return _mm_set1_epi32((int)((uint32_t)(forY & 0xFFFF) | (uint32_t)(forC & 0xFFFF) << 16));
}

template <int SHIFT>
SSSE3_KERNEL void DecodeRow(const uint8_t* src, uint8_t* dst) {
    static const CycleLayout layout = MakeLayout(SHIFT);
    const __m128i order =
        _mm_setr_epi8(0, 4, 8, -128, 1, 5, 9, -128, 2, 6, 10, -128, 3, 7, 11, -128);
    for (int at = 0; at < YUV10_ROW_BYTES;
         at += layout.cycleBytes, src += layout.cycleBytes, dst += 4 * PIXELS_PER_CYCLE) {
#pragma GCC unroll 3
        for (int q = 0; q < STEPS; ++q) {
            const StepLayout& st = layout.step[q];
            __m128i w0 = _mm_loadu_si128((const __m128i*)(src + st.window[0]));
            __m128i w1 = SHIFT ? _mm_loadu_si128((const __m128i*)(src + st.window[1])) : w0;
            __m128i yb = Pairs<SHIFT>(w0, w1, st.yb, st.multYb);
            __m128i yr = Pairs<SHIFT>(w0, w1, st.yr, st.multYr);
            const __m128i ySum2 = Factors(1, 2);
            __m128i b = _mm_add_epi32(_mm_srai_epi32(_mm_madd_epi16(yb, Factors(10773, 7381)), 16),
                                      _mm_madd_epi16(yb, ySum2));
            __m128i r =
                _mm_add_epi32(_mm_srai_epi32(_mm_madd_epi16(yr, Factors(10773, -13568)), 16),
                              _mm_madd_epi16(yr, ySum2));
            __m128i g = _mm_add_epi32(_mm_madd_epi16(yb, Factors(10773, -13954)),
                                      _mm_madd_epi16(yr, Factors(0, 30633)));
            g = _mm_add_epi32(_mm_srai_epi32(g, 16), _mm_madd_epi16(yr, Factors(1, -1)));
            // B x 4, G x 4, R x 4 as clamped bytes, then B G R 0 per pixel.
            __m128i px = _mm_packus_epi16(_mm_packs_epi32(b, g), _mm_packs_epi32(r, r));
            _mm_storeu_si128((__m128i*)(dst + 16 * q), _mm_shuffle_epi8(px, order));
        }
    }
}

}  // namespace

SSSE3_KERNEL void DecodeYuv10RowSsse3(const uint8_t* src, uint8_t* dst, int shift) {
    if (shift == 0)
        DecodeRow<0>(src, dst);
    else if (shift == 1)
        DecodeRow<1>(src, dst);
    else
        DecodeRow<2>(src, dst);
}
#endif
