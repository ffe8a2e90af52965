// decode-frame [--scale 0|1|2] FRAME_FILE OUT.ppm
// Lists the frame's sequence and decodes the frame as the viewer does, then writes the
// picture as a binary PPM, top row first.
#include <stdio.h>
#include <string.h>

#include "core/frame_sequence.h"
#include "core/sequence_loading.h"
#include "core/viewer_state.h"

static int Fail(const char* what, const char* path) {
    fprintf(stderr, "decode-frame: %s: %s\n", what, path);
    return 1;
}

int main(int argc, char** argv) {
    int scale = 1, arg = 1;
    if (argc == 5 && !strcmp(argv[1], "--scale") && argv[2][0] >= '0' && argv[2][0] <= '2' &&
        argv[2][1] == '\0') {
        scale = argv[2][0] - '0';
        arg = 3;
    } else if (argc != 3) {
        fprintf(stderr, "usage: decode-frame [--scale 0|1|2] FRAME_FILE OUT.ppm\n");
        return 2;
    }
    const char* frame = argv[arg];
    const char* out = argv[arg + 1];

    ViewerState.ScaleShift = scale;
    if (ResetFrameImage() != 0) return Fail("out of memory", frame);
    if (strlen(frame) >= PATH_BUFFER_SIZE) return Fail("path too long", frame);
    strcpy(ViewerState.PathBuffer, frame);
    if (ScanSequence() != 0) return Fail("cannot list the sequence of", frame);
    if (ReadCurrentFrame() != 0) return Fail("cannot decode", ViewerState.PathBuffer);

    FILE* f = fopen(out, "wb");
    if (!f) return Fail("cannot write", out);
    int w = FrameImageWidth(), h = FrameImageHeight();
    fprintf(f, "P6\n%d %d\n255\n", w, h);
    unsigned char rgb[FRAME_WIDTH * 3];
    for (int r = h - 1; r >= 0; --r) {
        const unsigned char* p = FrameImageRow(r);
        for (int x = 0; x < w; ++x, p += 4) {
            rgb[3 * x] = p[2];
            rgb[3 * x + 1] = p[1];
            rgb[3 * x + 2] = p[0];
        }
        fwrite(rgb, 3, (size_t)w, f);
    }
    if (fclose(f) != 0) return Fail("cannot write", out);
    return 0;
}
