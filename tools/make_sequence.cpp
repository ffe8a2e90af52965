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
            "usage: make-sequence --format yuv10|tiff --frames N [--first K] --out "
            "DIR/NAME_%%04d.EXT\n");
    return 2;
}

static bool WriteWhole(const char* path, const void* data, size_t size) {
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

static void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A little-endian 48-bit RGB TIFF as libtiff lays one out: header, the pixels as one
// strip, the BitsPerSample values, then the directory.
static std::vector<uint8_t> MakeTiffFile(int n) {
    std::vector<uint16_t> samples = MakeRgb48Frame(n);
    const uint32_t pixelBytes = (uint32_t)samples.size() * 2;
    std::vector<uint8_t> out;
    out.reserve(pixelBytes + 256);
    out.insert(out.end(), {'I', 'I', 42, 0});
    Put32(out, 8 + pixelBytes + 6);  // the directory follows the pixels and the bit depths
    for (uint16_t s : samples) Put16(out, s);
    for (int i = 0; i < 3; ++i) Put16(out, 16);

    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
    };
    const Entry entries[] = {
        {256, 3, 1, 1920}, {257, 3, 1, 1080}, {258, 3, 3, 8 + pixelBytes},
        {259, 3, 1, 1},    {262, 3, 1, 2},    {273, 4, 1, 8},
        {277, 3, 1, 3},    {278, 3, 1, 1080}, {279, 4, 1, pixelBytes},
        {284, 3, 1, 1},
    };
    Put16(out, sizeof entries / sizeof entries[0]);
    for (const Entry& e : entries) {
        Put16(out, e.tag);
        Put16(out, e.type);
        Put32(out, e.count);
        // A single SHORT sits in the low half of the value field.
        Put32(out, e.value);
    }
    Put32(out, 0);  // no further directory
    return out;
}

int main(int argc, char** argv) {
    std::string format, out;
    long frames = -1, first = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--format"))
            format = argv[i + 1];
        else if (!strcmp(argv[i], "--frames"))
            frames = strtol(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--first"))
            first = strtol(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--out"))
            out = argv[i + 1];
        else
            return Usage();
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
            std::vector<uint8_t> file = MakeTiffFile((int)n);
            ok = WriteWhole(path, file.data(), file.size());
        }
        if (!ok) {
            fprintf(stderr, "make-sequence: cannot write %s\n", path);
            return 1;
        }
    }
    return 0;
}
