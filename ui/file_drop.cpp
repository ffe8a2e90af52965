#include "ui/ui.h"

// Placeholder until file drop is built: the drop is released unused.
void OnDropFiles(HWND window, HDROP drop) {
    (void)window;
    DragFinish(drop);
}
