// bench-scan DIR [COUNT]
// Fills DIR with COUNT (100,000) empty frame files unless they are there, then times
// ScanSequence on the sequence: both listings, the name checks and the sort.
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/frame_sequence.h"
#include "core/viewer_state.h"
#include "platform/platform.h"

static std::string FrameName(long n) {
    char name[32];
    snprintf(name, sizeof name, "shot_%06ld.yuv10", n);
    return name;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: bench-scan DIR [COUNT]\n");
        return 2;
    }
    std::string dir = argv[1];
    long count = argc == 3 ? strtol(argv[2], nullptr, 10) : 100000;
    if (count < 1 || count > 999999) return 2;

    // Written in a scattered order, so a listing in creation order is not already sorted.
    std::string last = JoinBenchPath(dir, FrameName(count - 1));
    if (FILE* f = fopen(last.c_str(), "rb")) {
        fclose(f);
    } else {
        for (long i = 0; i < count; ++i) {
            long n = (i * 7919) % count;
            FILE* out = fopen(JoinBenchPath(dir, FrameName(n)).c_str(), "wb");
            if (!out) {
                fprintf(stderr, "bench-scan: cannot write into %s\n", dir.c_str());
                return 1;
            }
            fclose(out);
        }
    }

    // The listing alone, once, for comparison: what the platform costs without the core.
    std::string pattern = JoinBenchPath(dir, "shot_??????.yuv10");
    char name[PLAT_NAME_SIZE];
    double l0 = NowMs();
    long listed = 0;
    if (PlatFind find = PlatFindFirst(pattern.c_str(), name)) {
        do ++listed;
        while (PlatFindNext(find, name));
        PlatFindClose(find);
    }
    double listingMs = NowMs() - l0;

    std::vector<double> times;
    ClearViewerState();
    for (int run = 0; run < 5; ++run) {
        if (!SetBenchPath(JoinBenchPath(dir, FrameName(count / 2)))) return 1;
        double t0 = NowMs();
        int result = ScanSequence();
        times.push_back(NowMs() - t0);
        if (result != 0 || ViewerState.FrameCount != count ||
            ViewerState.CurrentFrame != count / 2) {
            fprintf(stderr, "bench-scan: listed %d frames, current %d\n", ViewerState.FrameCount,
                    ViewerState.CurrentFrame);
            return 1;
        }
    }
    printf("scan frames=%ld median_ms=%.1f first_ms=%.1f one_listing_ms=%.1f\n", count,
           Median(times), times[0], listingMs);
    if (listed != count) fprintf(stderr, "bench-scan: the listing gave %ld names\n", listed);
    return 0;
}
