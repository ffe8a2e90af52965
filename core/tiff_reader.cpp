#include "core/tiff_reader.h"

#include <string.h>

#include "core/frame_sequence.h"
#include "core/tiff_rows.h"
#include "core/viewer_state.h"

enum {
    ENTRY_BYTES = 12,
    ENTRIES_PER_READ = LINE_BUFFER_SIZE / ENTRY_BYTES,
    TYPE_SHORT = 3,
    TYPE_LONG = 4,
    TAG_IMAGE_WIDTH = 256,
    TAG_IMAGE_LENGTH = 257,
    TAG_BITS_PER_SAMPLE = 258,
    TAG_COMPRESSION = 259,
    TAG_PHOTOMETRIC = 262,
    TAG_FILL_ORDER = 266,
    TAG_STRIP_OFFSETS = 273,
    TAG_SAMPLES_PER_PIXEL = 277,
    TAG_ROWS_PER_STRIP = 278,
    TAG_PLANAR_CONFIG = 284,
    TAG_SAMPLE_FORMAT = 339,
};

static uint16_t Get16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
static uint32_t Get32(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// Reads exactly size bytes at an absolute file position.
static int ReadAt(PlatFile file, int64_t position, void* buffer, uint32_t size) {
    if (PlatSeekFile(file, position, 0) != 0) return -1;
    return PlatReadFile(file, buffer, size) == (int32_t)size ? 0 : -1;
}

// The single value of a one-count SHORT or LONG entry; -1 for anything else.
static int EntryValue(const uint8_t* entry, uint32_t* value) {
    uint16_t type = Get16(entry + 2);
    if (Get32(entry + 4) != 1) return -1;
    if (type == TYPE_SHORT)
        *value = Get16(entry + 8);
    else if (type == TYPE_LONG)
        *value = Get32(entry + 8);
    else
        return -1;
    return 0;
}

// Whether a tag that is present agrees with the one picture layout shown: 1920 x 1080,
// chunky RGB of three 16-bit samples, uncompressed, bits in the usual order.
static int CheckFixedTag(uint16_t tag, const uint8_t* entry) {
    uint32_t want;
    switch (tag) {
    case TAG_IMAGE_WIDTH:
        want = FRAME_WIDTH;
        break;
    case TAG_IMAGE_LENGTH:
        want = FRAME_HEIGHT;
        break;
    case TAG_COMPRESSION:
        want = 1;
        break;
    case TAG_PHOTOMETRIC:
        want = 2;
        break;
    case TAG_FILL_ORDER:
        want = 1;
        break;
    case TAG_SAMPLES_PER_PIXEL:
        want = 3;
        break;
    case TAG_PLANAR_CONFIG:
        want = 1;
        break;
    default:
        return 0;
    }
    uint32_t value;
    return EntryValue(entry, &value) == 0 && value == want ? 0 : -1;
}

// What the directory says about the pixel data.
struct StripLayout {
    uint8_t offsetsEntry[ENTRY_BYTES];
    uint8_t bitsEntry[ENTRY_BYTES];
    uint8_t formatEntry[ENTRY_BYTES];
    bool haveOffsets, haveBits, haveFormat;
    uint32_t rowsPerStrip;
};

// Reads the directory in a few large reads (through LineBuffer) and checks every tag
// that describes the picture.
static int ReadDirectory(PlatFile file, int64_t fileSize, StripLayout* layout) {
    uint8_t header[8];
    if (ReadAt(file, 0, header, 8) != 0 || memcmp(header, "II*\0", 4) != 0) return -1;
    int64_t ifd = Get32(header + 4);
    uint8_t countBytes[2];
    if (ifd + 2 > fileSize || ReadAt(file, ifd, countBytes, 2) != 0) return -1;
    uint32_t count = Get16(countBytes);
    if (count == 0 || ifd + 2 + (int64_t)count * ENTRY_BYTES > fileSize) return -1;

    memset(layout, 0, sizeof *layout);
    layout->rowsPerStrip = FRAME_HEIGHT;
    uint8_t* entries = ViewerState.LineBuffer;
    for (uint32_t done = 0; done < count;) {
        uint32_t n = count - done;
        if (n > (uint32_t)ENTRIES_PER_READ) n = ENTRIES_PER_READ;
        if (PlatReadFile(file, entries, n * ENTRY_BYTES) != (int32_t)(n * ENTRY_BYTES)) return -1;
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t* entry = entries + i * ENTRY_BYTES;
            uint16_t tag = Get16(entry);
            if (CheckFixedTag(tag, entry) != 0) return -1;
            if (tag == TAG_STRIP_OFFSETS && !layout->haveOffsets) {
                memcpy(layout->offsetsEntry, entry, ENTRY_BYTES);
                layout->haveOffsets = true;
            } else if (tag == TAG_BITS_PER_SAMPLE) {
                memcpy(layout->bitsEntry, entry, ENTRY_BYTES);
                layout->haveBits = true;
            } else if (tag == TAG_SAMPLE_FORMAT) {
                memcpy(layout->formatEntry, entry, ENTRY_BYTES);
                layout->haveFormat = true;
            } else if (tag == TAG_ROWS_PER_STRIP) {
                uint32_t rows;
                if (EntryValue(entry, &rows) != 0 || rows == 0) return -1;
                layout->rowsPerStrip =
                    rows < (uint32_t)FRAME_HEIGHT ? rows : (uint32_t)FRAME_HEIGHT;
            }
        }
        done += n;
    }
    return layout->haveOffsets ? 0 : -1;
}

