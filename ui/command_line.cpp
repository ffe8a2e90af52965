// Start-up: the command-line tail, which names one frame file with or without
// enclosing double quotes, and the declaration that the program draws for the display's
// own pixels.
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
    memcpy(path, start, length);
    path[length] = '\0';
    return 0;
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

// Without it Windows 8.1 and later stretch the whole window on a scaled display, and the
// picture is no longer shown one to one. Looked up, so systems without it still start.
void DeclareDpiAware() {
    typedef BOOL(WINAPI * SetAware)();
    SetAware set =
        (SetAware)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    if (set) set();
}
