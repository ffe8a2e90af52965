// The three fuzz targets, one per binary: -DFUZZ_TARGET=scan, yuv10 or tiff.
// The platform lives in memory (one file, two listings, an injected read error, all from
// the input), so an execution touches no disk. A broken invariant aborts and the fuzzer
// keeps the input.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"

#define CHECK(c) \
    ((c) ? (void)0 : (fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #c), abort()))

static std::string FilePath, FileData;
static std::vector<std::string> Listings[2];  // the first FindFirst gets [0], every later one [1]
static size_t ListingsStarted, FitNames, LeadBytes932, FailingRead, FailingAlloc, LastAllocation;
struct PlatFileTag {
    size_t at;
};  // may lie past the end, as on Windows
struct PlatFindTag {
    std::vector<std::string> names;
    size_t next;
};

PlatFile PlatOpenFile(const char* path) {
    CHECK(strnlen(path, 1 << 16) < 260);  // the core never forms a longer path
    return !*path || FilePath != path ? nullptr : new PlatFileTag{0};
}
int32_t PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    if (FailingRead > 0 && --FailingRead == 0) return -1;
    size_t n = file->at < FileData.size() ? FileData.copy((char*)buffer, size, file->at) : 0;
    file->at += n;
    return (int32_t)n;
}
int PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent) {
    int64_t to = fromCurrent ? (int64_t)file->at + offset : offset;
    if (to < 0) return -1;
    file->at = (size_t)to;
    return 0;
}
int64_t PlatFileSize(PlatFile) { return (int64_t)FileData.size(); }
void PlatCloseFile(PlatFile file) { delete file; }  // one left open leaks: the sanitizer tells

// Fitted names are the pattern's name part with each '?' filled from the listed name,
// so that names reach the table and not only the pattern check.
PlatFind PlatFindFirst(const char* pattern, char name[PLAT_NAME_SIZE]) {
    CHECK(strnlen(pattern, 1 << 16) < 260);
    PlatFind find = new PlatFindTag{Listings[ListingsStarted++ ? 1 : 0], 0};
    // After the last separator; npos + 1 is 0 when there is none.
    const char* namePattern = pattern + (std::string(pattern).find_last_of("\\/") + 1);
    for (std::string& n : find->names) {
        std::string fitted = namePattern;
        for (size_t used = 0, i = 0; i < fitted.size(); ++i)
            if (fitted[i] == '?') fitted[i] = used < n.size() ? n[used++] : '0';
        n = FitNames ? fitted : n;
    }
    if (PlatFindNext(find, name)) return find;
    PlatFindClose(find);
    return nullptr;
}
int PlatFindNext(PlatFind f, char name[PLAT_NAME_SIZE]) {  // a name is cut at 259 bytes
    return f->next < f->names.size() &&
           snprintf(name, PLAT_NAME_SIZE, "%s", f->names[f->next++].c_str()) >= 0;
}
void PlatFindClose(PlatFind find) { delete find; }
// Code page 932 lead bytes: 0x81-0x9F (31 values) and 0xE0-0xFC (29).
int PlatIsLeadByte(unsigned char c) { return LeadBytes932 && (c - 0x81u < 31 || c - 0xE0u < 29); }
void* PlatAllocZero(size_t size) {  // fails once when FailingAlloc is set
    LastAllocation = size;
    return std::exchange(FailingAlloc, 0) ? nullptr : calloc(1, size);
}
void PlatFree(void* block) { free(block); }
void PlatShowError(const char*, const char*) {}

