// Headerless 10-bit Y'CbCr 4:2:2 frames: 1080 rows of 320 groups of 16 bytes, top row first.
#pragma once
#include <stdint.h>

enum { YUV10_ROW_BYTES = 5120, YUV10_FRAME_BYTES = YUV10_ROW_BYTES * 1080 };

// Decodes the frame at CurrentFrame into FrameImage at the current scale.
// 0 when decoded, -1 when the frame could not be opened. Rows that the file does not
// hold (short file, read error) are black.
int ReadYuv10Frame();

// One file row (5120 bytes) to every (1 << shift)-th pixel of a BGRX picture row.
// The scalar reference and the variants chosen by the reader give identical bytes.
void DecodeYuv10RowReference(const uint8_t* src, uint8_t* dst, int shift);
void DecodeYuv10Row(const uint8_t* src, uint8_t* dst, int shift);
