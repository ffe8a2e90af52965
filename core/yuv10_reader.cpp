#include "core/yuv10_reader.h"

#include <string.h>

#include "core/frame_sequence.h"
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


#if defined(__i386__) || defined(__x86_64__)
// SSE2 kernel: four groups (24 pixels) at a time. After a byte swap and a 4 x 4
// transpose, each register holds the same word of four groups, so every sample of a
// group position sits in one 32-bit lane per group. The products are formed exactly in
// 32 bits: each factor is split as a multiple of 65536 (a shift) plus a remainder that
// fits pmaddwd's signed 16-bit operands, so the results equal the scalar formulas.
#include <cpuid.h>
#include <emmintrin.h>

#define SSE2_KERNEL __attribute__((target("sse2")))
#define SSE2_INLINE __attribute__((target("sse2"), always_inline))

SSE2_INLINE static inline __m128i ByteSwap32(__m128i x) {
    x = _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));
    x = _mm_shufflelo_epi16(x, _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_shufflehi_epi16(x, _MM_SHUFFLE(2, 3, 0, 1));
}

SSE2_INLINE static inline void Transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
    __m128i t0 = _mm_unpacklo_epi32(a, b), t1 = _mm_unpacklo_epi32(c, d);
    __m128i t2 = _mm_unpackhi_epi32(a, b), t3 = _mm_unpackhi_epi32(c, d);
    a = _mm_unpacklo_epi64(t0, t1);
    b = _mm_unpackhi_epi64(t0, t1);
    c = _mm_unpacklo_epi64(t2, t3);
    d = _mm_unpackhi_epi64(t2, t3);
}

// Top 8 bits of the 10-bit fields A (bits 31-22), B (21-12) and C (11-2) of each word.
SSE2_INLINE static inline __m128i FieldA(__m128i w) { return _mm_srli_epi32(w, 24); }
SSE2_INLINE static inline __m128i FieldB(__m128i w) {
    return _mm_and_si128(_mm_srli_epi32(w, 14), _mm_set1_epi32(255));
}
SSE2_INLINE static inline __m128i FieldC(__m128i w) {
    return _mm_and_si128(_mm_srli_epi32(w, 4), _mm_set1_epi32(255));
}

// v * f for 32-bit lanes v in -256..255 and a factor f in -32768..32767.
SSE2_INLINE static inline __m128i MulSmall(__m128i v, int f) {
    return _mm_madd_epi16(v, _mm_set1_epi32(f & 0xFFFF));
}

struct ChromaTerms {
    __m128i r, g, b;  // 117504 cr, -34903 cr - 13954 cb, 138453 cb
};

SSE2_INLINE static inline ChromaTerms MakeChroma(__m128i Cb, __m128i Cr) {
    const __m128i c128 = _mm_set1_epi32(128);
    __m128i cb = _mm_sub_epi32(Cb, c128), cr = _mm_sub_epi32(Cr, c128);
    ChromaTerms t;
    // 117504 = 2 * 65536 - 13568; 138453 = 2 * 65536 + 7381
    t.r = _mm_add_epi32(_mm_slli_epi32(cr, 17), MulSmall(cr, -13568));
    t.b = _mm_add_epi32(_mm_slli_epi32(cb, 17), MulSmall(cb, 7381));
    // -34903 = -65536 + 30633: one pmaddwd gives 30633 cr - 13954 cb from (cr, cb) pairs
    __m128i pair = _mm_or_si128(_mm_and_si128(cr, _mm_set1_epi32(0xFFFF)), _mm_slli_epi32(cb, 16));
    __m128i gf = _mm_set1_epi32((int)(30633u | (uint32_t)(-13954 & 0xFFFF) << 16));
    t.g = _mm_sub_epi32(_mm_madd_epi16(pair, gf), _mm_slli_epi32(cr, 16));
    return t;
}

// (Y - 16) * 76309, with 76309 = 65536 + 10773.
SSE2_INLINE static inline __m128i LumaTerm(__m128i Y) {
    __m128i y = _mm_sub_epi32(Y, _mm_set1_epi32(16));
    return _mm_add_epi32(_mm_slli_epi32(y, 16), MulSmall(y, 10773));
}

