// Shared helpers of the unit tests: scratch directories, a fresh viewer state, and the
// platform calls the tests watch or make fail (wrapped at link time).
#pragma once
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

struct ShownError {
    std::string text;
    std::string caption;
};

namespace testing_hooks {
extern std::vector<ShownError> ShownErrors;  // every error box, in order
extern std::function<void()> AfterListing;   // runs after each directory listing closes
extern int AllocationsBeforeFailure;         // < 0: never fail; 0: the next one fails
extern int ReadsBeforeFailure;               // < 0: never fail; 0: the next read fails
void Reset();
}  // namespace testing_hooks

// A new empty directory for one test, below a scratch root removed at exit.
std::string MakeScratchDir();
// dir + separator + name, with the platform's separator.
std::string JoinPath(const std::string& dir, const std::string& name);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void MakeDirectory(const std::string& path);
void RemovePath(const std::string& path);

// Releases what the previous test left and starts from the viewer's start values at
// the given scale, with the frame image allocated.
void FreshViewerState(int scale);
// Puts path into PathBuffer (it must fit).
void SetPath(const std::string& path);
// The frame names of NameTable in order.
std::vector<std::string> ListedNames();

// A BGRX pixel of the frame image, picture row 0 at the top.
const uint8_t* PixelAt(int x, int topRow);
