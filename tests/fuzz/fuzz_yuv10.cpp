// ReadYuv10Frame on a file of any length and bytes. Input: one byte for the scale and an
// injected read error, then the file. Every picture row must be the row decoded from the
// file (the fourth byte of each pixel 0) or black; nothing of the picture before may
// remain.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "tests/fuzz/fuzz_platform.h"

using namespace fuzz_platform;

static bool IsBlack(const uint8_t* row, int width) {
    static const uint8_t zero[FRAME_WIDTH * 4] = {};
    return memcmp(row, zero, (size_t)width * 4) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    ViewerStateData& v = ViewerState;
    int shift = data[0] % 3;
    int failingRead = data[0] / 3 % 8;  // 0: no read error; n: the n-th read fails
    const uint8_t* file = data + 1;
    size_t fileSize = size - 1;

    PrepareOneFrame("clip_0001.yuv10", data + 1, size - 1, shift);
    FUZZ_CHECK(v.IsTiff == 0);
    FailingRead = failingRead;

    int width = FrameImageWidth(), height = FrameImageHeight();

    FUZZ_CHECK(ReadYuv10Frame() == 0);
    FUZZ_CHECK(OpenFiles == 0);

    // Picture row r (from the top) shows file row (r << shift) + (1 << shift) - 1. A row
    // the file does not hold is black; after a failed read every further row is black.
    std::vector<uint8_t> expected((size_t)width * 4);
    bool stopped = false;
    for (int r = 0; r < height; ++r) {
        const uint8_t* row = FrameImageRow(height - 1 - r);
        size_t fileRow = ((size_t)r << shift) + (1u << shift) - 1;
        bool black = IsBlack(row, width);
        if ((fileRow + 1) * YUV10_ROW_BYTES > fileSize || stopped) {
            FUZZ_CHECK(black);
            continue;
        }
        memset(expected.data(), 0, expected.size());
        DecodeYuv10RowReference(file + fileRow * YUV10_ROW_BYTES, expected.data(), shift);
        bool decoded = memcmp(row, expected.data(), expected.size()) == 0;
        if (failingRead == 0) FUZZ_CHECK(decoded);
        FUZZ_CHECK(decoded || black);
        if (!decoded) stopped = true;
    }
    FailingRead = 0;
    return 0;
}