// Two group positions (four groups each) to BGRX pixels, clamped as the scalar code
// clamps: lo gets the pixels of the first position, hi those of the second.
SSE2_INLINE static inline void PackPixels(__m128i y0, const ChromaTerms& c0, __m128i y1,
                                          const ChromaTerms& c1, __m128i& lo, __m128i& hi) {
    __m128i b = _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(y0, c0.b), 16),
                                _mm_srai_epi32(_mm_add_epi32(y1, c1.b), 16));
    __m128i g = _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(y0, c0.g), 16),
                                _mm_srai_epi32(_mm_add_epi32(y1, c1.g), 16));
    __m128i r = _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(y0, c0.r), 16),
                                _mm_srai_epi32(_mm_add_epi32(y1, c1.r), 16));
    __m128i bg = _mm_packus_epi16(b, g);                   // B x 8, G x 8
    __m128i r0 = _mm_packus_epi16(r, _mm_setzero_si128()); // R x 8, 0 x 8
    bg = _mm_unpacklo_epi8(bg, _mm_srli_si128(bg, 8));     // B G pairs
    r0 = _mm_unpacklo_epi8(r0, _mm_setzero_si128());       // R 0 pairs
    lo = _mm_unpacklo_epi16(bg, r0);
    hi = _mm_unpackhi_epi16(bg, r0);
}

// The six pixel positions of four groups at src, each register one position with a
// lane per group.
SSE2_INLINE static inline void DecodeFourGroups(__m128i g0, __m128i g1, __m128i g2, __m128i g3,
                                                __m128i p[6]) {
    __m128i w0 = ByteSwap32(g0), w1 = ByteSwap32(g1), w2 = ByteSwap32(g2), w3 = ByteSwap32(g3);
    Transpose4(w0, w1, w2, w3);  // wN: word N of the four groups
    ChromaTerms c0 = MakeChroma(FieldA(w0), FieldC(w0));
    ChromaTerms c1 = MakeChroma(FieldB(w1), FieldA(w2));
    ChromaTerms c2 = MakeChroma(FieldC(w2), FieldB(w3));
    PackPixels(LumaTerm(FieldB(w0)), c0, LumaTerm(FieldA(w1)), c0, p[0], p[1]);
    PackPixels(LumaTerm(FieldC(w1)), c1, LumaTerm(FieldB(w2)), c1, p[2], p[3]);
    PackPixels(LumaTerm(FieldA(w3)), c2, LumaTerm(FieldC(w3)), c2, p[4], p[5]);
}

// The high halves (floor of / 65536) of two registers of 32-bit lanes as eight words.
SSE2_INLINE static inline __m128i HighWords(__m128i lo, __m128i hi) {
    return _mm_packs_epi32(_mm_srai_epi32(lo, 16), _mm_srai_epi32(hi, 16));
}

// Eight pixels in 16-bit lanes: Y - 16, Cb - 128 and Cr - 128 each, to BGRX in lo (lanes
// 0-3) and hi (4-7). Each product splits as 65536 * (a small multiple) plus a remainder
// sum that one pmaddwd forms exactly in 32 bits from (Y, C) word pairs, and
// floor((65536 k + s) / 65536) = k + (s >> 16), so the results equal the scalar formulas:
// 76309 = 65536 + 10773, 138453 = 2 * 65536 + 7381, 117504 = 2 * 65536 - 13568,
// -34903 = -65536 + 30633.
SSE2_INLINE static inline void ConvertEight(__m128i y, __m128i cb, __m128i cr, __m128i& lo,
                                            __m128i& hi) {
    const __m128i fb = _mm_set1_epi32((int)(10773u | (uint32_t)7381 << 16));
    const __m128i fr = _mm_set1_epi32((int)(10773u | (uint32_t)(-13568 & 0xFFFF) << 16));
    const __m128i fgb = _mm_set1_epi32((int)(10773u | (uint32_t)(-13954 & 0xFFFF) << 16));
    const __m128i fgr = _mm_set1_epi32((int)((uint32_t)30633 << 16));
    __m128i ybLo = _mm_unpacklo_epi16(y, cb), ybHi = _mm_unpackhi_epi16(y, cb);
    __m128i yrLo = _mm_unpacklo_epi16(y, cr), yrHi = _mm_unpackhi_epi16(y, cr);
    __m128i b = _mm_add_epi16(HighWords(_mm_madd_epi16(ybLo, fb), _mm_madd_epi16(ybHi, fb)),
                              _mm_add_epi16(y, _mm_add_epi16(cb, cb)));
    __m128i r = _mm_add_epi16(HighWords(_mm_madd_epi16(yrLo, fr), _mm_madd_epi16(yrHi, fr)),
                              _mm_add_epi16(y, _mm_add_epi16(cr, cr)));
    __m128i gLo = _mm_add_epi32(_mm_madd_epi16(ybLo, fgb), _mm_madd_epi16(yrLo, fgr));
    __m128i gHi = _mm_add_epi32(_mm_madd_epi16(ybHi, fgb), _mm_madd_epi16(yrHi, fgr));
    __m128i g = _mm_add_epi16(HighWords(gLo, gHi), _mm_sub_epi16(y, cr));
    __m128i bg = _mm_unpacklo_epi8(_mm_packus_epi16(b, b), _mm_packus_epi16(g, g));  // B G pairs
    __m128i r0 = _mm_unpacklo_epi8(_mm_packus_epi16(r, r), _mm_setzero_si128());    // R 0 pairs
    lo = _mm_unpacklo_epi16(bg, r0);
    hi = _mm_unpackhi_epi16(bg, r0);
}

