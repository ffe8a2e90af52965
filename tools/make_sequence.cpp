// make-sequence --format yuv10|tiff --frames N [--first K] --out DIR/NAME_%04d.EXT
// Writes N synthetic frames (moving bars, the frame number drawn in pixels).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "tools/frame_pattern.h"

static int Usage() {
    fprintf(stderr,
            "usage: make-sequence --format yuv10|tiff --frames N [--first K] --out DIR/NAME_%%04d.EXT\n");
    return 2;
}

static bool WriteWhole(const char* path, const void* data, size_t size) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
    std::string format, out;
    long frames = -1, first = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--format")) format = argv[i + 1];
        else if (!strcmp(argv[i], "--frames")) frames = strtol(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--first")) first = strtol(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--out")) out = argv[i + 1];
        else return Usage();
    }
    if (argc % 2 != 1 || (format != "yuv10" && format != "tiff") || frames < 1 || frames > 100000 ||
        first < 0 || out.empty() || out.find('%') == std::string::npos)
        return Usage();

    for (long n = first; n < first + frames; ++n) {
        char path[4096];
        snprintf(path, sizeof path, out.c_str(), (int)n);
        bool ok;
        if (format == "yuv10") {
            std::vector<uint8_t> frame = MakeYuv10Frame((int)n);
            ok = WriteWhole(path, frame.data(), frame.size());
        } else {
            fprintf(stderr, "make-sequence: TIFF output is not built yet\n");
            return 1;
        }
        if (!ok) {
            fprintf(stderr, "make-sequence: cannot write %s\n", path);
            return 1;
        }
    }
    return 0;
}
