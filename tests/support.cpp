// The platform calls the tests watch or make fail, wrapped at link time, and the scratch
// root of the tests' files.
#include "tests/support.h"

namespace fs = std::filesystem;

namespace hooks {
std::vector<std::string> Errors;
int AllocsLeft = -1, ReadsLeft = -1, SeeksLeft = -1;
}  // namespace hooks

// The call after `left` more succeeds fails, once; the ones after it succeed again.
static bool Fails(int& left) { return left >= 0 && left-- == 0; }

extern "C" {
void* __real_PlatAllocZero(size_t size);
int32_t __real_PlatReadFile(PlatFile file, void* buffer, uint32_t size);
int __real_PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent);

void __wrap_PlatShowError(const char* text, const char* caption) {
    hooks::Errors.push_back(std::string(caption) + ": " + text);
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