// The samples of pixels 0, 2 and 4 of four groups, one 32-bit lane per group: y[j] is
// the luma of pixel 2j, cb[j] and cr[j] its chroma.
struct EvenPixels {
    __m128i y[3], cb[3], cr[3];
};

SSE2_INLINE static inline EvenPixels UnpackEvenPixels(__m128i g0, __m128i g1, __m128i g2, __m128i g3) {
    __m128i w0 = ByteSwap32(g0), w1 = ByteSwap32(g1), w2 = ByteSwap32(g2), w3 = ByteSwap32(g3);
    Transpose4(w0, w1, w2, w3);  // wN: word N of the four groups
    EvenPixels e;
    e.cb[0] = FieldA(w0), e.y[0] = FieldB(w0), e.cr[0] = FieldC(w0);
    e.cb[1] = FieldB(w1), e.y[1] = FieldC(w1), e.cr[1] = FieldA(w2);
    e.cb[2] = FieldC(w2), e.y[2] = FieldA(w3), e.cr[2] = FieldB(w3);
    return e;
}

// Two lanes-of-four registers as one register of eight offset words.
SSE2_INLINE static inline __m128i Words(__m128i a, __m128i b, __m128i offset) {
    return _mm_sub_epi16(_mm_packs_epi32(a, b), offset);
}

// Four groups' pixels in picture order (r0, r1, r2: pixels of position 0, 1, 2 of each
// group) as 48 bytes at dst.
SSE2_INLINE static inline void StoreTwelve(__m128i r0, __m128i r1, __m128i r2, uint8_t* dst) {
    __m128i r3 = _mm_setzero_si128();
    Transpose4(r0, r1, r2, r3);  // rN: the three pixels of group N, then 0
    _mm_storeu_si128((__m128i*)dst, _mm_or_si128(r0, _mm_slli_si128(r1, 12)));
    _mm_storeu_si128((__m128i*)(dst + 16), _mm_or_si128(_mm_srli_si128(r1, 4), _mm_slli_si128(r2, 8)));
    _mm_storeu_si128((__m128i*)(dst + 32), _mm_or_si128(_mm_srli_si128(r2, 8), _mm_slli_si128(r3, 4)));
}

