// TIFF files for the reader tests: the libtiff fixtures written at build time, small
// hand-built files for the cases libtiff does not write, and the check of a decoded
// picture against the samples that were written.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

struct TiffEntry {
    uint16_t tag, type;
    uint32_t count, value;
};

// A little-endian 48-bit TIFF of frame `frame` of the synthetic pattern.
struct HandTiff {
    int frame = 1;
    uint32_t rowsPerStrip = 1080;
    bool reverseStrips = false;  // strips stored last first
    std::vector<TiffEntry> entries = StandardEntries();  // StripOffsets comes after these
    // Where the block after the 8-byte header starts, and whether it holds the directory
    // before (false) or after (true) the pixels.
    uint32_t base = 8;
    bool directoryLast = false;

    static std::vector<TiffEntry> StandardEntries();
};

// The file's bytes from offset 0; when base > 8 the bytes between header and base are
// not included (WriteHandTiff leaves them as a hole).
std::vector<uint8_t> BuildTiff(const HandTiff& t);
void WriteHandTiff(const std::string& path, const HandTiff& t, const std::vector<uint8_t>& bytes);
// Offset of the StripOffsets entry's value field (the entry is always the last one).
size_t StripOffsetsValueAt(const std::vector<uint8_t>& bytes);
void Put32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value);

// Full path of a fixture written by libtiff.
std::string TiffFixture(const char* name);

// The 16-bit samples of frame n, made once.
const std::vector<uint16_t>& Rgb48(int n);
// Fills the picture with a non-black value so rows a reader leaves alone show up.
void ScribbleOnPicture();
// Whether the whole picture is still that value.
bool PictureIsScribbled();
// Number of pixels of the picture that are not the high bytes of frame n's samples at
// the current scale; file rows from blackFrom on must be black instead. Reports the
// first difference.
long PictureMismatches(int n, int blackFrom = 1080);
