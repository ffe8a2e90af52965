#include "core/frame_sequence.h"

#include <stdlib.h>
#include <string.h>

#include "core/viewer_state.h"

// More names than this are not taken into one sequence (the table would pass 1 GiB).
static const int32_t MAX_FRAMES = 1 << 22;

// Bytes of the character that starts at s: 2 for a lead byte with its trail byte.
// Lead bytes of the double-byte code pages all have the high bit set, so plain ASCII
// (every byte of a typical frame name) needs no call into the platform.
static int CharLength(const char* s) {
    unsigned char c = (unsigned char)s[0];
    return c >= 0x80 && PlatIsLeadByte(c) && s[1] != '\0' ? 2 : 1;
}

static int FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Whether the character at name (length n bytes) equals the pattern character at pat.
static bool SameChar(const char* name, int n, const char* pat, int p) {
    if (n != p) return false;
    if (n == 2) return name[0] == pat[0] && name[1] == pat[1];
    return FoldCase((unsigned char)name[0]) == FoldCase((unsigned char)pat[0]);
}

int NameFitsPattern(const char* name, const char* pattern) {
    // Greedy match with one backtrack point for the last '*': linear in practice and
    // never recursive, whatever the pattern holds.
    const char* starPat = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPat = ++pattern;
            starName = name;
            continue;
        }
        int n = CharLength(name);
        if (*pattern == '?' || (*pattern && SameChar(name, n, pattern, CharLength(pattern)))) {
            pattern += *pattern == '?' ? 1 : CharLength(pattern);
            name += n;
            continue;
        }
        if (!starPat) return 0;
        pattern = starPat;
        starName += CharLength(starName);
        name = starName;
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

// Whether a listed name belongs to the sequence: it must fit the pattern itself (names that
// only the platform's looser matching lets in, such as 8.3 short names or a '?' matching
// nothing at the end, do not), and hold no '?' and no separator. The listing gives '?' in
// place of a character the ANSI code page cannot hold, or a "best fit" stand-in that may be
// a separator (code page 932 turns the yen sign into 0x5C): such a file can never be opened.
static bool JoinsSequence(const char* name, const char* namePattern) {
    if (!NameFitsPattern(name, namePattern)) return false;
    for (const char* c = name; *c; c += CharLength(c))
        if (*c == '?' || *c == '\\' || *c == '/') return false;
    return true;
}

// Byte-wise, letter case ignored; names that differ only in case keep a fixed order.
static int CompareNames(const void* a, const void* b) {
    const unsigned char* x = (const unsigned char*)a;
    const unsigned char* y = (const unsigned char*)b;
    for (;; ++x, ++y) {
        int d = FoldCase(*x) - FoldCase(*y);
        if (d != 0) return d;
        if (*x == '\0') break;
    }
    return strcmp((const char*)a, (const char*)b);
}

// Builds PatternBuffer from PathBuffer: the frame-number digits before the extension
// become '?'. Sets NamePart and IsTiff. The walk goes by characters of the ANSI code
// page, so a trail byte 0x5C of a double-byte character is not a separator.
static void BuildPattern(size_t length) {
    ViewerStateData& v = ViewerState;
    memcpy(v.PatternBuffer, v.PathBuffer, length + 1);

    size_t nameStart = 0;
    for (size_t i = 0; i < length; i += CharLength(v.PathBuffer + i)) {
        char c = v.PathBuffer[i];
        if (c == '\\' || c == '/') nameStart = i + 1;
    }
    v.NamePart = v.PathBuffer + nameStart;

    // The last '.' of the name starts the extension; remember where the run of digits
    // directly before it began.
    long dot = -1, digitsFrom = -1, runFrom = -1;
    for (size_t i = nameStart; i < length;) {
        int n = CharLength(v.PathBuffer + i);
        char c = v.PathBuffer[i];
        if (n == 1 && c >= '0' && c <= '9') {
            if (runFrom < 0) runFrom = (long)i;
        } else {
            if (n == 1 && c == '.') {
                dot = (long)i;
                digitsFrom = runFrom < 0 ? dot : runFrom;
            }
            runFrom = -1;
        }
        i += n;
    }

    // ASCII letter case only: a locale's rules may keep 'I' and 'i' apart (Turkish).
    v.IsTiff = 0;
    if (dot < 0) return;
    if (length - (size_t)dot >= 4) {
        int same = 0;
        while (same < 4 && FoldCase((unsigned char)v.PathBuffer[dot + same]) == ".tif"[same])
            ++same;
        v.IsTiff = same == 4;
    }
    for (long i = digitsFrom; i < dot; ++i) v.PatternBuffer[i] = '?';
}