// Half scale shows pixels 0, 2, 4 of every group. Quarter scale shows pixels 0 and 4 of
// an even group and pixel 2 of the odd one after it, which are the samples of pixels 0,
// 4 and 2 of one made-up group: words 0 and 3 of the even group, word 1 of the odd one,
// and word 2 with its first field (Cr1) from the odd group and the rest (Cb2) from the
// even one. Each step unpacks eight (made-up) groups and converts their 24 pixels as
// three registers of eight.
template <int SHIFT>
SSE2_KERNEL static void DecodeSubsampledRow(const uint8_t* src, uint8_t* dst) {
    const __m128i fromOdd = _mm_set_epi32(0, 0x0000C0FF, -1, 0);  // bytes as stored
    const __m128i o16 = _mm_set1_epi16(16), o128 = _mm_set1_epi16(128);
    constexpr int groupsPerStep = SHIFT == 1 ? 8 : 16;
    for (int g = 0; g < FRAME_WIDTH / 6; g += groupsPerStep, src += 16 * groupsPerStep, dst += 96) {
        __m128i in[8];
        for (int n = 0; n < 8; ++n) {
            if (SHIFT == 1) {
                in[n] = _mm_loadu_si128((const __m128i*)(src + 16 * n));
            } else {
                __m128i even = _mm_loadu_si128((const __m128i*)(src + 32 * n));
                __m128i odd = _mm_loadu_si128((const __m128i*)(src + 32 * n + 16));
                in[n] = _mm_xor_si128(even, _mm_and_si128(_mm_xor_si128(even, odd), fromOdd));
            }
        }
        EvenPixels p = UnpackEvenPixels(in[0], in[1], in[2], in[3]);
        EvenPixels q = UnpackEvenPixels(in[4], in[5], in[6], in[7]);
        __m128i p0, p1, p2, q0, q1, q2;  // pixels 0, 2, 4 of groups 0-3 (p) and 4-7 (q)
        ConvertEight(Words(p.y[0], p.y[1], o16), Words(p.cb[0], p.cb[1], o128),
                     Words(p.cr[0], p.cr[1], o128), p0, p1);
        ConvertEight(Words(p.y[2], q.y[0], o16), Words(p.cb[2], q.cb[0], o128),
                     Words(p.cr[2], q.cr[0], o128), p2, q0);
        ConvertEight(Words(q.y[1], q.y[2], o16), Words(q.cb[1], q.cb[2], o128),
                     Words(q.cr[1], q.cr[2], o128), q1, q2);
        if (SHIFT == 1) {
            StoreTwelve(p0, p1, p2, dst);
            StoreTwelve(q0, q1, q2, dst + 48);
        } else {
            StoreTwelve(p0, p2, p1, dst);
            StoreTwelve(q0, q2, q1, dst + 48);
        }
    }
}

SSE2_KERNEL void DecodeYuv10RowSse2(const uint8_t* src, uint8_t* dst, int shift) {
    __m128i p[6];
    if (shift == 0) {
        for (int g = 0; g < FRAME_WIDTH / 6; g += 4, src += 64, dst += 96) {
            DecodeFourGroups(_mm_loadu_si128((const __m128i*)src), _mm_loadu_si128((const __m128i*)(src + 16)),
                             _mm_loadu_si128((const __m128i*)(src + 32)), _mm_loadu_si128((const __m128i*)(src + 48)),
                             p);
            __m128i r0 = p[0], r1 = p[1], r2 = p[2], r3 = p[3];
            Transpose4(r0, r1, r2, r3);  // rN: pixels 0-3 of group N
            __m128i lo45 = _mm_unpacklo_epi32(p[4], p[5]), hi45 = _mm_unpackhi_epi32(p[4], p[5]);
            _mm_storeu_si128((__m128i*)dst, r0);
            _mm_storeu_si128((__m128i*)(dst + 16), _mm_unpacklo_epi64(lo45, r1));
            _mm_storeu_si128((__m128i*)(dst + 32), _mm_unpackhi_epi64(r1, lo45));
            _mm_storeu_si128((__m128i*)(dst + 48), r2);
            _mm_storeu_si128((__m128i*)(dst + 64), _mm_unpacklo_epi64(hi45, r3));
            _mm_storeu_si128((__m128i*)(dst + 80), _mm_unpackhi_epi64(r3, hi45));
        }
        return;
    }
    if (shift == 1) DecodeSubsampledRow<1>(src, dst);
    else DecodeSubsampledRow<2>(src, dst);
}

int Yuv10Sse2Available() {
#if defined(__x86_64__)
    return 1;
#else
    unsigned a, b, c, d;
    return __get_cpuid(1, &a, &b, &c, &d) && (d >> 26 & 1) ? 1 : 0;
#endif
}
#else
int Yuv10Sse2Available() { return 0; }
void DecodeYuv10RowSse2(const uint8_t* src, uint8_t* dst, int shift) {
    DecodeYuv10RowTables(src, dst, shift);
}
#endif

