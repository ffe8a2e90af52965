#include "tools/frame_pattern.h"

// 5 x 7 digits, one byte a row, bit 4 the left column.
static const uint8_t Digits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// 1 inside the frame-number box's digit strokes, 0 in the box, -1 outside the box.
static int CounterPixel(int n, int x, int y) {
    const int cell = 12, left = 48, top = 48, digits = 4;
    int w = digits * 6 * cell + cell, h = 9 * cell;
    if (x < left || y < top || x >= left + w || y >= top + h) return -1;
    int cx = (x - left) / cell - 1, cy = (y - top) / cell - 1;
    if (cx < 0 || cy < 0 || cy >= 7) return 0;
    int d = cx / 6, col = cx % 6;
    if (d >= digits || col == 5) return 0;
    int value = n;
    for (int i = digits - 1; i > d; --i) value /= 10;
    return (Digits[value % 10][cy] >> (4 - col)) & 1;
}

// Eight bars (white, yellow, cyan, green, magenta, red, blue, black) 240 pixels wide,
// moved 16 pixels to the left per frame; a gentle ramp from top to bottom.
void FramePatternRgb(int n, int x, int y, uint16_t* R, uint16_t* G, uint16_t* B) {
    int c = CounterPixel(n, x, y);
    if (c >= 0) {
        uint16_t v = c ? 0xFFFF : 0x0000;
        *R = *G = *B = v;
        return;
    }
    int bar = ((x + 16 * n) / 240) % 8;
    int level = 0xC000 - y * 0x20 + ((x * 7 + y * 3) & 0xFF);
    *R = (uint16_t)((bar == 0 || bar == 1 || bar == 4 || bar == 5) ? level : 0x1000 + y);
    *G = (uint16_t)((bar <= 3) ? level : 0x1000 + x);
    *B = (uint16_t)((bar == 0 || bar == 2 || bar == 4 || bar == 6) ? level : 0x1000 + (x ^ y));
}

void FramePatternYcc(int n, int x, int y, int* Y, int* Cb, int* Cr) {
    uint16_t r16, g16, b16;
    FramePatternRgb(n, x, y, &r16, &g16, &b16);
    // BT.709 to limited-range 10-bit.
    double r = r16 / 65535.0, g = g16 / 65535.0, b = b16 / 65535.0;
    double yl = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    *Y = (int)(64 + 876 * yl + 0.5);
    *Cb = (int)(512 + 896 * (b - yl) / 1.8556 + 0.5);
    *Cr = (int)(512 + 896 * (r - yl) / 1.5748 + 0.5);
}

static void PutWord(uint8_t* p, int a, int b, int c) {
    uint32_t w =
        (uint32_t)(a & 1023) << 22 | (uint32_t)(b & 1023) << 12 | (uint32_t)(c & 1023) << 2;
    p[0] = (uint8_t)(w >> 24);
    p[1] = (uint8_t)(w >> 16);
    p[2] = (uint8_t)(w >> 8);
    p[3] = (uint8_t)w;
}

std::vector<uint8_t> MakeYuv10Frame(int n) {
    std::vector<uint8_t> out(5120 * 1080);
    for (int y = 0; y < 1080; ++y) {
        for (int g = 0; g < 320; ++g) {
            int Y[6], Cb[3], Cr[3], unusedCb, unusedCr;
            for (int j = 0; j < 6; ++j) {
                if (j % 2 == 0)
                    FramePatternYcc(n, 6 * g + j, y, &Y[j], &Cb[j / 2], &Cr[j / 2]);
                else
                    FramePatternYcc(n, 6 * g + j, y, &Y[j], &unusedCb, &unusedCr);
            }
            uint8_t* p = &out[(size_t)y * 5120 + 16 * g];
            PutWord(p, Cb[0], Y[0], Cr[0]);
            PutWord(p + 4, Y[1], Cb[1], Y[2]);
            PutWord(p + 8, Cr[1], Y[3], Cb[2]);
            PutWord(p + 12, Y[4], Cr[2], Y[5]);
        }
    }
    return out;
}

std::vector<uint16_t> MakeRgb48Frame(int n) {
    std::vector<uint16_t> out((size_t)1920 * 1080 * 3);
    size_t i = 0;
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x, i += 3)
            FramePatternRgb(n, x, y, &out[i], &out[i + 1], &out[i + 2]);
    return out;
}
