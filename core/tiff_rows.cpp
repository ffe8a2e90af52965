#include "core/tiff_rows.h"

#include "core/cpu_features.h"
#include "core/viewer_state.h"

void DecodeTiffRowScalar(const uint8_t* src, uint8_t* dst, int shift) {
    int k = 1 << shift;
    for (int x = 0; x < FRAME_WIDTH; x += k, dst += 4) {
        const uint8_t* p = src + 6 * x;
        dst[0] = p[5];
        dst[1] = p[3];
        dst[2] = p[1];
    }
}

typedef void (*TiffRowKernel)(const uint8_t* src, uint8_t* dst, int shift);

// The SSSE3 kernel already makes rows faster than the picture takes them in memory: an
// AVX2 one was no faster in the decode. Elsewhere than x86 the scalar kernel.
static TiffRowKernel ChooseKernel() {
#if defined(__i386__) || defined(__x86_64__)
    if (Ssse3Available()) return DecodeTiffRowSsse3;
#endif
    return DecodeTiffRowScalar;
}

void DecodeTiffRow(const uint8_t* src, uint8_t* dst, int shift) {
    static const TiffRowKernel kernel = ChooseKernel();
    kernel(src, dst, shift);
}
