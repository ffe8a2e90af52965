#include "core/yuv10_rows.h"

#include "core/cpu_features.h"
#include "core/viewer_state.h"

// The top 8 bits of the twelve 10-bit samples of one 16-byte group (four big-endian
// words): y[0..5], and cb[i], cr[i] shared by pixels 2i and 2i + 1.
static inline void UnpackGroup(const uint8_t* g, uint8_t y[6], uint8_t cb[3], uint8_t cr[3]) {
    cb[0] = g[0];
    y[0] = (uint8_t)(g[1] << 2 | g[2] >> 6);
    cr[0] = (uint8_t)(g[2] << 4 | g[3] >> 4);
    y[1] = g[4];
    cb[1] = (uint8_t)(g[5] << 2 | g[6] >> 6);
    y[2] = (uint8_t)(g[6] << 4 | g[7] >> 4);
    cr[1] = g[8];
    y[3] = (uint8_t)(g[9] << 2 | g[10] >> 6);
    cb[2] = (uint8_t)(g[10] << 4 | g[11] >> 4);
    y[4] = g[12];
    cr[2] = (uint8_t)(g[13] << 2 | g[14] >> 6);
    y[5] = (uint8_t)(g[14] << 4 | g[15] >> 4);
}

static inline uint8_t Clamp255(int32_t v) { return (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v); }

// BT.709 limited-range Y'CbCr to full-range RGB in 16.16 fixed point, stored B, G, R;
// the fourth byte is left alone.
static inline void ConvertPixel(int Y, int Cb, int Cr, uint8_t* dst) {
    int32_t y = (Y - 16) * 76309;
    int32_t cb = Cb - 128, cr = Cr - 128;
    dst[0] = Clamp255((y + 138453 * cb) >> 16);
    dst[1] = Clamp255((y - 34903 * cr - 13954 * cb) >> 16);
    dst[2] = Clamp255((y + 117504 * cr) >> 16);
}

void DecodeYuv10RowReference(const uint8_t* src, uint8_t* dst, int shift) {
    uint8_t ycc[FRAME_WIDTH * 3];  // the unpacked row: Y, Cb, Cr per pixel
    for (int g = 0; g < FRAME_WIDTH / 6; ++g) {
        uint8_t y[6], cb[3], cr[3];
        UnpackGroup(src + 16 * g, y, cb, cr);
        for (int j = 0; j < 6; ++j) {
            uint8_t* p = ycc + 3 * (6 * g + j);
            p[0] = y[j];
            p[1] = cb[j / 2];
            p[2] = cr[j / 2];
        }
    }
    int k = 1 << shift;
    for (int x = 0; x < FRAME_WIDTH; x += k, dst += 4)
        ConvertPixel(ycc[3 * x], ycc[3 * x + 1], ycc[3 * x + 2], dst);
}

// The products of the conversion as tables, so a pixel costs additions and shifts.
struct ConversionTables {
    int32_t y[256], rCr[256], gCr[256], gCb[256], bCb[256];
};

static ConversionTables MakeTables() {
    ConversionTables t;
    for (int i = 0; i < 256; ++i) {
        t.y[i] = (i - 16) * 76309;
        t.rCr[i] = 117504 * (i - 128);
        t.gCr[i] = -34903 * (i - 128);
        t.gCb[i] = -13954 * (i - 128);
        t.bCb[i] = 138453 * (i - 128);
    }
    return t;
}

static const ConversionTables Tables = MakeTables();

static inline void ConvertPixelTables(int Y, int Cb, int Cr, uint8_t* dst) {
    int32_t y = Tables.y[Y];
    dst[0] = Clamp255((y + Tables.bCb[Cb]) >> 16);
    dst[1] = Clamp255((y + Tables.gCr[Cr] + Tables.gCb[Cb]) >> 16);
    dst[2] = Clamp255((y + Tables.rCr[Cr]) >> 16);
}

void DecodeYuv10RowTables(const uint8_t* src, uint8_t* dst, int shift) {
    uint8_t y[6], cb[3], cr[3];
    if (shift == 0) {
        for (int g = 0; g < FRAME_WIDTH / 6; ++g, src += 16, dst += 24) {
            UnpackGroup(src, y, cb, cr);
            for (int j = 0; j < 6; ++j) ConvertPixelTables(y[j], cb[j / 2], cr[j / 2], dst + 4 * j);
        }
    } else if (shift == 1) {
        // Pixels 0, 2, 4 of every group.
        for (int g = 0; g < FRAME_WIDTH / 6; ++g, src += 16, dst += 12) {
            UnpackGroup(src, y, cb, cr);
            for (int j = 0; j < 3; ++j) ConvertPixelTables(y[2 * j], cb[j], cr[j], dst + 4 * j);
        }
    } else {
        // Every fourth pixel: 0 and 4 of an even group, 2 of the odd group after it.
        for (int g = 0; g < FRAME_WIDTH / 6; g += 2, src += 32, dst += 12) {
            UnpackGroup(src, y, cb, cr);
            ConvertPixelTables(y[0], cb[0], cr[0], dst);
            ConvertPixelTables(y[4], cb[2], cr[2], dst + 4);
            UnpackGroup(src + 16, y, cb, cr);
            ConvertPixelTables(y[2], cb[1], cr[1], dst + 8);
        }
    }
}

typedef void (*Yuv10RowKernel)(const uint8_t* src, uint8_t* dst, int shift);

// AVX2 at full and half size; quarter rows keep the SSSE3 kernel: their conversion is a
// tenth of the full one and the reads of single rows outweigh it. Elsewhere than x86 the
// tables.
static Yuv10RowKernel ChooseKernel(int shift) {
#if defined(__i386__) || defined(__x86_64__)
    if (shift < 2 && Avx2Available()) return DecodeYuv10RowAvx2;
    if (Ssse3Available()) return DecodeYuv10RowSsse3;
#else
    (void)shift;
#endif
    return DecodeYuv10RowTables;
}

void DecodeYuv10Row(const uint8_t* src, uint8_t* dst, int shift) {
    static const Yuv10RowKernel kernel[3] = {ChooseKernel(0), ChooseKernel(1), ChooseKernel(2)};
    kernel[shift](src, dst, shift);
}
