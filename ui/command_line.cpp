// Start-up: the command-line tail, which names one frame file with or without
// enclosing double quotes, and what the program declares to the system: that it draws
// for the display's own pixels, and that drops from Explorer may reach it.
#include <string.h>

#include "core/viewer_state.h"
#include "ui/ui.h"

int TakeCommandLinePath(const char* tail) {
    char* path = ViewerState.PathBuffer;
    path[0] = '\0';
    if (!tail) return -1;
    const char* start = tail;
    size_t length;
    if (*tail == '"') {
        start = tail + 1;
        const char* close = strchr(start, '"');
        length = close ? (size_t)(close - start) : strlen(start);
    } else {
        length = strlen(tail);
    }
    // A path that does not fit is refused whole rather than cut to another file's name.
    if (length == 0 || length >= PATH_BUFFER_SIZE) return -1;
    char named[PATH_BUFFER_SIZE];
    memcpy(named, start, length);
    named[length] = '\0';
    // Made absolute once, here: the open dialog changes the current directory while the
    // user browses, and every later frame is opened by this path. Windows also drops the
    // trailing blanks and dots of a name and resolves a drive-relative one ("D:clip.yuv10").
    DWORD full = GetFullPathNameA(named, PATH_BUFFER_SIZE, path, NULL);
    if (full == 0 || full >= PATH_BUFFER_SIZE) {
        path[0] = '\0';
        return -1;
    }
    TakeLongPath(path);
    return 0;
}

// The frame number of an 8.3 short name ("CLIP_0~1.YUV", what a batch file's %~s1 passes)
// is not the frame's, and no long name fits its pattern. Where the long form cannot be had
// (no such file) or does not fit, the path stays as it is.
void TakeLongPath(char* path) {
    char longPath[PATH_BUFFER_SIZE];
    DWORD length = GetLongPathNameA(path, longPath, PATH_BUFFER_SIZE);
    if (length > 0 && length < PATH_BUFFER_SIZE) memcpy(path, longPath, length + 1);
}

// Bytes are compared unsigned and only blanks and quotes end a part: no byte of a
// double-byte character is either (lead bytes are 0x81 and above, trail bytes 0x40 and
// above), so a Japanese path stays whole. The C runtime's own split takes every byte of
// 0x80 and above for a blank.
const char* CommandLineTail(const char* line) {
    const unsigned char* p = (const unsigned char*)line;
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {}
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return (const char*)p;
}

// A DLL named without a path is looked for in the exe's folder and the current directory
// before the system folder: Windows 7 and earlier have no shcore.dll, and one left in a
// Downloads folder or on a share would run inside the viewer. Loaded by its full path in
// the system folder instead (on 64-bit Windows the system maps it to the 32-bit one).
static HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + strlen(name) >= MAX_PATH) return NULL;
    path[length] = '\\';
    strcpy(path + length + 1, name);
    return LoadLibraryA(path);
}

// Without it Windows 8.1 and later stretch the whole window on a scaled display, and the
// picture is no longer shown one to one. Per monitor where the system offers it (8.1 on),
// so a second monitor with another scaling does not stretch it either; without a handler
// for a change of scaling the window keeps its size in pixels there. Looked up, so that
// systems without these calls still start.
void DeclareDpiAware() {
    typedef HRESULT(WINAPI * SetAwareness)(int);
    typedef BOOL(WINAPI * SetAware)();
    HMODULE shcore = LoadSystemLibrary("shcore.dll");
    SetAwareness perMonitor =
        shcore ? (SetAwareness)(void*)GetProcAddress(shcore, "SetProcessDpiAwareness") : NULL;
    const int PER_MONITOR_DPI_AWARE = 2;
    if (perMonitor && SUCCEEDED(perMonitor(PER_MONITOR_DPI_AWARE))) return;
    SetAware set =
        (SetAware)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    if (set) set();
}

// From Vista on, an elevated program gets no drops from Explorer, which runs unelevated,
// unless it lets the messages of a drop through. Looked up: Windows 7 has the call for one
// window, Vista only the one for the whole process, XP neither (and needs neither).
void AllowDropsWhenElevated(HWND window) {
    typedef BOOL(WINAPI * ForWindow)(HWND, UINT, DWORD, void*);
    typedef BOOL(WINAPI * ForProcess)(UINT, DWORD);
    const UINT messages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049 /* WM_COPYGLOBALDATA */};
    const DWORD ALLOW = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD for the process-wide call
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ForWindow forWindow = (ForWindow)(void*)GetProcAddress(user32, "ChangeWindowMessageFilterEx");
    ForProcess forProcess = (ForProcess)(void*)GetProcAddress(user32, "ChangeWindowMessageFilter");
    for (UINT message : messages) {
        if (forWindow)
            forWindow(window, message, ALLOW, NULL);
        else if (forProcess)
            forProcess(message, ALLOW);
    }
}
