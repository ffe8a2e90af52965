// Playback against a directory that changes under it: 10,000 timer ticks of a YUV10
// sequence through the real window procedure at steps of +-1 and +-10, while frame files
// are deleted, recreated, truncated, swapped for other frames' contents and replaced by
// directories between the ticks. After every tick the picture must be exactly what the
// file at the current frame holds (its missing rows black), or the previous picture
// untouched when the file cannot be opened: never rows of two frames mixed, never stale
// rows. No memory may be allocated by the ticks, and the process heap must stay flat.
// The first ticks also paint the window; the rest run with it hidden, since the picture
// checked is the frame image itself. TIFF files in every state are the fuzz_tiff
// target's and the TIFF reader tests' work; a tick handles a refused frame of either
// kind alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "res/resource.h"
#include "tests/ui/window_fixture.h"
#include "tests/unit/test_support.h"
#include "ui/ui.h"

namespace {

const int FRAMES = 40;
const int TICKS = 10000;
const int FILE_ROWS = 16;   // at quarter size picture rows 0..3 come from file rows 3, 7, 11, 15
const int SHOWN_ROWS = FILE_ROWS / 4;
const int PAINTED_TICKS = 300;  // a paint costs ~10 ms under Wine: the rest run hidden

// File row fr of frame f carries both numbers (group 0 the frame, group 1 the row), so
// no two (frame, row) pairs decode to the same picture row.
std::vector<uint8_t> FrameBytes(int f) {
    std::vector<uint8_t> bytes((size_t)FILE_ROWS * YUV10_ROW_BYTES);
    for (int fr = 0; fr < FILE_ROWS; ++fr) {
        uint8_t* row = bytes.data() + (size_t)fr * YUV10_ROW_BYTES;
        memset(row, (f * 5 + fr * 3) & 0xFF, YUV10_ROW_BYTES);
        memset(row, 40 + f, 16);
        memset(row + 16, 100 + fr, 16);
    }
    return bytes;
}

// What is on disk for each frame name, as the test left it.
struct FileModel {
    enum Kind { MISSING, DIRECTORY, CONTENT } kind;
    int frame;      // whose rows the file holds
    size_t length;  // bytes written
};

size_t ProcessHeapBusyBytes() {
    HANDLE heap = GetProcessHeap();
    size_t busy = 0;
    if (!HeapLock(heap)) return 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    HeapUnlock(heap);
    return busy;
}

struct Soak {
    std::string dir;
    std::vector<FileModel> files;
    std::vector<std::vector<uint8_t>> contents;
    // expected[f][r]: picture row r (from the top) of a whole frame f.
    std::vector<std::vector<std::vector<uint8_t>>> expected;
    size_t rowBytes = 0;
    int refused = 0, truncated = 0;  // ticks that met such a file

    std::string FrameName(int i) const {
        char name[32];
        snprintf(name, sizeof name, "soak_%04d.yuv10", i);
        return name;
    }

    // Straight KERNEL32 calls: thousands of changes stay quick under Wine.
    void Remove(int i) {
        std::string path = JoinPath(dir, FrameName(i));
        if (files[i].kind == FileModel::DIRECTORY) {
            ASSERT_TRUE(RemoveDirectoryA(path.c_str()));
        } else if (files[i].kind == FileModel::CONTENT) {
            ASSERT_TRUE(DeleteFileA(path.c_str()));
        }
        files[i] = {FileModel::MISSING, 0, 0};
    }

