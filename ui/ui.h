// The viewer window: one short handler per message of MainWindowProc.
#pragma once
#include <windows.h>

enum {
    PLAYBACK_TIMER_ID = 1,
    PLAYBACK_PERIOD_MS = 33,
    STEP_LIMIT = 10,
    STATUS_BAR_ID = 1,
};

extern const char MAIN_CLASS_NAME[];    // "Lumaroll"
extern const char MAIN_WINDOW_TITLE[];  // "Quillon Sorrelmark"

// main_window.cpp
ATOM RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void FitWindowToImage(HWND window);
// InvalidateRect without erase, then UpdateWindow: the picture and texts at once.
void Repaint(HWND window);

// painting.cpp
void OnPaint(HWND window);
// Sets status part 2 to the step text ("Step: +3", "Step: 0", "Step: -2").
void SetStepText();

// playback.cpp
void OnKeyDown(HWND window, WPARAM key);
void OnTimer(HWND window);
// Kills the playback timer and gives back the timer resolution it held.
void StopPlayback(HWND window);

// commands.cpp
void OnCommand(HWND window, WORD id);
BOOL ChooseFile(HWND owner);

// file_drop.cpp
void OnDropFiles(HWND window, HDROP drop);

// about_box.cpp
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// command_line.cpp: puts the full path of the file named by the command-line tail into
// PathBuffer, in its long form. Returns 0, or -1 when the tail names no path or one whose
// full path does not fit (PathBuffer is then left empty, so the load that follows reports it).
int TakeCommandLinePath(const char* tail);
// Turns a path that names an existing file into its long form, where that fits PathBuffer.
void TakeLongPath(char* path);
// The text after the program's name and the blanks behind it, in a whole command line.
const char* CommandLineTail(const char* line);
// Per-monitor DPI awareness where the system has it, else system awareness, else nothing.
void DeclareDpiAware();
// Lets the messages of a drop from Explorer through to an elevated program.
void AllowDropsWhenElevated(HWND window);