// Input: a flag byte (1: code page 932, 2: fitted names, 4: the path fills PathBuffer
// without a NUL, 8: no memory for the names), then lines: the path, the first listing,
// optionally "|" and the second listing (otherwise the second repeats the first).
void scan(uint8_t flags, const uint8_t* data, size_t size) {
    LeadBytes932 = flags & 1;
    FitNames = flags >> 1 & 1;
    FailingAlloc = flags >> 3 & 1;
    ListingsStarted = 0;
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i)
        data[i] == '\n' ? lines.emplace_back() : lines.back() += (char)data[i];
    auto bar = std::find(lines.begin() + 1, lines.end(), "|");
    Listings[0].assign(lines.begin() + 1, bar);
    Listings[1].assign(bar == lines.end() ? lines.begin() + 1 : bar + 1, lines.end());
    ViewerStateData& v = ViewerState;
    PlatFree(v.NameTable);
    ClearViewerState();
    size_t n = lines[0].size(),
           fill = flags & 4 ? PATH_BUFFER_SIZE : std::min(n, PATH_BUFFER_SIZE - 1ul);
    for (size_t i = 0; n && i < fill; ++i) v.PathBuffer[i] = lines[0][i % n];
    const ViewerStateData before = v;
    // With single-byte characters, the requested name listed both times makes a sequence,
    // unless it holds a '?' (what a listing gives for a character the code page lacks).
    std::string requested = lines[0].substr(lines[0].find_last_of("\\/") + 1);
    bool listed =
        !(flags & 15) && n && strlen(v.PathBuffer) == n && requested.find('?') == std::string::npos;
    for (auto& names : Listings)
        listed = listed && std::count(names.begin(), names.end(), requested);

    int result = ScanSequence();
    CHECK((result == 0 || result == -1) && (v.IsTiff == 0 || v.IsTiff == 1));
    // The scan only reads the path; one without room for its NUL is emptied, so that the
    // status bar never reads past it.
    CHECK(memchr(before.PathBuffer, 0, 260) ? !memcmp(before.PathBuffer, v.PathBuffer, 260)
                                            : !v.PathBuffer[0]);
    if (result != 0) return CHECK(v.FrameCount == 0 && !listed);
    // NamePart must lie inside the path: checked next.
    size_t length = strlen(v.PathBuffer), slot = v.MaxNameLength + 1u,
           directory = v.NamePart - v.PathBuffer;
    CHECK(length < PATH_BUFFER_SIZE && directory <= length);
    for (size_t i = 0; i <= length; ++i)  // the path with only its digits turned '?', and its NUL
        CHECK(v.PatternBuffer[i] == v.PathBuffer[i] ||
              (v.PatternBuffer[i] == '?' && v.PathBuffer[i] >= '0' && v.PathBuffer[i] <= '9'));
    CHECK(v.MaxNameLength >= 0 && v.MaxNameLength < PLAT_NAME_SIZE &&
          v.FrameCount * slot <= LastAllocation);
    CHECK((size_t)v.FrameCount <= std::min(Listings[0].size(), Listings[1].size()));
    // The same names listed twice: every one that fits and holds no '?' and no separator
    // character (a trail byte 0x5C is none) is in the table.
    auto fits = [&](const std::string& s) {
        std::string name = s.substr(0, 259).c_str();  // as listed: cut at a NUL
        bool separator = false;
        for (size_t i = 0; i < name.size(); i += PlatIsLeadByte(name[i]) && name[i + 1] ? 2 : 1)
            separator = separator || name[i] == '\\' || name[i] == '/';
        return NameFitsPattern(name.c_str(), v.PatternBuffer + directory) &&
               name.find('?') == std::string::npos && !separator;
    };
    CHECK(bar != lines.end() || FitNames ||
          v.FrameCount == std::count_if(Listings[0].begin(), Listings[0].end(), fits));
    CHECK(v.CurrentFrame >= 0 && v.CurrentFrame < v.FrameCount);
    for (int32_t i = 0; i < v.FrameCount; ++i) {
        const char* name = v.NameTable + i * slot;
        int order = i ? strcasecmp(name - slot, name) : -1;  // ties in byte order
        CHECK(memchr(name, 0, slot) && fits(name));
        CHECK(order < 0 || (order == 0 && strcmp(name - slot, name) <= 0));
        CHECK(strcmp(name, v.NamePart) != 0 ||
              strcmp(v.NameTable + v.CurrentFrame * slot, v.NamePart) == 0);
    }

    for (int32_t i : {-1, v.FrameCount}) {  // refused, the path left as it was
        v.CurrentFrame = i;
        CHECK(!OpenCurrentFrame() &&
              memcmp(before.PathBuffer, v.PathBuffer, PATH_BUFFER_SIZE) == 0);
    }
    // Every frame's path is formed in PathBuffer or refused; its directory stays. No file
    // exists here, so nothing opens.
    for (int32_t i = 0; i < v.FrameCount && i < 64; ++i) {
        const char* name = v.NameTable + (v.CurrentFrame = i) * slot;
        CHECK(!OpenCurrentFrame() && memchr(v.PathBuffer, 0, PATH_BUFFER_SIZE) &&
              !memcmp(before.PathBuffer, v.PathBuffer, directory));
        CHECK(directory + strlen(name) >= PATH_BUFFER_SIZE || strcmp(v.NamePart, name) == 0);
    }
}