    // An existing file is cut to the new length in place; a directory goes first.
    void Write(int i, int frame, size_t length) {
        if (files[i].kind == FileModel::DIRECTORY) Remove(i);
        HANDLE h = CreateFileA(JoinPath(dir, FrameName(i)).c_str(), GENERIC_WRITE, 0, NULL,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        BOOL ok = WriteFile(h, contents[frame].data(), (DWORD)length, &written, NULL);
        CloseHandle(h);
        ASSERT_TRUE(ok && written == length);
        files[i] = {FileModel::CONTENT, frame, length};
    }

    void Change(std::mt19937& rng) {
        int i = (int)(rng() % FRAMES);
        switch (rng() % 6) {
        case 0:
            Remove(i);
            break;
        case 1:
            Remove(i);
            ASSERT_TRUE(CreateDirectoryA(JoinPath(dir, FrameName(i)).c_str(), NULL));
            files[i] = {FileModel::DIRECTORY, 0, 0};
            break;
        case 2:  // truncated, possibly in the middle of a row
            Write(i, i, rng() % (contents[i].size() + 1));
            break;
        case 3:  // another frame's whole contents
            Write(i, (int)(rng() % FRAMES), contents[i].size());
            break;
        default:
            Write(i, i, contents[i].size());
            break;
        }
    }

    // The frame at CurrentFrame, as the file model says it must look.
    void CheckPicture(const std::vector<uint8_t>& before, int tick) {
        ViewerStateData& v = ViewerState;
        int height = FrameImageHeight();
        std::vector<uint8_t> black(rowBytes, 0);
        const char* name = v.NameTable + (size_t)v.CurrentFrame * (v.MaxNameLength + 1);
        int i = -1;
        ASSERT_EQ(sscanf(name, "soak_%d.", &i), 1) << name;
        ASSERT_TRUE(i >= 0 && i < FRAMES) << name;
        const FileModel& m = files[i];
        if (m.kind != FileModel::CONTENT) {
            ++refused;
            ASSERT_TRUE(PictureBytes() == before)
                << "tick " << tick << ": a frame that cannot be opened changed the picture";
            return;
        }
        if (m.length < contents[i].size()) ++truncated;
        for (int r = 0; r < height; ++r) {
            const uint8_t* row = FrameImageRow(height - 1 - r);
            size_t needed = (size_t)(4 * r + 4) * YUV10_ROW_BYTES;
            const uint8_t* want = r < SHOWN_ROWS && m.length >= needed
                                      ? expected[m.frame][r].data()
                                      : black.data();
            ASSERT_EQ(memcmp(row, want, rowBytes), 0)
                << "tick " << tick << ", " << name << " holding frame " << m.frame << " ("
                << m.length << " bytes), picture row " << r;
        }
    }
};

void SetStepByKeys(HWND window, int step) {
    PressKey(window, VK_SPACE);
    for (int n = 0; n < (step < 0 ? -step : step); ++n)
        PressKey(window, step < 0 ? VK_LEFT : VK_RIGHT);
    ASSERT_EQ(ViewerState.Step, step);
}

}  // namespace

TEST_F(MainWindowTest, PlaybackSoakOfYuv10FramesShowsWholeFramesOnly) {
    // Quarter size: small pictures keep the run short.
    SendMessageA(window, WM_COMMAND, IDM_SIZE_QUARTER, 0);
    ASSERT_EQ(ViewerState.ScaleShift, 2);
    Soak s;
    s.dir = MakeScratchDir();
    s.rowBytes = (size_t)FrameImageWidth() * 4;
    for (int f = 0; f < FRAMES; ++f) {
        s.contents.push_back(FrameBytes(f));
        // Picture row r: file row 4r + 3, every 4th pixel.
        std::vector<std::vector<uint8_t>> rows(SHOWN_ROWS, std::vector<uint8_t>(s.rowBytes));
        for (int r = 0; r < SHOWN_ROWS; ++r)
            DecodeYuv10RowReference(&s.contents[f][(size_t)(4 * r + 3) * YUV10_ROW_BYTES],
                                    rows[r].data(), 2);
        s.expected.push_back(rows);
    }
    s.files.assign(FRAMES, {FileModel::MISSING, 0, 0});
    for (int i = 0; i < FRAMES; ++i) s.Write(i, i, s.contents[i].size());

    // However the run ends, the next test's SetUp shows the window and stops the timer.
    LoadFrame(JoinPath(s.dir, s.FrameName(0)));
    ASSERT_EQ(ViewerState.FrameCount, FRAMES);
    ASSERT_TRUE(testing_hooks::ShownErrors.empty());

    std::mt19937 rng(20261206);
    const int steps[4] = {1, -1, 10, -10};
    std::vector<uint8_t> before;
    size_t heapBefore = 0;
    int loads = 0;
    for (int tick = 0; tick < TICKS; ++tick) {
        if (tick % 250 == 0) SetStepByKeys(window, steps[rng() % 4]);
        if (tick % 1000 == 500) {
            // A new load lists the directory as it is now; directories still count.
            int k = (int)(rng() % FRAMES);
            s.Write(k, k, s.contents[k].size());
            LoadFrame(JoinPath(s.dir, s.FrameName(k)));
            ++loads;
            ASSERT_GT(ViewerState.FrameCount, 0);
            SetStepByKeys(window, steps[rng() % 4]);
        }
        ASSERT_NO_FATAL_FAILURE(s.Change(rng));
        if (tick == PAINTED_TICKS) ShowWindow(window, SW_HIDE);
        if (tick == 100) {
            // Counted from here: the window and the first paints have settled.
            heapBefore = ProcessHeapBusyBytes();
            testing_hooks::AllocationsBeforeFailure = 1 << 30;
        }
        const uint8_t* pixels = ViewerState.FrameImage.Pixels;
        before = PictureBytes();
        Tick(window);
        ASSERT_EQ(ViewerState.FrameImage.Pixels, pixels);
        ASSERT_NO_FATAL_FAILURE(s.CheckPicture(before, tick));
    }
    // The loads in between allocate their tables; the ticks allocate nothing.
    int allocations = (1 << 30) - testing_hooks::AllocationsBeforeFailure;
    testing_hooks::AllocationsBeforeFailure = -1;
    size_t heapAfter = ProcessHeapBusyBytes();

    printf("soak: %d ticks, %d refused, %d truncated, %d loads, %d allocations, "
           "process heap %lu -> %lu busy bytes\n",
           TICKS, s.refused, s.truncated, loads, allocations,
           (unsigned long)heapBefore, (unsigned long)heapAfter);
    EXPECT_LE(allocations, loads * 2);
    EXPECT_GT(s.refused, 0);
    EXPECT_GT(s.truncated, 0);
    // Tables of the loads come and go; a per-tick leak of even 8 bytes would pass 64 KiB.
    EXPECT_LT(heapAfter, heapBefore + 64 * 1024);
}

