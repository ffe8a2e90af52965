// The readers' fuzz corpus (seeds and every crash kept as a regression case) opened the
// way the viewer opens a file, through the real platform: natively under the sanitizers
// and as a Windows exe under Wine, where the fuzz targets themselves do not run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "tests/unit/test_support.h"
#include "tests/unit/tiff_files.h"

#ifdef FUZZ_CORPUS_DIR

namespace fs = std::filesystem;

// Whether bytes 0..2 of every pixel of picture row `top` are still the scribble.
static bool RowUntouched(int top) {
    const uint8_t* p = PixelAt(0, top);
    for (int x = 0; x < FrameImageWidth(); ++x, p += 4)
        if (p[0] != 0x55 || p[1] != 0x55 || p[2] != 0x55) return false;
    return true;
}

TEST(FuzzCorpus, ReaderInputsAreRefusedWholeOrReplaceEveryRow) {
    int files = 0;
    for (const char* target : {"tiff", "yuv10"}) {
        fs::path dir = fs::path(FUZZ_CORPUS_DIR) / target;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> input((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            if (input.empty()) continue;
            SCOPED_TRACE(entry.path().string());
            ++files;
            // The first byte chooses the scale (and, in the fuzz build, a read error).
            FreshViewerState(input[0] % 3);
            std::string path = JoinPath(MakeScratchDir(),
                                        std::string("clip_0001.") + (target[0] == 't' ? "tif" : "yuv10"));
            WriteBytes(path, std::vector<uint8_t>(input.begin() + 1, input.end()));
            SetPath(path);
            ScribbleOnPicture();
            LoadSequence();

            bool refused = !testing_hooks::ShownErrors.empty();
            for (int top = 0; top < FrameImageHeight(); ++top)
                ASSERT_EQ(RowUntouched(top), refused) << "picture row " << top;
        }
    }
    EXPECT_GT(files, 20);
}

#endif