// The readers' input: a byte for the scale (% 3), the read that fails (/ 3; 0: none) and,
// for YUV10, whether the block buffer is gone with no memory for it (/ 24) and whether the
// file is the rest repeated to more than a frame (48 to 95), for TIFF whether the block
// buffer is gone (/ 48), then the file. The picture is filled with stale pixels first so
// rows a reader leaves alone show; returns one stale row.
static std::vector<uint32_t> OneFrame(const char* name, const uint8_t* file, size_t size,
                                      int shift) {
    ViewerStateData& v = ViewerState;
    v.ScaleShift = shift;
    if (FrameImageWidth() != FRAME_WIDTH >> shift) CHECK(ResetFrameImage() == 0);
    FilePath = name;
    FileData.assign((const char*)file, size);
    Listings[0] = Listings[1] = {name};
    strcpy(v.PathBuffer, name);
    CHECK(ScanSequence() == 0 && v.IsTiff == (strstr(name, ".tif") != nullptr));
    // Its fourth bytes 0, as a reader writes them.
    std::vector<uint32_t> stale(FrameImageWidth(), 0x3CA55A);
    for (int r = 0; r < FrameImageHeight(); ++r)
        memcpy(FrameImageRow(r), stale.data(), stale.size() * 4);
    return stale;
}

// Picture row r from the top shows file row (r << shift) + (1 << shift) - 1, or black when
// the file lacks it; after a failed read every later row is black. Without its block
// buffer the reader goes on, and asks for the buffer again next time; once it has it, a
// frame allocates nothing.
void yuv10(uint8_t first, const uint8_t* input, size_t size) {
    std::string repeated(input, input + size);
    while (first / 48 == 1 && size && repeated.size() <= YUV10_FRAME_BYTES)
        repeated.append(input, input + size);
    const uint8_t* file = (const uint8_t*)repeated.data();
    int shift = first % 3, height = FRAME_HEIGHT >> shift;
    size_t bytes = OneFrame("f1.yuv10", file, size = repeated.size(), shift).size() * 4;
    std::vector<uint8_t> black(bytes), expected(bytes);
    static bool blockGone = true;  // none before the first frame
    bool failing = first / 24 % 2;
    if (failing) ReleaseReadBlock();
    FailingAlloc = failing;
    FailingRead = first / 3 % 8;
    LastAllocation = 0;
    CHECK(ReadYuv10Frame() == 0 && !LastAllocation == !(blockGone || failing) && !FailingAlloc);
    blockGone = failing;
    for (int r = 0, stopped = 0; r < height; ++r) {
        const uint8_t* row = FrameImageRow(height - 1 - r);
        size_t at = (((size_t)r << shift) + (1u << shift) - 1) * YUV10_ROW_BYTES;
        bool missing = stopped || at + YUV10_ROW_BYTES > size;
        if (!missing) DecodeYuv10RowReference(file + at, expected.data(), shift);
        stopped = missing || memcmp(row, expected.data(), bytes) != 0;
        CHECK(!stopped || (memcmp(row, black.data(), bytes) == 0 && (missing || first / 3 % 8)));
    }
}

// A refused file leaves the picture as it was; an accepted one replaces every row.
void tiff(uint8_t first, const uint8_t* file, size_t size) {
    std::vector<uint32_t> stale = OneFrame("f1.tif", file, size, first % 3);
    const FrameImageHeader header = ViewerState.FrameImage.Header;
    FailingRead = first / 3 % 16;
    if (first / 48 % 2) {  // no memory for it at full size, where the reader uses it
        ReleaseReadBlock();
        FailingAlloc = first % 3 == 0;
    }
    int result = ReadTiffFrame();
    CHECK(result != 0 || !FailingAlloc);  // an accepted frame asked for the block
    FailingAlloc = 0;
    CHECK((result == 0 || result == -1) &&
          !memcmp(&header, &ViewerState.FrameImage.Header, sizeof header));
    for (int r = 0; r < header.biHeight; ++r) {
        const uint32_t* row = (const uint32_t*)FrameImageRow(r);
        CHECK((memcmp(row, stale.data(), stale.size() * 4) == 0) == (result != 0));
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0) FUZZ_TARGET(data[0], data + 1, size - 1);
    return 0;
}
