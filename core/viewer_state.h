// All state of the viewer: one set of process-wide variables, and the displayed
// picture, a 32-bit bottom-up device-independent bitmap whose size follows the scale.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum {
    FRAME_WIDTH = 1920,
    FRAME_HEIGHT = 1080,
    PATH_BUFFER_SIZE = 260,    // 259 bytes and the NUL
    LINE_BUFFER_SIZE = 11520,  // one TIFF row: 1920 pixels x 6 bytes
};

// Same layout as the platform's BITMAPINFO (BITMAPINFOHEADER and one colour entry),
// so the window code hands it to SetDIBitsToDevice as it stands.
struct FrameImageHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
    uint32_t bmiColors0;
};
static_assert(sizeof(FrameImageHeader) == 44, "BITMAPINFO layout");

struct FrameImageData {
    FrameImageHeader Header;
    uint8_t* Pixels;  // Header.biWidth * Header.biHeight * 4 bytes, first row = bottom row
};

struct ViewerStateData {
    int32_t ScaleShift;     // 0 full, 1 half, 2 quarter size
    int32_t Step;           // frames per tick, -10..+10; 0 paused
    int32_t FrameCount;     // 0: no sequence loaded
    int32_t CurrentFrame;   // index into NameTable
    int32_t MaxNameLength;  // longest name in NameTable, without its NUL
    int32_t IsTiff;         // 1: TIFF, anything else: YUV10
    char PathBuffer[PATH_BUFFER_SIZE];
    char* NamePart;  // into PathBuffer, or nullptr before the first scan
    char PatternBuffer[PATH_BUFFER_SIZE];
    char* NameTable;  // FrameCount slots of MaxNameLength + 1 bytes
    FrameImageData FrameImage;
    uint8_t* LineBuffer;    // LINE_BUFFER_SIZE bytes, created once
    void* StatusBarWindow;  // HWND
    void* MenuHandle;       // HMENU
    void* InstanceHandle;   // HINSTANCE
};

extern ViewerStateData ViewerState;

// The viewer's start values: everything zero, half size.
void ClearViewerState();

// (Re)creates the pixel buffer, black, for the current ScaleShift, and LineBuffer on
// first use. Returns 0; -1 when memory ran out, and then the previous picture, its
// header and its ScaleShift stay as they were, so a valid buffer always exists.
int ResetFrameImage();

inline int FrameImageWidth() { return ViewerState.FrameImage.Header.biWidth; }
inline int FrameImageHeight() { return ViewerState.FrameImage.Header.biHeight; }
// Pixel-buffer row r (0 = bottom row of the picture).
inline uint8_t* FrameImageRow(int r) {
    return ViewerState.FrameImage.Pixels + (size_t)r * (size_t)FrameImageWidth() * 4;
}
