// The command-line tail names one frame file, with or without enclosing double quotes.
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
