// SSSE3 row kernel for TIFF rows, used at every scale where the processor has SSSE3.
//
// A step makes four shown pixels (one 16-byte store) from the 24 << shift file bytes that
// hold them: every window, a 16-byte load inside those bytes, gives the high bytes it
// holds through one byte shuffle, and the shuffled windows are ORed. Every step has the
// same windows and shuffles, worked out once per scale: two windows at full size, three
// at half, four at quarter.
#include <string.h>

#include <algorithm>

#include "core/tiff_rows.h"
#include "core/viewer_state.h"

#if defined(__i386__) || defined(__x86_64__)
#include <tmmintrin.h>

namespace {

enum { MAX_WINDOWS = 4 };

struct StepLayout {
    int offset[MAX_WINDOWS];  // of each window in the step's file bytes
    alignas(16) uint8_t shuffle[MAX_WINDOWS][16];
};

// Windows open at the first wanted byte the last one does not hold, moved back where
// they would pass the step's bytes (so the last step reads nothing past the row).
StepLayout MakeLayout(int shift) {
    StepLayout l;
    memset(&l, 0x80, sizeof l);  // 0x80 in a shuffle gives a zero byte
    int span = 24 << shift, w = -1;
    for (int j = 0; j < 4; ++j)
        for (int b = 1; b <= 5; b += 2) {  // high bytes of R, G, B, stored B, G, R
            int at = (6 * j << shift) + b;
            if (w < 0 || at >= l.offset[w] + 16) l.offset[++w] = std::min(at, span - 16);
            l.shuffle[w][4 * j + (5 - b) / 2] = (uint8_t)(at - l.offset[w]);
        }
    return l;
}

#define SSSE3_KERNEL __attribute__((target("ssse3")))

template <int SHIFT>
SSSE3_KERNEL void Ssse3Row(const uint8_t* src, uint8_t* dst) {
    enum { WINDOWS = SHIFT + 2, SPAN = 24 << SHIFT };
    static const StepLayout layout = MakeLayout(SHIFT);
    int offset[WINDOWS];
    __m128i shuffle[WINDOWS];
    for (int w = 0; w < WINDOWS; ++w) {
        offset[w] = layout.offset[w];
        shuffle[w] = _mm_load_si128((const __m128i*)layout.shuffle[w]);
    }
    for (int x = 0; x < FRAME_WIDTH >> SHIFT; x += 4, src += SPAN, dst += 16) {
        __m128i px = _mm_setzero_si128();
        for (int w = 0; w < WINDOWS; ++w) {
            __m128i window = _mm_loadu_si128((const __m128i*)(src + offset[w]));
            px = _mm_or_si128(px, _mm_shuffle_epi8(window, shuffle[w]));
        }
        _mm_storeu_si128((__m128i*)dst, px);
    }
}

}  // namespace

void DecodeTiffRowSsse3(const uint8_t* src, uint8_t* dst, int shift) {
    if (shift == 0)
        Ssse3Row<0>(src, dst);
    else if (shift == 1)
        Ssse3Row<1>(src, dst);
    else
        Ssse3Row<2>(src, dst);
}
#endif
