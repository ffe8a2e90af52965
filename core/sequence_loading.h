// The one entry into the core for a newly named file.
#pragma once

// Scans the sequence of PathBuffer and decodes the named frame; tells the user about a
// failure with an error box. Step is 0 afterwards; FrameCount is 0 after a failure.
void LoadSequence();
