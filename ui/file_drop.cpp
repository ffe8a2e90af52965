// WM_DROPFILES: the first dropped file is loaded, the others are ignored.
#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "ui/ui.h"

void OnDropFiles(HWND window, HDROP drop) {
    ViewerStateData& v = ViewerState;
    // A path that does not fit PathBuffer is not cut short into another file's name:
    // the empty path makes the load report that it cannot open the file.
    UINT length = DragQueryFileA(drop, 0, NULL, 0);
    if (length > 0 && length < PATH_BUFFER_SIZE) {
        DragQueryFileA(drop, 0, v.PathBuffer, PATH_BUFFER_SIZE);
        TakeLongPath(v.PathBuffer);
    } else {
        v.PathBuffer[0] = '\0';
    }
    DragFinish(drop);
    LoadSequence();
    Repaint(window);
}
