#include "core/sequence_loading.h"

#include "core/frame_sequence.h"
#include "core/tiff_reader.h"
#include "core/viewer_state.h"
#include "core/yuv10_reader.h"
#include "platform/platform.h"

int ReadCurrentFrame() { return ViewerState.IsTiff == 1 ? ReadTiffFrame() : ReadYuv10Frame(); }

void LoadSequence() {
    ViewerStateData& v = ViewerState;
    if (ScanSequence() != 0) {
        PlatShowError("ファイルをオープンできません!", "Error");
        v.FrameCount = 0;
        v.Step = 0;
        return;
    }
    if (ReadCurrentFrame() != 0) {
        PlatShowError("不正なファイルです!", "Error");
        v.FrameCount = 0;
    }
    v.Step = 0;
}
