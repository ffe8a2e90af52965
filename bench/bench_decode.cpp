// bench-decode --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] [--passes N]
// Decodes the sequence of each given frame (60 frames are expected) from the page cache
// at scales 0, 1 and 2 and prints, per format and scale, the median milliseconds per
// frame and, measured alternately on the same files, the floor: the least any reader
// must do for that frame (see FloorOnce). At half and quarter size there are two ways to
// the shown rows' bytes, reading only them or reading every row in blocks; both are
// printed and the floor is the cheaper, since one call per row can cost more than
// copying the rows in between. The first line of a scale is the viewer's own choice of
// row kernel; a line follows for each kernel this processor runs at that scale, forced
// into the same reader (see ForcedRows).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/cpu_features.h"
#include "core/frame_sequence.h"
#include "core/sequence_loading.h"
#include "core/tiff_rows.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "core/yuv10_rows.h"
#include "platform/platform.h"

typedef void (*RowKernel)(const uint8_t* src, uint8_t* dst, int shift);

struct Kernel {
    const char* name;
    RowKernel convert;
    int available;
    int lastShift;  // the smallest size it converts
};

// The reader's calls to the choice of kernel end up here (bench/CMakeLists.txt wraps the
// choice at link time), so a forced kernel runs inside the real reader; the viewer
// itself has no way to force one. Rows counts the calls, to show the wrap took effect.
static struct {
    RowKernel kernel;  // null: the viewer's choice
    long rows;
} ForcedRows;

static void ForcedRow(RowKernel viewersChoice, const uint8_t* src, uint8_t* dst, int shift) {
    ++ForcedRows.rows;
    (ForcedRows.kernel ? ForcedRows.kernel : viewersChoice)(src, dst, shift);
}

extern "C" {
void __real__Z14DecodeYuv10RowPKhPhi(const uint8_t* src, uint8_t* dst, int shift);
void __real__Z13DecodeTiffRowPKhPhi(const uint8_t* src, uint8_t* dst, int shift);
void __wrap__Z14DecodeYuv10RowPKhPhi(const uint8_t* src, uint8_t* dst, int shift) {
    ForcedRow(__real__Z14DecodeYuv10RowPKhPhi, src, dst, shift);
}
void __wrap__Z13DecodeTiffRowPKhPhi(const uint8_t* src, uint8_t* dst, int shift) {
    ForcedRow(__real__Z13DecodeTiffRowPKhPhi, src, dst, shift);
}
}

struct FormatRun {
    const char* name;
    std::string firstFrame;
    uint32_t rowBytes;
    int64_t dataOffset;  // where row 0 starts: 0 in YUV10, 8 in make-sequence's TIFF
    std::vector<Kernel> kernels;
};

enum { FLOOR_CHUNK_ROWS = 16 };

// Where the floor's reads land: 16 rows (80 KiB of YUV10, 180 KiB of TIFF), reused for
// every chunk so it stays in the second-level cache. A frame-sized heap block instead is
// mapped by the C library on its own and a read into it runs several times slower than
// the decode it is meant to bound.
static uint8_t FloorChunk[FLOOR_CHUNK_ROWS * LINE_BUFFER_SIZE];

// Milliseconds of one floor step for the frame at CurrentFrame: open; read only the
// shown rows, a run of consecutive shown rows (at most 16) per read and a seek before
// every run that does not follow the last (so at full size 68 reads and at most one seek, at
// half size 540 seeks and reads of one row, at quarter size 270); close; write the
// picture once. With allRows, every row is read in 16-row chunks instead, shown or not.
static double FloorOnce(const FormatRun& run, int scale, bool allRows) {
    double t0 = NowMs();
    PlatFile file = OpenCurrentFrame();
    if (file) {
        int k = allRows ? 1 : 1 << scale;
        int64_t position = 0;
        // File row r is shown when 1079 - r is a multiple of k.
        for (int r = (FRAME_HEIGHT - 1) % k; r < FRAME_HEIGHT;) {
            int rows = 1;
            if (k == 1)
                rows = FRAME_HEIGHT - r < FLOOR_CHUNK_ROWS ? FRAME_HEIGHT - r : FLOOR_CHUNK_ROWS;
            int64_t at = run.dataOffset + (int64_t)r * run.rowBytes;
            if (at != position && PlatSeekFile(file, at, 0) != 0) break;
            // Single rows go to successive slots of the chunk, as a reader filling a block would.
            int slot = k == 1 ? 0 : (r / k) % FLOOR_CHUNK_ROWS;
            uint32_t size = (uint32_t)rows * run.rowBytes;
            if (PlatReadFile(file, FloorChunk + (size_t)slot * run.rowBytes, size) != (int32_t)size)
                break;
            position = at + size;
            r += k == 1 ? rows : k;
        }
        PlatCloseFile(file);
    }
    memset(ViewerState.FrameImage.Pixels, 0,
           (size_t)FrameImageWidth() * (size_t)FrameImageHeight() * 4);
    return NowMs() - t0;
}

