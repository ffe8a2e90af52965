#include "tests/fuzz/fuzz_platform.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <map>
#include <set>

#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "platform/platform.h"

namespace fuzz_platform {
std::vector<std::string> FirstListing;
std::vector<std::string> SecondListing;
int ListingsStarted = 0;
int FitNamesToPattern = 0;
int OpenFiles = 0;
int FailingRead = 0;
int LeadBytes932 = 0;
size_t LastAllocation = 0;
std::string LastOpened;

static std::map<std::string, std::vector<uint8_t>> Files;
static std::set<std::string> Directories;

void Clear() {
    Files.clear();
    Directories.clear();
    FirstListing.clear();
    SecondListing.clear();
    ListingsStarted = 0;
    OpenFiles = 0;
    FailingRead = 0;
    LastAllocation = 0;
    LastOpened.clear();
}

void AddFile(const std::string& path, const uint8_t* data, size_t size) {
    Files[path].assign(data, data + size);
}

void AddDirectory(const std::string& path) { Directories.insert(path); }

const uint8_t* StaleRow() {
    static const std::vector<uint8_t> row = [] {
        std::vector<uint8_t> r(FRAME_WIDTH * 4);
        for (size_t i = 0; i < r.size(); i += 4) r[i] = 0x5A, r[i + 1] = 0xA5, r[i + 2] = 0x3C;
        return r;
    }();
    return row.data();
}

void PrepareOneFrame(const char* name, const uint8_t* file, size_t size, int shift) {
    ViewerStateData& v = ViewerState;
    Clear();
    if (v.ScaleShift != shift || !v.FrameImage.Pixels) {
        v.ScaleShift = shift;
        FUZZ_CHECK(ResetFrameImage() == 0);
    }
    AddFile(name, file, size);
    FirstListing = SecondListing = {name};
    strcpy(v.PathBuffer, name);
    FUZZ_CHECK(ScanSequence() == 0);
    for (int r = 0; r < FrameImageHeight(); ++r)
        memcpy(FrameImageRow(r), StaleRow(), (size_t)FrameImageWidth() * 4);
}

void Fail(const char* what, const char* file, int line) {
    fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    abort();
}
}  // namespace fuzz_platform

using namespace fuzz_platform;

struct PlatFileTag {
    const std::vector<uint8_t>* data;
    int64_t position;  // may lie past the end, as on Windows
};

struct PlatFindTag {
    std::vector<std::string> names;
    size_t next;
};

PlatFile PlatOpenFile(const char* path) {
    size_t length = strnlen(path, 1 << 16);
    FUZZ_CHECK(length < 260);  // the core never forms a longer path
    LastOpened = path;
    if (Directories.count(path)) return nullptr;
    auto it = Files.find(path);
    if (it == Files.end()) return nullptr;
    ++OpenFiles;
    return new PlatFileTag{&it->second, 0};
}

int32_t PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    FUZZ_CHECK(file != nullptr);
    if (FailingRead > 0 && --FailingRead == 0) return -1;
    int64_t end = (int64_t)file->data->size();
    if (file->position >= end) return 0;
    int64_t n = end - file->position;
    if (n > (int64_t)size) n = size;
    memcpy(buffer, file->data->data() + file->position, (size_t)n);
    file->position += n;
    return (int32_t)n;
}

int PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent) {
    FUZZ_CHECK(file != nullptr);
    int64_t to = fromCurrent ? file->position + offset : offset;
    if (to < 0) return -1;
    file->position = to;
    return 0;
}

int64_t PlatFileSize(PlatFile file) { return (int64_t)file->data->size(); }

void PlatCloseFile(PlatFile file) {
    FUZZ_CHECK(file != nullptr);
    --OpenFiles;
    delete file;
}

// A listed name is at most 259 bytes without NULs, as the platform's name field allows.
static void CopyName(const std::string& from, char name[PLAT_NAME_SIZE]) {
    size_t n = strnlen(from.c_str(), PLAT_NAME_SIZE - 1);
    memcpy(name, from.c_str(), n);
    name[n] = '\0';
}

PlatFind PlatFindFirst(const char* pattern, char name[PLAT_NAME_SIZE]) {
    FUZZ_CHECK(strnlen(pattern, 1 << 16) < 260);
    const std::vector<std::string>& given = ListingsStarted++ == 0 ? FirstListing : SecondListing;
    if (given.empty()) return nullptr;
    PlatFind find = new PlatFindTag{given, 1};
    if (FitNamesToPattern) {
        const char* namePattern = pattern;
        for (const char* p = pattern; *p; ++p)
            if (*p == '\\' || *p == '/') namePattern = p + 1;
        for (std::string& n : find->names) {
            std::string fitted;
            size_t used = 0;
            for (const char* p = namePattern; *p; ++p) {
                if (*p == '?')
                    fitted += used < n.size() ? n[used++] : '0';
                else if (*p == '*')
                    fitted += n.substr(used < n.size() ? used : n.size()), used = n.size();
                else
                    fitted += *p;
            }
            n = fitted;
        }
    }
    CopyName(find->names[0], name);
    return find;
}

int PlatFindNext(PlatFind find, char name[PLAT_NAME_SIZE]) {
    if (find->next >= find->names.size()) return 0;
    CopyName(find->names[find->next++], name);
    return 1;
}

void PlatFindClose(PlatFind find) { delete find; }

int PlatIsLeadByte(unsigned char c) {
    return LeadBytes932 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

int PlatEqualNoCase(const char* a, const char* b, int length) {
    return strncasecmp(a, b, (size_t)length) == 0;
}

void* PlatAllocZero(size_t size) {
    LastAllocation = size;
    return calloc(1, size);
}

void PlatFree(void* block) { free(block); }

void PlatShowError(const char*, const char*) {}
