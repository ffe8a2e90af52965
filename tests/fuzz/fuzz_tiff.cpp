// ReadTiffFrame on any file bytes. Input: one byte for the scale and an injected read
// error, then the file. A refused file leaves the picture untouched; an accepted one
// replaces every row (with pixels or black), and the fourth byte of a pixel stays 0.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "tests/fuzz/fuzz_platform.h"

using namespace fuzz_platform;

// Whether the fourth byte of every pixel of a picture row is 0: loads inside the
// picture, left uninstrumented so that checking every pixel stays cheap.
__attribute__((no_sanitize("address"))) static bool FourthBytesZero(const uint8_t* row, int width) {
    uint64_t any = 0;
    for (int x = 0; x < width; x += 2) {
        uint64_t two;
        memcpy(&two, row + 4 * x, 8);
        any |= two;
    }
    return (any & 0xFF000000FF000000ull) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    ViewerStateData& v = ViewerState;
    int shift = data[0] % 3;
    int failingRead = data[0] / 3 % 16;  // 0: no read error; n: the n-th read fails

    PrepareOneFrame("clip_0001.tif", data + 1, size - 1, shift);
    FUZZ_CHECK(v.IsTiff == 1);
    FailingRead = failingRead;

    int width = FrameImageWidth(), height = FrameImageHeight();
    const uint8_t* stale = StaleRow();

    int result = ReadTiffFrame();
    FUZZ_CHECK(result == 0 || result == -1);
    FUZZ_CHECK(OpenFiles == 0);
    FUZZ_CHECK(FrameImageWidth() == width && FrameImageHeight() == height);
    if (result != 0) {
        for (int r = 0; r < height; ++r)
            FUZZ_CHECK(memcmp(FrameImageRow(r), stale, (size_t)width * 4) == 0);
    } else {
        for (int r = 0; r < height; ++r) {
            const uint8_t* row = FrameImageRow(r);
            FUZZ_CHECK(FourthBytesZero(row, width));
            // No row of the earlier picture may remain.
            FUZZ_CHECK(memcmp(row, stale, (size_t)width * 4) != 0);
        }
    }
    FailingRead = 0;
    return 0;
}
