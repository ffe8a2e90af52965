// The one entry into the core for a newly named file.
#pragma once

// Scans the sequence of PathBuffer and decodes the named frame; tells the user about a
// failure with an error box. Step is 0 afterwards; FrameCount is 0 after a failure.
void LoadSequence();
// Decodes the frame at CurrentFrame with the reader IsTiff selects (TIFF when 1, YUV10
// otherwise): 0, or -1 when the frame could not be read.
int ReadCurrentFrame();