int ScanSequence() {
    ViewerStateData& v = ViewerState;
    v.MaxNameLength = 0;
    v.FrameCount = 0;
    // Set before anything can fail, so a refused path shows no leftover name; a path
    // with no room for its NUL is emptied, so nothing reads past PathBuffer.
    v.NamePart = v.PathBuffer;
    size_t length = strnlen(v.PathBuffer, PATH_BUFFER_SIZE);
    if (length >= PATH_BUFFER_SIZE) v.PathBuffer[0] = '\0';
    if (length == 0 || length >= PATH_BUFFER_SIZE) return -1;
    BuildPattern(length);
    const char* namePattern = v.PatternBuffer + (v.NamePart - v.PathBuffer);

    // First listing: count the names and measure the longest.
    char name[PLAT_NAME_SIZE];
    PlatFind find = PlatFindFirst(v.PatternBuffer, name);
    if (!find) return -1;
    int32_t count = 0, longest = 0;
    do {
        if (!JoinsSequence(name, namePattern)) continue;
        int32_t n = (int32_t)strlen(name);
        if (n > longest) longest = n;
        if (++count == MAX_FRAMES) break;
    } while (PlatFindNext(find, name));
    PlatFindClose(find);
    if (count == 0) return -1;

    size_t slot = (size_t)longest + 1;
    char* table = (char*)PlatAllocZero((size_t)count * slot);
    if (!table) return -1;  // the previous table stays
    PlatFree(v.NameTable);
    v.NameTable = table;
    v.MaxNameLength = longest;

    // Second listing fills the table. The directory may have changed in between: names
    // beyond the first count, or longer than the slots, are left out.
    v.CurrentFrame = 0;
    int32_t filled = 0;
    find = PlatFindFirst(v.PatternBuffer, name);
    if (!find) return -1;
    do {
        if (!JoinsSequence(name, namePattern)) continue;
        size_t n = strlen(name);
        if (n > (size_t)longest) continue;
        memcpy(table + (size_t)filled * slot, name, n + 1);
        ++filled;
    } while (filled < count && PlatFindNext(find, name));
    PlatFindClose(find);
    if (filled == 0) return -1;
    v.FrameCount = filled;

    // Listings often come sorted already (Wine sorts them): one pass tells, and then the
    // sort of a 100,000-name table is skipped.
    bool sorted = true;
    for (int32_t i = 1; i < filled && sorted; ++i)
        sorted = CompareNames(table + (size_t)(i - 1) * slot, table + (size_t)i * slot) <= 0;
    if (!sorted) qsort(table, (size_t)filled, slot, CompareNames);
    for (int32_t i = 0; i < filled; ++i) {
        if (strcmp(table + (size_t)i * slot, v.NamePart) == 0) {
            v.CurrentFrame = i;
            break;
        }
    }
    return 0;
}

PlatFile OpenCurrentFrame() {
    ViewerStateData& v = ViewerState;
    if (v.CurrentFrame < 0 || v.CurrentFrame >= v.FrameCount || !v.NameTable || !v.NamePart)
        return nullptr;
    size_t slot = (size_t)v.MaxNameLength + 1;
    const char* name = v.NameTable + (size_t)v.CurrentFrame * slot;
    size_t n = strnlen(name, slot);
    size_t at = (size_t)(v.NamePart - v.PathBuffer);
    if (n == slot || at + n + 1 > PATH_BUFFER_SIZE) return nullptr;  // would not fit
    memcpy(v.NamePart, name, n);
    v.NamePart[n] = '\0';
    return PlatOpenFile(v.PathBuffer);
}

PlatFile OpenFrameToDecode() {
    const ViewerStateData& v = ViewerState;
    if (!v.LineBuffer || !v.FrameImage.Pixels || FrameImageWidth() != FRAME_WIDTH >> v.ScaleShift)
        return nullptr;
    return OpenCurrentFrame();
}

static uint8_t* Block;

uint8_t* ReadBlock() {
    if (!Block) Block = (uint8_t*)PlatAllocZero(READ_BLOCK_SIZE);
    return Block;
}

void ReleaseReadBlock() {
    PlatFree(Block);
    Block = nullptr;
}
