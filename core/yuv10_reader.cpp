#include "core/yuv10_reader.h"

#include <string.h>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "core/yuv10_rows.h"

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
                DecodeYuv10Row(block + (size_t)i * YUV10_ROW_BYTES, FrameImageRow(b >> shift),
                               shift);
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
    // Blocks of 8 to 64 rows measured alike; without the block buffer, two rows at a time
    // in LineBuffer.
    uint8_t* block = ReadBlock();

    // File row r is picture row b = 1079 - r from the bottom, shown when b is a multiple
    // of the scale step. Once the file ends or fails, the rows left stay black rather
    // than keep an older frame.
    int done = shift == 2 ? DecodeShownRows(file, shift, v.LineBuffer)
               : block
                   ? DecodeInBlocks(file, shift, block, READ_BLOCK_SIZE / YUV10_ROW_BYTES)
                   : DecodeInBlocks(file, shift, v.LineBuffer, LINE_BUFFER_SIZE / YUV10_ROW_BYTES);
    for (int r = done; r < FRAME_HEIGHT; ++r) {
        int b = FRAME_HEIGHT - 1 - r;
        if (b % (1 << shift) == 0)
            memset(FrameImageRow(b >> shift), 0, (size_t)FrameImageWidth() * 4);
    }
    PlatCloseFile(file);
    return 0;
}
