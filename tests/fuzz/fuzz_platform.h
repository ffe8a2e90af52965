// The platform services for the fuzz targets: an in-memory directory whose files and
// listings the fuzz input supplies, so an execution touches no disk.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace fuzz_platform {
// Files by full path; a path present in Directories is a directory (cannot be opened).
void Clear();
void AddFile(const std::string& path, const uint8_t* data, size_t size);
void AddDirectory(const std::string& path);
// What the two listings return, whatever the pattern: the first FindFirst call returns
// FirstListing, every later one SecondListing.
extern std::vector<std::string> FirstListing;
extern std::vector<std::string> SecondListing;
extern int ListingsStarted;
// 1: each listed name is the pattern's name part with its '?' and '*' filled from the
// given name, so names reach the table and not only the pattern check.
extern int FitNamesToPattern;
extern int FailingRead;        // n > 0: the n-th read from now fails (once)
extern int OpenFiles;          // files opened and not closed yet
extern int LeadBytes932;       // 1: PlatIsLeadByte answers for code page 932
extern size_t LastAllocation;  // size of the last PlatAllocZero block
extern std::string LastOpened; // the path of the last PlatOpenFile call
}  // namespace fuzz_platform

namespace fuzz_platform {
// A one-frame sequence of `name` holding the given bytes, listed and ready to decode at
// scale `shift`, over a picture filled with StaleRow() so rows a reader leaves alone show.
void PrepareOneFrame(const char* name, const uint8_t* file, size_t size, int shift);
// One row of what the picture held before, as wide as the widest picture.
const uint8_t* StaleRow();
}  // namespace fuzz_platform

// Aborts with a message when an invariant is broken (the fuzzer records the input).
#define FUZZ_CHECK(cond)                                                        \
    do {                                                                        \
        if (!(cond)) fuzz_platform::Fail(#cond, __FILE__, __LINE__);            \
    } while (0)
namespace fuzz_platform {
[[noreturn]] void Fail(const char* what, const char* file, int line);
}