typedef void (*Yuv10RowKernel)(const uint8_t* src, uint8_t* dst, int shift);

void DecodeYuv10Row(const uint8_t* src, uint8_t* dst, int shift) {
    static const Yuv10RowKernel kernel =
        Yuv10Sse2Available() ? DecodeYuv10RowSse2 : DecodeYuv10RowTables;
    kernel(src, dst, shift);
}

// Rows are read in blocks of this many: one read call per block instead of per row, and
// a block (80 KiB) still sits in the second-level cache while its rows are converted.
// Blocks of 8 to 64 rows measured alike.
enum { YUV10_BLOCK_ROWS = 16 };

// The block buffer, allocated on first use and kept. Without it the reader goes on with
// two rows at a time in LineBuffer.
static uint8_t* Yuv10Block;

// Reads the file in blocks of whole rows, the rows not shown included: at half scale one
// large read still costs less than a seek and a read per shown row (under Wine each call
// costs microseconds). Returns the first file row not decoded.
static int DecodeInBlocks(PlatFile file, int shift, uint8_t* block, int blockRows) {
    int k = 1 << shift;
    for (int first = 0; first < FRAME_HEIGHT; first += blockRows) {
        int rows = FRAME_HEIGHT - first < blockRows ? FRAME_HEIGHT - first : blockRows;
        int32_t got = PlatReadFile(file, block, (uint32_t)rows * YUV10_ROW_BYTES);
        int whole = got > 0 ? got / YUV10_ROW_BYTES : 0;
        for (int i = 0; i < whole; ++i) {
            int b = FRAME_HEIGHT - 1 - (first + i);
            if (b % k == 0)
                DecodeYuv10Row(block + (size_t)i * YUV10_ROW_BYTES, FrameImageRow(b >> shift), shift);
        }
        if (whole < rows) return first + whole;
    }
    return FRAME_HEIGHT;
}

// Reads only the shown rows, each after a seek past the rows not shown. At quarter size
// this beats whole blocks natively and under Wine (a quarter of the bytes copied, at two
// calls per row); at half size the blocks win on both.
static int DecodeShownRows(PlatFile file, int shift, uint8_t* row) {
    int k = 1 << shift;
    for (int r = (FRAME_HEIGHT - 1) % k; r < FRAME_HEIGHT; r += k) {
        if (PlatSeekFile(file, (int64_t)r * YUV10_ROW_BYTES, 0) != 0) return r;
        if (PlatReadFile(file, row, YUV10_ROW_BYTES) != YUV10_ROW_BYTES) return r;
        DecodeYuv10Row(row, FrameImageRow((FRAME_HEIGHT - 1 - r) >> shift), shift);
    }
    return FRAME_HEIGHT;
}

int ReadYuv10Frame() {
    ViewerStateData& v = ViewerState;
    int shift = v.ScaleShift;
    PlatFile file = OpenFrameToDecode();
    if (!file) return -1;
    if (!Yuv10Block) Yuv10Block = (uint8_t*)PlatAllocZero((size_t)YUV10_BLOCK_ROWS * YUV10_ROW_BYTES);

    // File row r is picture row b = 1079 - r from the bottom, shown when b is a multiple
    // of the scale step. Once the file ends or fails, the rows left stay black rather
    // than keep an older frame.
    int done = shift == 2 ? DecodeShownRows(file, shift, v.LineBuffer)
               : Yuv10Block ? DecodeInBlocks(file, shift, Yuv10Block, YUV10_BLOCK_ROWS)
                          : DecodeInBlocks(file, shift, v.LineBuffer, LINE_BUFFER_SIZE / YUV10_ROW_BYTES);
    for (int r = done; r < FRAME_HEIGHT; ++r) {
        int b = FRAME_HEIGHT - 1 - r;
        if (b % (1 << shift) == 0) memset(FrameImageRow(b >> shift), 0, (size_t)FrameImageWidth() * 4);
    }
    PlatCloseFile(file);
    return 0;
}

void ReleaseYuv10Block() {
    PlatFree(Yuv10Block);
    Yuv10Block = nullptr;
}
