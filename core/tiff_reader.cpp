#include "core/tiff_reader.h"

#include "core/frame_sequence.h"
#include "core/viewer_state.h"

int ReadTiffFrame() {
    PlatFile file = OpenCurrentFrame();
    if (!file) return -1;
    PlatCloseFile(file);
    return -1;  // TIFF frames are not read yet
}
