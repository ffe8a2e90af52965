// Shared by the unit and window tests: scratch files, a fresh viewer state, the platform
// calls the tests watch or make fail (wrapped at link time), and the reference decode.
#pragma once
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

namespace hooks {
extern std::vector<std::string> Errors;     // "caption: text" of every error box, in order
extern std::function<void()> AfterListing;  // runs after each directory listing closes
// How many more allocations, reads or seeks succeed before one fails (once); < 0: none.
extern int AllocsLeft, ReadsLeft, SeeksLeft;
}  // namespace hooks

// A new empty directory below a scratch root that is removed at exit.
std::string ScratchDir();
std::string Join(const std::string& dir, const std::string& name);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Releases what the previous test left; the viewer's start values at the given scale,
// the picture allocated, the hooks reset.
void Fresh(int scale);
void SetPath(const std::string& path);
std::vector<uint8_t> Picture();  // a copy of the frame image's pixels
// Fills the picture with a colour no decode gives there (fourth bytes 0, as the viewer
// keeps them), so rows a reader leaves alone show; returns the filled picture.
std::vector<uint8_t> Scribble();

// The picture a YUV10 file must give at scale shift, from the scalar reference decode
// (checked on known colours; the reader never runs it): rows the file does not hold are black.
std::vector<uint8_t> Yuv10Picture(const std::vector<uint8_t>& file, int shift);
