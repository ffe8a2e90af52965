#include "tests/support.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>

#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace hooks {
std::vector<std::string> Errors;
std::function<void()> AfterListing;
int AllocsLeft = -1, ReadsLeft = -1, SeeksLeft = -1;
}  // namespace hooks

// The call after `left` more succeeds fails, once; the ones after it succeed again.
static bool Fails(int& left) { return left >= 0 && left-- == 0; }

extern "C" {
void __real_PlatFindClose(PlatFind find);
void* __real_PlatAllocZero(size_t size);
int32_t __real_PlatReadFile(PlatFile file, void* buffer, uint32_t size);
int __real_PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent);

void __wrap_PlatShowError(const char* text, const char* caption) {
    hooks::Errors.push_back(std::string(caption) + ": " + text);
}
void __wrap_PlatFindClose(PlatFind find) {
    __real_PlatFindClose(find);
    if (hooks::AfterListing) hooks::AfterListing();
}
void* __wrap_PlatAllocZero(size_t size) {
    return Fails(hooks::AllocsLeft) ? nullptr : __real_PlatAllocZero(size);
}
int32_t __wrap_PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    return Fails(hooks::ReadsLeft) ? -1 : __real_PlatReadFile(file, buffer, size);
}
int __wrap_PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent) {
    return Fails(hooks::SeeksLeft) ? -1 : __real_PlatSeekFile(file, offset, fromCurrent);
}
}

// Named by the clock: Wine hands later runs the same process ids, and a root one of them
// left behind must not lend its files to another run. Removed at exit.
static const struct ScratchRoot {
    fs::path path = fs::temp_directory_path() /
                    ("sorrelmark-tests-" +
                     std::to_string(fs::file_time_type::clock::now().time_since_epoch().count()));
    ~ScratchRoot() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
} Root;

std::string ScratchDir() {
    static int counter = 0;
    fs::path p = Root.path / ("t" + std::to_string(counter++));
    fs::create_directories(p);
    return p.string();
}

// Plain bytes: a path object would convert a code page 932 name on the way.
std::string Join(const std::string& dir, const std::string& name) {
    return dir + (char)fs::path::preferred_separator + name;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f && (bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()))
        << path;
    fclose(f);
}

void Fresh(int scale) {
    hooks::Errors.clear();
    hooks::AfterListing = nullptr;
    hooks::AllocsLeft = hooks::ReadsLeft = hooks::SeeksLeft = -1;
    PlatFree(ViewerState.NameTable);
    PlatFree(ViewerState.FrameImage.Pixels);
    PlatFree(ViewerState.LineBuffer);
    ClearViewerState();
    ViewerState.ScaleShift = scale;
    ASSERT_EQ(ResetFrameImage(), 0);
}

void SetPath(const std::string& path) {
    ASSERT_LT(path.size(), (size_t)PATH_BUFFER_SIZE);
    strcpy(ViewerState.PathBuffer, path.c_str());
}

std::vector<uint8_t> Picture() {
    const uint8_t* p = ViewerState.FrameImage.Pixels;
    return std::vector<uint8_t>(p, p + (size_t)FrameImageWidth() * FrameImageHeight() * 4);
}

std::vector<uint8_t> Scribble() {
    uint32_t* p = (uint32_t*)ViewerState.FrameImage.Pixels;
    std::fill(p, p + FrameImageWidth() * FrameImageHeight(), 0x555555u);
    return Picture();
}

std::vector<uint8_t> Yuv10Picture(const std::vector<uint8_t>& file, int shift) {
    int k = 1 << shift, width = 1920 / k, height = 1080 / k;
    std::vector<uint8_t> picture((size_t)width * height * 4, 0);
    for (int top = 0; top < height; ++top) {
        size_t row = (size_t)top * k + k - 1;  // the bottom row of the picture is the file's last
        if ((row + 1) * 5120 <= file.size())
            DecodeYuv10RowReference(&file[row * 5120],
                                    &picture[(size_t)(height - 1 - top) * width * 4], shift);
    }
    return picture;
}
