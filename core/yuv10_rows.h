// YUV10 row conversion: one file row to one row of the BGRX picture, and the choice of
// kernel. The reader calls DecodeYuv10Row; the kernels call nothing back.
#pragma once
#include <stdint.h>

enum { YUV10_ROW_BYTES = 5120 };  // 320 groups of 16 bytes

// One file row (5120 bytes) to every (1 << shift)-th pixel of a BGRX picture row. The
// scalar reference follows the formulas; the variants give identical bytes in the frame
// image, where the fourth byte of every pixel is 0: the scalar ones leave it alone, the
// SSSE3 and AVX2 ones store whole pixels with a fourth byte of 0.
void DecodeYuv10RowReference(const uint8_t* src, uint8_t* dst, int shift);
void DecodeYuv10RowTables(const uint8_t* src, uint8_t* dst, int shift);
// SSSE3 kernel at every scale; call it only where Ssse3Available() is 1.
void DecodeYuv10RowSsse3(const uint8_t* src, uint8_t* dst, int shift);
// AVX2 kernel at full and half size (shift 0 or 1); call it only where Avx2Available()
// is 1.
void DecodeYuv10RowAvx2(const uint8_t* src, uint8_t* dst, int shift);
// The fastest kernel this processor runs at that scale, chosen once; the reader uses it.
void DecodeYuv10Row(const uint8_t* src, uint8_t* dst, int shift);
