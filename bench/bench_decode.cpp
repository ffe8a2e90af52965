// bench-decode --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] [--passes N]
// Decodes the sequence of each given frame (60 frames are expected) from the page cache
// at scales 0, 1 and 2 and prints, per format and scale, the median milliseconds per
// frame and the floor measured alongside on the same files: opening the file, reading
// the bytes the decode must read with one read call, closing it, and writing the pixel
// buffer once.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "platform/platform.h"

struct FormatRun {
    const char* name;
    std::string firstFrame;
    uint32_t rowBytes;
};

// Milliseconds of one floor step for the frame at CurrentFrame: open, one read of the
// shown rows' bytes, close, and one pass over the pixel buffer.
static double FloorOnce(uint8_t* scratch, uint32_t bytes) {
    double t0 = NowMs();
    PlatFile file = OpenCurrentFrame();
    if (file) {
        PlatReadFile(file, scratch, bytes);
        PlatCloseFile(file);
    }
    memset(ViewerState.FrameImage.Pixels, 0,
           (size_t)FrameImageWidth() * (size_t)FrameImageHeight() * 4);
    return NowMs() - t0;
}

static int RunFormat(const FormatRun& run, int passes) {
    for (int scale = 0; scale <= 2; ++scale) {
        ClearViewerState();
        ViewerState.ScaleShift = scale;
        if (ResetFrameImage() != 0 || !SetBenchPath(run.firstFrame) || ScanSequence() != 0) {
            fprintf(stderr, "bench-decode: cannot list %s\n", run.firstFrame.c_str());
            return 1;
        }
        int frames = ViewerState.FrameCount;
        uint32_t bytes = (uint32_t)(FRAME_HEIGHT >> scale) * run.rowBytes;
        std::vector<uint8_t> scratch(bytes);
        bool tiff = ViewerState.IsTiff == 1;

        // One untimed pass brings every file into the page cache.
        for (int i = 0; i < frames; ++i) {
            ViewerState.CurrentFrame = i;
            if ((tiff ? ReadTiffFrame() : ReadYuv10Frame()) != 0) {
                fprintf(stderr, "bench-decode: cannot decode %s\n", ViewerState.PathBuffer);
                return 1;
            }
            FloorOnce(scratch.data(), bytes);
        }
        // Decode and floor passes alternate so both see the same machine state.
        std::vector<double> decode, floor;
        for (int p = 0; p < passes; ++p) {
            for (int i = 0; i < frames; ++i) {
                ViewerState.CurrentFrame = i;
                double t0 = NowMs();
                if (tiff) ReadTiffFrame();
                else ReadYuv10Frame();
                decode.push_back(NowMs() - t0);
            }
            for (int i = 0; i < frames; ++i) {
                ViewerState.CurrentFrame = i;
                floor.push_back(FloorOnce(scratch.data(), bytes));
            }
        }
        double d = Median(decode), f = Median(floor);
        printf("%s scale=%d ms=%.3f floor_ms=%.3f ratio=%.2f\n", run.name, scale, d, f,
               f > 0 ? d / f : 0.0);
        fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv) {
    std::vector<FormatRun> runs;
    int passes = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--yuv10")) runs.push_back({"yuv10", argv[i + 1], YUV10_ROW_BYTES});
        else if (!strcmp(argv[i], "--tiff")) runs.push_back({"tiff", argv[i + 1], LINE_BUFFER_SIZE});
        else if (!strcmp(argv[i], "--passes")) passes = atoi(argv[i + 1]);
        else runs.clear(), i = argc;
    }
    if (runs.empty() || argc % 2 != 1 || passes < 1) {
        fprintf(stderr, "usage: bench-decode --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] [--passes N]\n");
        return 2;
    }
    for (const FormatRun& run : runs)
        if (RunFormat(run, passes) != 0) return 1;
    return 0;
}
