// Synthetic frames for samples, tests and benchmarks: colour bars that move with the
// frame number and the frame number itself drawn in large pixels at the top left, so a
// picture shows which frame it is.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

// 10-bit Y', Cb, Cr of pixel (x, y) of frame n.
void FramePatternYcc(int n, int x, int y, int* Y, int* Cb, int* Cr);
// 16-bit R, G, B of pixel (x, y) of frame n.
void FramePatternRgb(int n, int x, int y, uint16_t* R, uint16_t* G, uint16_t* B);

// A whole headerless YUV10 frame (5,529,600 bytes).
std::vector<uint8_t> MakeYuv10Frame(int n);
// 1920 x 1080 x 3 16-bit samples, top row first, R G B.
std::vector<uint16_t> MakeRgb48Frame(int n);