static std::vector<Kernel> Yuv10Kernels() {
    return {{"avx2", DecodeYuv10RowAvx2, Avx2Available(), 1},
            {"ssse3", DecodeYuv10RowSsse3, Ssse3Available(), 2},
            {"tables", DecodeYuv10RowTables, 1, 2}};
}

static std::vector<Kernel> TiffKernels() {
    return {{"ssse3", DecodeTiffRowSsse3, Ssse3Available(), 2},
            {"scalar", DecodeTiffRowScalar, 1, 2}};
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

        // One untimed pass brings every file into the page cache.
        for (int i = 0; i < frames; ++i) {
            ViewerState.CurrentFrame = i;
            if (ReadCurrentFrame() != 0) {
                fprintf(stderr, "bench-decode: cannot decode %s\n", ViewerState.PathBuffer);
                return 1;
            }
            FloorOnce(run, scale, false);
        }
        // Decode (the viewer's choice, then each kernel), floor and whole-file passes
        // alternate so all see the same machine state.
        std::vector<Kernel> kernels;
        for (const Kernel& k : run.kernels)
            if (k.available && scale <= k.lastShift) kernels.push_back(k);
        std::vector<std::vector<double>> decode(1 + kernels.size());
        std::vector<double> floor, allRows;
        for (int p = 0; p < passes; ++p) {
            for (size_t k = 0; k < decode.size(); ++k) {
                ForcedRows.kernel = k ? kernels[k - 1].convert : nullptr;
                ForcedRows.rows = 0;
                for (int i = 0; i < frames; ++i) {
                    ViewerState.CurrentFrame = i;
                    double t0 = NowMs();
                    ReadCurrentFrame();
                    decode[k].push_back(NowMs() - t0);
                }
                if (ForcedRows.kernel && ForcedRows.rows == 0) {
                    fprintf(stderr, "bench-decode: the %s reader does not reach the wrap\n",
                            run.name);
                    return 1;
                }
            }
            ForcedRows.kernel = nullptr;
            for (int i = 0; i < frames; ++i) {
                ViewerState.CurrentFrame = i;
                floor.push_back(FloorOnce(run, scale, false));
            }
            for (int i = 0; scale > 0 && i < frames; ++i) {
                ViewerState.CurrentFrame = i;
                allRows.push_back(FloorOnce(run, scale, true));
            }
        }
        // A reader may take either way to the shown rows, so the floor is the cheaper.
        double shown = Median(floor), all = Median(allRows);
        double f = scale > 0 && all < shown ? all : shown;
        for (size_t k = 0; k < decode.size(); ++k) {
            double d = Median(decode[k]);
            printf("%s scale=%d ", run.name, scale);
            if (k) printf("kernel=%s ", kernels[k - 1].name);
            printf("ms=%.3f floor_ms=%.3f ratio=%.2f", d, f, f > 0 ? d / f : 0.0);
            if (scale > 0 && !k) printf(" (shown_rows_ms=%.3f all_rows_ms=%.3f)", shown, all);
            printf("\n");
        }
        fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv) {
    std::vector<FormatRun> runs;
    int passes = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--yuv10"))
            runs.push_back({"yuv10", argv[i + 1], YUV10_ROW_BYTES, 0, Yuv10Kernels()});
        else if (!strcmp(argv[i], "--tiff"))
            runs.push_back({"tiff", argv[i + 1], TIFF_ROW_BYTES, 8, TiffKernels()});
        else if (!strcmp(argv[i], "--passes"))
            passes = atoi(argv[i + 1]);
        else {
            runs.clear();  // an unknown option: the usage below
            break;
        }
    }
    if (runs.empty() || argc % 2 != 1 || passes < 1) {
        fprintf(stderr,
                "usage: bench-decode --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] [--passes N]\n");
        return 2;
    }
    for (const FormatRun& run : runs)
        if (RunFormat(run, passes) != 0) return 1;
    return 0;
}
