// Shared by the unit and window tests: scratch files, a fresh viewer state, the platform
// calls the tests watch or make fail (wrapped at link time in support.cpp), and the
// reference decode. Each test includes what it uses of the program itself.
#pragma once
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "core/yuv10_rows.h"
#include "platform/platform.h"

using Bytes = std::vector<uint8_t>;

namespace hooks {
extern std::vector<std::string> Errors;  // "caption: text" of every error box, in order
// How many more allocations, reads or seeks succeed before one fails (once); < 0: none.
extern int AllocsLeft, ReadsLeft, SeeksLeft;
}  // namespace hooks

// A new empty directory below a scratch root that is removed at exit.
std::string ScratchDir();

// Plain bytes: a path object would convert a code page 932 name on the way.
inline std::string Join(const std::string& dir, const std::string& name) {
    return dir + (char)std::filesystem::path::preferred_separator + name;
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f && (bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()))
        << path;
    fclose(f);
}

// Releases what the previous test left; the viewer's start values at the given scale, the
// picture allocated, the hooks reset.
inline void Fresh(int scale) {
    hooks::Errors.clear();
    hooks::AllocsLeft = hooks::ReadsLeft = hooks::SeeksLeft = -1;
    PlatFree(ViewerState.NameTable);
    PlatFree(ViewerState.FrameImage.Pixels);
    PlatFree(ViewerState.LineBuffer);
    ClearViewerState();
    ViewerState.ScaleShift = scale;
    ASSERT_EQ(ResetFrameImage(), 0);
}

inline void SetPath(const std::string& path) {
    ASSERT_LT(path.size(), (size_t)PATH_BUFFER_SIZE);
    strcpy(ViewerState.PathBuffer, path.c_str());
}

// A copy of the frame image's pixels.
inline Bytes Picture() {
    const uint8_t* p = ViewerState.FrameImage.Pixels;
    return Bytes(p, p + (size_t)FrameImageWidth() * FrameImageHeight() * 4);
}

// Fills the picture with a colour no decode gives there (fourth bytes 0, as the viewer
// keeps them), so rows a reader leaves alone show; returns the filled picture.
inline Bytes Scribble() {
    uint32_t* p = (uint32_t*)ViewerState.FrameImage.Pixels;
    std::fill(p, p + FrameImageWidth() * FrameImageHeight(), 0x555555u);
    return Picture();
}

// A picture at scale shift from its file rows: the row `top` rows below the top shows file
// row top * k + k - 1 (k = 1 << shift; the bottom row of the picture is the file's last),
// filled by fill(file row, pixels) or left black.
inline Bytes ScaledPicture(int shift, const std::function<void(size_t, uint8_t*)>& fill) {
    int k = 1 << shift, width = 1920 / k, height = 1080 / k;
    Bytes picture((size_t)width * height * 4, 0);
    for (int top = 0; top < height; ++top)
        fill((size_t)top * k + k - 1, &picture[(size_t)(height - 1 - top) * width * 4]);
    return picture;
}

// The picture a YUV10 file must give at scale shift, from the scalar reference decode
// (checked on known colours; the reader never runs it): rows the file does not hold are black.
inline Bytes Yuv10Picture(const Bytes& file, int shift) {
    return ScaledPicture(shift, [&](size_t row, uint8_t* out) {
        if ((row + 1) * 5120 <= file.size()) DecodeYuv10RowReference(&file[row * 5120], out, shift);
    });
}
