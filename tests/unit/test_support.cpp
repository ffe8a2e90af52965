#include "tests/unit/test_support.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <atomic>
#include <filesystem>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "core/viewer_state.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace testing_hooks {
std::vector<ShownError> ShownErrors;
std::function<void()> AfterListing;
int AllocationsBeforeFailure = -1;
int ReadsBeforeFailure = -1;
void Reset() {
    ShownErrors.clear();
    AfterListing = nullptr;
    AllocationsBeforeFailure = -1;
    ReadsBeforeFailure = -1;
}
}  // namespace testing_hooks

using namespace testing_hooks;

extern "C" {
void __real_PlatShowError(const char* text, const char* caption);
void __real_PlatFindClose(PlatFind find);
void* __real_PlatAllocZero(size_t size);
int32_t __real_PlatReadFile(PlatFile file, void* buffer, uint32_t size);

void __wrap_PlatShowError(const char* text, const char* caption) {
    ShownErrors.push_back({text, caption});
}

void __wrap_PlatFindClose(PlatFind find) {
    __real_PlatFindClose(find);
    if (AfterListing) AfterListing();
}

void* __wrap_PlatAllocZero(size_t size) {
    if (AllocationsBeforeFailure == 0) return nullptr;
    if (AllocationsBeforeFailure > 0) --AllocationsBeforeFailure;
    return __real_PlatAllocZero(size);
}

int32_t __wrap_PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    if (ReadsBeforeFailure == 0) return -1;
    if (ReadsBeforeFailure > 0) --ReadsBeforeFailure;
    return __real_PlatReadFile(file, buffer, size);
}
}

static fs::path ScratchRoot() {
    static fs::path root = [] {
        // Wine gives later runs the same process ids, and a root left behind by one (it
        // cannot remove paths past 259 bytes) must not hand its files to another test.
        std::string stem = "sorrelmark-tests-" + std::to_string((long)getpid()) + "-";
        fs::path p;
        int n = 0;
        do p = fs::temp_directory_path() / (stem + std::to_string(n++));
        while (fs::exists(p));
        fs::create_directories(p);
        return p;
    }();
    return root;
}

namespace {
struct ScratchCleanup : ::testing::Environment {
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(ScratchRoot(), ignored);
    }
};
const auto* const cleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);
}  // namespace

std::string MakeScratchDir() {
    static std::atomic<int> counter{0};
    fs::path p = ScratchRoot() / ("t" + std::to_string(counter++));
    fs::create_directories(p);
    return p.string();
}

std::string JoinPath(const std::string& dir, const std::string& name) {
#ifdef _WIN32
    return dir + "\\" + name;
#else
    return dir + "/" + name;
#endif
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) {
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    }
    fclose(f);
}

void MakeDirectory(const std::string& path) { fs::create_directories(path); }

void RemovePath(const std::string& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void FreshViewerState(int scale) {
    testing_hooks::Reset();
    PlatFree(ViewerState.NameTable);
    PlatFree(ViewerState.FrameImage.Pixels);
    PlatFree(ViewerState.LineBuffer);
    ClearViewerState();
    ViewerState.ScaleShift = scale;
    ASSERT_EQ(ResetFrameImage(), 0);
}

void SetPath(const std::string& path) {
    ASSERT_LT(path.size(), (size_t)PATH_BUFFER_SIZE) << path;
    strcpy(ViewerState.PathBuffer, path.c_str());
}

std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    size_t slot = (size_t)ViewerState.MaxNameLength + 1;
    for (int i = 0; i < ViewerState.FrameCount; ++i)
        names.emplace_back(ViewerState.NameTable + (size_t)i * slot);
    return names;
}

const uint8_t* PixelAt(int x, int topRow) {
    return FrameImageRow(FrameImageHeight() - 1 - topRow) + 4 * x;
}
