#include "tests/unit/tiff_files.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>

#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tools/frame_pattern.h"

#ifdef _WIN32
#define fseek64 _fseeki64
#else
#define fseek64 fseeko
#endif

std::vector<TiffEntry> HandTiff::StandardEntries() {
    return {{256, 3, 1, 1920}, {257, 4, 1, 1080}, {258, 3, 1, 16}, {259, 3, 1, 1},
            {262, 3, 1, 2},    {266, 3, 1, 1},    {277, 3, 1, 3},  {284, 3, 1, 1}};
}

// Both test hosts are little-endian, so values are stored as they are in memory.
template <typename T>
static void Put(std::vector<uint8_t>& out, T v) {
    out.insert(out.end(), (const uint8_t*)&v, (const uint8_t*)&v + sizeof v);
}

void Put32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    memcpy(&bytes[at], &value, 4);
}

std::vector<uint8_t> BuildTiff(const HandTiff& t) {
    const uint32_t rowBytes = 11520, rows = t.rowsPerStrip;
    const uint32_t strips = (1080 + rows - 1) / rows;
    std::vector<TiffEntry> entries = t.entries;
    if (rows != 1080) entries.push_back({278, 3, 1, rows});
    const uint32_t entryCount = (uint32_t)entries.size() + 1;
    const uint32_t directoryBytes = 2 + 12 * entryCount + 4 + (strips > 1 ? 4 * strips : 0);
    const uint32_t pixelBytes = rowBytes * 1080;
    const uint32_t directoryAt = t.directoryLast ? t.base + pixelBytes : t.base;
    const uint32_t pixelsAt = t.directoryLast ? t.base : t.base + directoryBytes;
    const uint32_t arrayAt = directoryAt + 2 + 12 * entryCount + 4;

    // Strip i lands at the place of strip (strips - 1 - i) when stored last first; the
    // last strip may be short, so work out the offsets by walking the stored order.
    std::vector<uint32_t> offsets(strips);
    uint32_t at = pixelsAt;
    for (uint32_t j = 0; j < strips; ++j) {
        uint32_t i = t.reverseStrips ? strips - 1 - j : j;
        offsets[i] = at;
        at += rowBytes * (i + 1 == strips ? 1080 - rows * i : rows);
    }

    std::vector<uint8_t> head = {'I', 'I', 42, 0};
    Put<uint32_t>(head, directoryAt);
    std::vector<uint8_t> directory;
    Put<uint16_t>(directory, entryCount);
    for (const TiffEntry& e : entries) {
        Put<uint16_t>(directory, e.tag);
        Put<uint16_t>(directory, e.type);
        Put<uint32_t>(directory, e.count);
        Put<uint32_t>(directory, e.value);
    }
    Put<uint16_t>(directory, 273);
    Put<uint16_t>(directory, 4);
    Put<uint32_t>(directory, strips);
    Put<uint32_t>(directory, strips > 1 ? arrayAt : offsets[0]);
    Put<uint32_t>(directory, 0);
    if (strips > 1)
        for (uint32_t o : offsets) Put<uint32_t>(directory, o);

    const std::vector<uint16_t>& rgb = Rgb48(t.frame);
    std::vector<uint8_t> pixels;
    pixels.reserve(pixelBytes);
    for (uint32_t j = 0; j < strips; ++j) {
        uint32_t i = t.reverseStrips ? strips - 1 - j : j;
        uint32_t last = std::min(1080u, rows * (i + 1));
        const uint8_t* from = (const uint8_t*)&rgb[(size_t)rows * i * 1920 * 3];
        pixels.insert(pixels.end(), from, from + (size_t)(last - rows * i) * rowBytes);
    }

    std::vector<uint8_t> out = head;
    if (t.base == 8) out.reserve(8 + directoryBytes + pixelBytes);
    const std::vector<uint8_t>& first = t.directoryLast ? pixels : directory;
    const std::vector<uint8_t>& second = t.directoryLast ? directory : pixels;
    out.insert(out.end(), first.begin(), first.end());
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

void WriteHandTiff(const std::string& path, const HandTiff& t, const std::vector<uint8_t>& bytes) {
    if (t.base == 8) {
        WriteBytes(path, bytes);
        return;
    }
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    ASSERT_EQ(fwrite(bytes.data(), 1, 8, f), 8u);
    ASSERT_EQ(fseek64(f, t.base, SEEK_SET), 0);
    ASSERT_EQ(fwrite(bytes.data() + 8, 1, bytes.size() - 8, f), bytes.size() - 8);
    ASSERT_EQ(fclose(f), 0);
}

size_t StripOffsetsValueAt(const std::vector<uint8_t>& bytes) {
    uint32_t directory;
    uint16_t count;
    memcpy(&directory, &bytes[4], 4);
    memcpy(&count, &bytes[directory], 2);
    return directory + 2 + 12 * (count - 1) + 8;
}

std::string TiffFixture(const char* name) { return std::string(TIFF_FIXTURE_DIR) + "/" + name; }

const std::vector<uint16_t>& Rgb48(int n) {
    static std::map<int, std::vector<uint16_t>> frames;
    auto it = frames.find(n);
    if (it == frames.end()) it = frames.emplace(n, MakeRgb48Frame(n)).first;
    return it->second;
}

void ScribbleOnPicture() {
    memset(ViewerState.FrameImage.Pixels, 0x55,
           (size_t)FrameImageWidth() * FrameImageHeight() * 4);
}

bool PictureIsScribbled() {
    size_t bytes = (size_t)FrameImageWidth() * FrameImageHeight() * 4;
    for (size_t i = 0; i < bytes; ++i)
        if (ViewerState.FrameImage.Pixels[i] != 0x55) return false;
    return true;
}

long PictureMismatches(int n, int blackFrom) {
    const std::vector<uint16_t>& rgb = Rgb48(n);
    int k = 1 << ViewerState.ScaleShift;
    long mismatches = 0;
    for (int top = 0; top < FrameImageHeight(); ++top) {
        int y = top * k + k - 1;  // the bottom row of the picture is the file's last row
        for (int c = 0; c < FrameImageWidth(); ++c) {
            int x = c * k;
            const uint16_t* s = &rgb[((size_t)y * 1920 + x) * 3];
            uint8_t want[3] = {(uint8_t)(s[2] >> 8), (uint8_t)(s[1] >> 8), (uint8_t)(s[0] >> 8)};
            if (y >= blackFrom) memset(want, 0, 3);
            const uint8_t* got = PixelAt(c, top);
            if (memcmp(got, want, 3) == 0) continue;
            if (mismatches++ == 0)
                ADD_FAILURE() << "frame " << n << " scale " << ViewerState.ScaleShift
                              << ": first wrong picture pixel (" << c << ", " << top << ")";
        }
    }
    return mismatches;
}
