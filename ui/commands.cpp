// WM_COMMAND: the menu commands (open, exit, screen size, about) and the open dialog.
#include "ui/ui.h"

#include <commdlg.h>
#include <string.h>

#include "core/sequence_loading.h"
#include "core/viewer_state.h"
#include "res/resource.h"

#ifndef _WIN64  // the sizes of the shipped 32-bit program; the 64-bit test build differs
static_assert(sizeof(MENUITEMINFOA) == 48, "MENUITEMINFOA as the menu calls expect it");
static_assert(sizeof(OPENFILENAMEA) == 88, "OPENFILENAMEA with the reserved tail");
#endif

static void SetSizeItemState(int id, UINT state) {
    MENUITEMINFOA item;
    memset(&item, 0, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = state;
    SetMenuItemInfoA((HMENU)ViewerState.MenuHandle, (UINT)id, FALSE, &item);
}

// The new picture stays black until the next decode (a tick or a load); playback is
// paused but its timer keeps running.
static void ChooseScale(HWND window, int shift) {
    SetSizeItemState(IDM_SIZE_FULL + ViewerState.ScaleShift, 0);
    SetSizeItemState(IDM_SIZE_FULL + shift, MFS_CHECKED);
    ViewerState.ScaleShift = shift;
    if (ResetFrameImage() != 0) {
        // Out of memory: the old picture and its scale stay, and the check mark with them.
        SetSizeItemState(IDM_SIZE_FULL + shift, 0);
        SetSizeItemState(IDM_SIZE_FULL + ViewerState.ScaleShift, MFS_CHECKED);
    }
    FitWindowToImage(window);
    ViewerState.Step = 0;
    Repaint(window);
}

static void OpenChosenFile(HWND window) {
    if (ChooseFile(window)) {
        LoadSequence();
        Repaint(window);
    } else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        // The chosen path does not fit PathBuffer: the load reports it cannot open it.
        ViewerState.PathBuffer[0] = '\0';
        LoadSequence();
        Repaint(window);
    }
    // Cancelled: nothing is loaded and the picture stays as it is.
}

void OnCommand(HWND window, WORD id) {
    switch (id) {
    case IDM_OPEN:
        OpenChosenFile(window);
        break;
    case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case IDM_SIZE_FULL:
    case IDM_SIZE_HALF:
    case IDM_SIZE_QUARTER:
        ChooseScale(window, id - IDM_SIZE_FULL);
        break;
    case IDM_ABOUT:
        DialogBoxParamA((HINSTANCE)ViewerState.InstanceHandle, "ABOUTDLG", window, AboutDialogProc,
                        0);
        Repaint(window);
        break;
    default:
        MessageBeep(0);
        break;
    }
}

BOOL ChooseFile(HWND owner) {
    static const char filter[] =
        "TIFF/YUV10連番ファイル (*.tif,*.yuv10)\0*.tif;*.yuv10\0"
        "すべてのファイル (*.*)\0*.*\0";
    // A failed dialog may have written into PathBuffer (the needed size when the name
    // does not fit); the path of the shown frame is put back.
    char before[PATH_BUFFER_SIZE];
    memcpy(before, ViewerState.PathBuffer, sizeof before);

    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = ViewerState.PathBuffer;
    ofn.nMaxFile = PATH_BUFFER_SIZE;
    ofn.Flags = OFN_READONLY | OFN_FILEMUSTEXIST;
    // The dialog leaves the current directory in the folder the user went to, chosen or
    // cancelled, and Windows holds the current directory open: that folder could not be
    // renamed or deleted, nor a USB stick holding it ejected, until the viewer ends.
    char directory[MAX_PATH];
    DWORD kept = GetCurrentDirectoryA(MAX_PATH, directory);
    BOOL chosen = GetOpenFileNameA(&ofn);
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        // Windows does not open the dialog at all when the initial name is not a valid
        // one (such as what dropping two files onto the exe leaves): start it empty.
        ViewerState.PathBuffer[0] = '\0';
        chosen = GetOpenFileNameA(&ofn);
    }
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryA(directory);
    if (!chosen) memcpy(ViewerState.PathBuffer, before, sizeof before);
    return chosen;
}
