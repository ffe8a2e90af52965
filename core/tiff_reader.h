// Uncompressed 48-bit RGB TIFF frames (little-endian, 1920 x 1080).
#pragma once

// Decodes the frame at CurrentFrame into FrameImage at the current scale.
// 0 when decoded; -1 when the frame could not be opened or the file was refused.
int ReadTiffFrame();
