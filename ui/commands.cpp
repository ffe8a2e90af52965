#include "ui/ui.h"

// Placeholder until the menu commands are built: every command beeps.
void OnCommand(HWND window, WORD id) {
    (void)window;
    (void)id;
    MessageBeep(0);
}

BOOL ChooseFile(HWND owner) {
    (void)owner;
    return FALSE;
}
