// bench-playback --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] [--ticks N] [--heap-ticks N]
// In-process with the real main window: plays each given sequence (300 frames are
// expected) at scales 0, 1 and 2 with N ticks of each of two kinds, in turn: WM_TIMER sent
// to the window procedure (OnTimer advances, decodes, invalidates, updates and paints),
// followed by the messages it leaves queued; and the same steps made one by one, so the
// decode and the rest of the tick (invalidate, paint, status texts) are timed apart.
// Prints the median and 95th percentile milliseconds of the whole tick (and its share
// of the 33 ms period), of the decode and of the rest. Then plays heap-ticks more ticks
// and prints how many bytes the heaps of the process hold before and after.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

// Dispatches whatever the window system queued, so X events do not pile up between ticks.
static void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Bytes in use in every heap of the process (the process heap and the C runtime's).
static long long HeapBytesInUse() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    long long total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

static void SetScale(HWND window, int scale) {
    ViewerState.ScaleShift = scale;
    ResetFrameImage();
    FitWindowToImage(window);
    PumpMessages();
}

static int Play(HWND window, const char* format, const std::string& first, int ticks) {
    if (!SetBenchPath(first)) return 1;
    LoadSequence();
    if (ViewerState.FrameCount == 0) {
        fprintf(stderr, "bench-playback: cannot load %s\n", first.c_str());
        return 1;
    }
    for (int scale = 0; scale <= 2; ++scale) {
        SetScale(window, scale);
        ViewerState.Step = 1;
        ViewerState.CurrentFrame = ViewerState.FrameCount - 1;
        for (int i = 0; i < 10; ++i) OnTimer(window);  // warm the window and the cache
        std::vector<double> times, decode, rest;
        // A tick counts until the messages it caused (the status bar repainting the
        // texts that changed) are handled, as the message loop would before the next.
        for (int i = 0; i < ticks; ++i) {
            double t0 = NowMs();
            SendMessageA(window, WM_TIMER, PLAYBACK_TIMER_ID, 0);
            PumpMessages();
            times.push_back(NowMs() - t0);

            // OnTimer's steps apart; Step is 1, so the frame after the last is the first.
            ViewerState.CurrentFrame = (ViewerState.CurrentFrame + 1) % ViewerState.FrameCount;
            t0 = NowMs();
            ReadCurrentFrame();
            double t1 = NowMs();
            Repaint(window);
            PumpMessages();
            decode.push_back(t1 - t0);
            rest.push_back(NowMs() - t1);
        }
        double med = Median(times), p95 = Percentile(times, 95);
        printf(
            "playback %s scale=%d ticks=%d median_ms=%.2f p95_ms=%.2f median_share=%.0f%% "
            "p95_share=%.0f%% decode_median_ms=%.2f decode_p95_ms=%.2f rest_median_ms=%.2f "
            "rest_p95_ms=%.2f\n",
            format, scale, ticks, med, p95, 100 * med / PLAYBACK_PERIOD_MS,
            100 * p95 / PLAYBACK_PERIOD_MS, Median(decode), Percentile(decode, 95), Median(rest),
            Percentile(rest, 95));
        fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv) {
    std::string yuv10, tiff;
    int ticks = 300, heapTicks = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--yuv10"))
            yuv10 = argv[i + 1];
        else if (!strcmp(argv[i], "--tiff"))
            tiff = argv[i + 1];
        else if (!strcmp(argv[i], "--ticks"))
            ticks = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--heap-ticks"))
            heapTicks = atoi(argv[i + 1]);
        else
            ticks = 0;
    }
    if (argc % 2 != 1 || yuv10.empty() || ticks < 1 || heapTicks < 0) {
        fprintf(stderr,
                "usage: bench-playback --yuv10 FIRST_FRAME [--tiff FIRST_FRAME] "
                "[--ticks N] [--heap-ticks N]\n");
        return 2;
    }

    HINSTANCE instance = GetModuleHandleA(NULL);
    if (ResetFrameImage() != 0 || !RegisterMainWindowClass(instance)) return 1;
    HWND window = CreateMainWindow(instance);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpMessages();

    if (Play(window, "yuv10", yuv10, ticks) != 0) return 1;
    if (!tiff.empty() && Play(window, "tiff", tiff, ticks) != 0) return 1;

    if (heapTicks > 0) {
        if (!SetBenchPath(yuv10)) return 1;
        LoadSequence();
        // Quarter size, so 10,000 ticks take a minute; what a tick allocates does not
        // depend on the scale.
        SetScale(window, 2);
        ViewerState.Step = 1;
        for (int i = 0; i < 10; ++i) OnTimer(window);
        PumpMessages();
        long long before = HeapBytesInUse();
        double t0 = NowMs();
        for (int i = 0; i < heapTicks; ++i) {
            OnTimer(window);
            if (i % 16 == 0) PumpMessages();
        }
        PumpMessages();
        long long after = HeapBytesInUse();
        printf("heap ticks=%d seconds=%.1f bytes_before=%lld bytes_after=%lld growth=%lld\n",
               heapTicks, (NowMs() - t0) / 1000, before, after, after - before);
    }
    DestroyWindow(window);
    return 0;
}
