// ScanSequence and OpenCurrentFrame on any path bytes, with listings that return any
// names (and different names the second time). Input: one flag byte, then lines: the
// path, the names of the first listing, optionally a line "|" and the names of the
// second listing (otherwise the second listing repeats the first).
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "tests/fuzz/fuzz_platform.h"

using namespace fuzz_platform;

static int FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

static int CompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int d = FoldCase((unsigned char)*a) - FoldCase((unsigned char)*b);
        if (d != 0 || *a == '\0') return d;
    }
}

static bool HasNulWithin(const char* p, size_t n) { return memchr(p, 0, n) != nullptr; }

static void CheckPathBuffer() {
    ViewerStateData& v = ViewerState;
    FUZZ_CHECK(HasNulWithin(v.PathBuffer, PATH_BUFFER_SIZE));
    if (v.NamePart) {
        FUZZ_CHECK(v.NamePart >= v.PathBuffer);
        FUZZ_CHECK(v.NamePart <= v.PathBuffer + strlen(v.PathBuffer));
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    Clear();
    uint8_t flags = data[0];
    LeadBytes932 = flags & 1;
    FitNamesToPattern = (flags >> 1) & 1;
    bool fillWholeBuffer = (flags >> 2) & 1;

    std::vector<std::string> lines(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += (char)data[i];
    }
    bool second = false;
    for (size_t i = 1; i < lines.size() && i < 4096; ++i) {
        if (lines[i] == "|" && !second) {
            second = true;
            continue;
        }
        (second ? SecondListing : FirstListing).push_back(lines[i]);
    }
    if (!second) SecondListing = FirstListing;

    ViewerStateData& v = ViewerState;
    PlatFree(v.NameTable);
    ClearViewerState();
    const std::string& path = lines[0];
    if (fillWholeBuffer && !path.empty()) {
        // No NUL anywhere: the caller's path did not fit.
        for (size_t i = 0; i < PATH_BUFFER_SIZE; ++i) v.PathBuffer[i] = path[i % path.size()];
    } else {
        size_t n = path.size() < PATH_BUFFER_SIZE - 1 ? path.size() : PATH_BUFFER_SIZE - 1;
        memcpy(v.PathBuffer, path.data(), n);
    }
    char before[PATH_BUFFER_SIZE];
    memcpy(before, v.PathBuffer, PATH_BUFFER_SIZE);

    int result = ScanSequence();
    FUZZ_CHECK(result == 0 || result == -1);
    FUZZ_CHECK(OpenFiles == 0);
    FUZZ_CHECK(v.IsTiff == 0 || v.IsTiff == 1);
    FUZZ_CHECK(memcmp(before, v.PathBuffer, PATH_BUFFER_SIZE) == 0);  // the scan only reads it
    if (result != 0) {
        FUZZ_CHECK(v.FrameCount == 0);
        return 0;
    }
    CheckPathBuffer();
    FUZZ_CHECK(v.NamePart != nullptr);

    // The pattern is the path with only digits turned into '?'.
    size_t length = strlen(v.PathBuffer);
    FUZZ_CHECK(strnlen(v.PatternBuffer, PATH_BUFFER_SIZE) == length);
    for (size_t i = 0; i < length; ++i) {
        char p = v.PatternBuffer[i], c = v.PathBuffer[i];
        FUZZ_CHECK(p == c || (p == '?' && c >= '0' && c <= '9'));
    }

    FUZZ_CHECK(v.FrameCount >= 1);
    FUZZ_CHECK(v.MaxNameLength >= 0 && v.MaxNameLength < PLAT_NAME_SIZE);
    size_t slot = (size_t)v.MaxNameLength + 1;
    FUZZ_CHECK((size_t)v.FrameCount * slot <= LastAllocation);
    size_t listed = FirstListing.size() < SecondListing.size() ? FirstListing.size()
                                                                : SecondListing.size();
    FUZZ_CHECK((size_t)v.FrameCount <= listed);
    FUZZ_CHECK(v.CurrentFrame >= 0 && v.CurrentFrame < v.FrameCount);
    const char* namePattern = v.PatternBuffer + (v.NamePart - v.PathBuffer);
    for (int32_t i = 0; i < v.FrameCount; ++i) {
        const char* name = v.NameTable + (size_t)i * slot;
        FUZZ_CHECK(HasNulWithin(name, slot));
        FUZZ_CHECK(NameFitsPattern(name, namePattern));
        if (i > 0) FUZZ_CHECK(CompareNoCase(name - slot, name) <= 0);
    }
    const char* current = v.NameTable + (size_t)v.CurrentFrame * slot;
    bool listedRequested = false;
    for (int32_t i = 0; i < v.FrameCount; ++i)
        if (strcmp(v.NameTable + (size_t)i * slot, v.NamePart) == 0) listedRequested = true;
    if (listedRequested) FUZZ_CHECK(strcmp(current, v.NamePart) == 0);

    // Every frame's path is formed in PathBuffer or refused; nothing else is touched.
    char pattern[PATH_BUFFER_SIZE];
    memcpy(pattern, v.PatternBuffer, PATH_BUFFER_SIZE);
    size_t directory = (size_t)(v.NamePart - v.PathBuffer);
    for (int32_t i = 0; i < v.FrameCount && i < 64; ++i) {
        v.CurrentFrame = i;
        PlatFile file = OpenCurrentFrame();
        FUZZ_CHECK(file == nullptr);  // the in-memory directory holds no files
        CheckPathBuffer();
        FUZZ_CHECK(memcmp(before, v.PathBuffer, directory) == 0);
        FUZZ_CHECK(memcmp(pattern, v.PatternBuffer, PATH_BUFFER_SIZE) == 0);
        const char* name = v.NameTable + (size_t)i * slot;
        if (directory + strlen(name) < PATH_BUFFER_SIZE) FUZZ_CHECK(strcmp(v.NamePart, name) == 0);
    }
    for (int32_t i : {-1, v.FrameCount}) {
        char kept[PATH_BUFFER_SIZE];
        memcpy(kept, v.PathBuffer, PATH_BUFFER_SIZE);
        v.CurrentFrame = i;
        FUZZ_CHECK(OpenCurrentFrame() == nullptr);
        FUZZ_CHECK(memcmp(kept, v.PathBuffer, PATH_BUFFER_SIZE) == 0);
    }
    FUZZ_CHECK(OpenFiles == 0);
    return 0;
}
