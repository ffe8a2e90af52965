#include "ui/ui.h"

// Placeholder entry point until the main window is built.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    (void)instance;
    return 0;
}
