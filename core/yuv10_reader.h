// Headerless 10-bit Y'CbCr 4:2:2 frames: 1080 rows of 320 groups of 16 bytes, top row first.
#pragma once
#include <stdint.h>

enum { YUV10_ROW_BYTES = 5120, YUV10_FRAME_BYTES = YUV10_ROW_BYTES * 1080 };

// Decodes the frame at CurrentFrame into FrameImage at the current scale.
// 0 when decoded, -1 when the frame could not be opened. Rows that the file does not
// hold (short file, read error) are black.
int ReadYuv10Frame();
// Releases the reader's block buffer; the next frame allocates it again, or reads
// through LineBuffer when memory has run out. Exposed for tests.
void ReleaseYuv10Block();

// One file row (5120 bytes) to every (1 << shift)-th pixel of a BGRX picture row. The
// scalar reference follows the formulas; the variants give identical bytes in the frame
// image, where the fourth byte of every pixel is 0: the scalar ones leave it alone, the
// SSSE3 and AVX2 ones store whole pixels with a fourth byte of 0.
void DecodeYuv10RowReference(const uint8_t* src, uint8_t* dst, int shift);
void DecodeYuv10RowTables(const uint8_t* src, uint8_t* dst, int shift);
// SSSE3 kernel; call it only where Yuv10Ssse3Available() is 1 (elsewhere it falls back).
void DecodeYuv10RowSsse3(const uint8_t* src, uint8_t* dst, int shift);
int Yuv10Ssse3Available();
// AVX2 kernel at full and half size, the SSSE3 one at quarter size; call it only where
// Yuv10Avx2Available() is 1: the processor has AVX2 and the system saves the 256-bit
// registers (elsewhere it falls back).
void DecodeYuv10RowAvx2(const uint8_t* src, uint8_t* dst, int shift);
int Yuv10Avx2Available();
// The fastest variant this processor runs; the reader uses it.
void DecodeYuv10Row(const uint8_t* src, uint8_t* dst, int shift);
