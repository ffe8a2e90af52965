#include "core/viewer_state.h"

#include <string.h>

#include "platform/platform.h"

ViewerStateData ViewerState = {1,  0,       0,  0,       0,       0,       {},     nullptr,
                               {}, nullptr, {}, nullptr, nullptr, nullptr, nullptr};

void ClearViewerState() {
    memset(&ViewerState, 0, sizeof ViewerState);
    ViewerState.ScaleShift = 1;
}

static void SetHeader(FrameImageHeader* h, int shift) {
    memset(h, 0, sizeof *h);
    h->biSize = 40;
    h->biWidth = FRAME_WIDTH >> shift;
    h->biHeight = FRAME_HEIGHT >> shift;  // positive: rows stored bottom-up
    h->biPlanes = 1;
    h->biBitCount = 32;
    h->biCompression = 0;
}

int ResetFrameImage() {
    if (ViewerState.ScaleShift < 0 || ViewerState.ScaleShift > 2) return -1;
    if (!ViewerState.LineBuffer) {
        ViewerState.LineBuffer = (uint8_t*)PlatAllocZero(LINE_BUFFER_SIZE);
        if (!ViewerState.LineBuffer) return -1;
    }
    FrameImageHeader header;
    SetHeader(&header, ViewerState.ScaleShift);
    size_t bytes = (size_t)header.biWidth * (size_t)header.biHeight * 4;
    // The new buffer comes first: when memory runs out the old picture stays whole.
    uint8_t* pixels = (uint8_t*)PlatAllocZero(bytes);
    if (!pixels) {
        FrameImageHeader& old = ViewerState.FrameImage.Header;
        if (ViewerState.FrameImage.Pixels) {
            ViewerState.ScaleShift = old.biWidth == FRAME_WIDTH       ? 0
                                     : old.biWidth == FRAME_WIDTH / 2 ? 1
                                                                      : 2;
        }
        return -1;
    }
    PlatFree(ViewerState.FrameImage.Pixels);
    ViewerState.FrameImage.Header = header;
    ViewerState.FrameImage.Pixels = pixels;
    return 0;
}