// Reads the values of an array entry (SHORT elements, anything else taken as LONG) into
// values. Values of four bytes or fewer sit in the entry itself; a count of 0 is taken
// as 1. The array must lie inside the file; only the first `wanted` values are kept.
static int ReadArray(PlatFile file, int64_t fileSize, const uint8_t* entry, uint32_t wanted,
                     uint32_t* values) {
    uint32_t size = Get16(entry + 2) == TYPE_SHORT ? 2 : 4;
    uint32_t count = Get32(entry + 4);
    if (count == 0) count = 1;
    if (count < wanted) return -1;
    const uint8_t* data = entry + 8;
    if ((int64_t)count * size > 4) {
        int64_t at = Get32(entry + 8);
        if (at + (int64_t)count * size > fileSize) return -1;
        // wanted <= FRAME_HEIGHT, so the kept values fit LineBuffer.
        if (ReadAt(file, at, ViewerState.LineBuffer, wanted * size) != 0) return -1;
        data = ViewerState.LineBuffer;
    }
    for (uint32_t i = 0; i < wanted; ++i)
        values[i] = size == 2 ? Get16(data + 2 * i) : Get32(data + 4 * i);
    return 0;
}

// Whether every value of a per-sample entry (one for all samples, or one each) is want.
static int EverySampleIs(PlatFile file, int64_t fileSize, const uint8_t* entry, uint32_t want) {
    uint32_t values[3], count = Get32(entry + 4);
    if ((count != 1 && count != 3) || ReadArray(file, fileSize, entry, count, values) != 0)
        return -1;
    for (uint32_t i = 0; i < count; ++i)
        if (values[i] != want) return -1;
    return 0;
}

static int64_t RowPosition(const uint32_t* strips, uint32_t rows, int y) {
    return (int64_t)strips[(uint32_t)y / rows] + (int64_t)((uint32_t)y % rows) * TIFF_ROW_BYTES;
}

// File row y (from the top) is picture row b = 1079 - y from the bottom, shown when b is
// a multiple of the scale step. One read brings a run of up to bufferRows shown rows that
// lie one after another in the file; a seek passes over the rows not shown. A row not
// wholly in the file, or one that fails to read, stays black rather than keep an older
// frame.
static void DecodeRows(PlatFile file, int64_t fileSize, const uint32_t* strips, uint32_t rows,
                       int shift, uint8_t* buffer, int bufferRows) {
    int k = 1 << shift;
    int64_t position = -1;
    bool readable = true;
    for (int y = (FRAME_HEIGHT - 1) % k; y < FRAME_HEIGHT;) {
        int64_t at = RowPosition(strips, rows, y);
        int run = 0;  // rows wholly in the file that one read brings
        while (run < bufferRows && y + run * k < FRAME_HEIGHT &&
               RowPosition(strips, rows, y + run * k) == at + (int64_t)run * TIFF_ROW_BYTES &&
               at + (int64_t)(run + 1) * TIFF_ROW_BYTES <= fileSize)
            ++run;
        int got = 0;
        if (readable && run > 0) {
            uint32_t size = (uint32_t)run * TIFF_ROW_BYTES;
            int32_t n = at != position && PlatSeekFile(file, at, 0) != 0
                            ? -1
                            : PlatReadFile(file, buffer, size);
            got = n > 0 ? n / TIFF_ROW_BYTES : 0;
            readable = n == (int32_t)size;
            position = at + size;
        }
        for (int i = 0; i < (run ? run : 1); ++i, y += k) {
            uint8_t* row = FrameImageRow((FRAME_HEIGHT - 1 - y) >> shift);
            if (i < got)
                DecodeTiffRow(buffer + (size_t)i * TIFF_ROW_BYTES, row, shift);
            else
                memset(row, 0, (size_t)FrameImageWidth() * 4);
        }
    }
}

int ReadTiffFrame() {
    ViewerStateData& v = ViewerState;
    int shift = v.ScaleShift;
    PlatFile file = OpenFrameToDecode();
    if (!file) return -1;

    // Strip offsets live on the stack: at most one strip a row, nothing allocated.
    uint32_t strips[FRAME_HEIGHT];
    StripLayout layout;
    int64_t fileSize = PlatFileSize(file);
    uint32_t rows = 0;
    int result = fileSize < 8 ? -1 : ReadDirectory(file, fileSize, &layout);
    if (result == 0) {
        rows = layout.rowsPerStrip;
        uint32_t stripCount = (FRAME_HEIGHT + rows - 1) / rows;
        result = ReadArray(file, fileSize, layout.offsetsEntry, stripCount, strips);
        // A file with no strip inside it holds no picture; one that merely ends early
        // (or was cut) shows what it has and black for the rest.
        bool anyInside = false;
        for (uint32_t i = 0; result == 0 && i < stripCount; ++i)
            if ((int64_t)strips[i] < fileSize) anyInside = true;
        if (!anyInside) result = -1;
    }
    // 16 bits a sample, unsigned integers: signed or floating-point samples (half floats
    // from a raw converter) would pass every other check and show wrong colours.
    if (result == 0 && layout.haveBits)
        result = EverySampleIs(file, fileSize, layout.bitsEntry, 16);
    if (result == 0 && layout.haveFormat)
        result = EverySampleIs(file, fileSize, layout.formatEntry, 1);
    if (result != 0) {
        PlatCloseFile(file);
        return -1;
    }

    // At full size rows come in blocks: a read of seven rows costs much less than seven
    // reads of one, natively and under Wine. At half and quarter size one read per shown
    // row costs less than reading the rows not shown too. Without the block buffer, one
    // row at a time in LineBuffer.
    uint8_t* block = shift == 0 ? ReadBlock() : nullptr;
    DecodeRows(file, fileSize, strips, rows, shift, block ? block : v.LineBuffer,
               block ? READ_BLOCK_SIZE / TIFF_ROW_BYTES : LINE_BUFFER_SIZE / TIFF_ROW_BYTES);
    PlatCloseFile(file);
    return 0;
}
