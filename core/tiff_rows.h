// TIFF row conversion: one file row of 16-bit R, G, B samples to one row of the BGRX
// picture, and the choice of kernel. The reader calls DecodeTiffRow; the kernels call
// nothing back.
#pragma once
#include <stdint.h>

enum { TIFF_ROW_BYTES = 11520 };  // 1920 pixels of three little-endian 16-bit samples

// The high bytes of the R, G, B samples of every (1 << shift)-th pixel, stored B, G, R.
// The scalar kernel leaves the fourth byte of each pixel alone; the SSSE3 one stores
// whole pixels with a fourth byte of 0, as the frame image holds it.
void DecodeTiffRowScalar(const uint8_t* src, uint8_t* dst, int shift);
// SSSE3 kernel at every scale; call it only where Ssse3Available() is 1.
void DecodeTiffRowSsse3(const uint8_t* src, uint8_t* dst, int shift);
// The fastest kernel this processor runs at that scale, chosen once; the reader uses it.
void DecodeTiffRow(const uint8_t* src, uint8_t* dst, int shift);
