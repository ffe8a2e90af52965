// Headerless 10-bit Y'CbCr 4:2:2 frames: 1080 rows of 320 groups of 16 bytes, top row first.
#pragma once
#include "core/yuv10_rows.h"

enum { YUV10_FRAME_BYTES = YUV10_ROW_BYTES * 1080 };

// Decodes the frame at CurrentFrame into FrameImage at the current scale.
// 0 when decoded, -1 when the frame could not be opened. Rows that the file does not
// hold (short file, read error) are black.
int ReadYuv10Frame();
