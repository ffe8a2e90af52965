// KERNEL32/USER32 backend of the platform services.
#include "platform/platform.h"

#include <windows.h>
#include <string.h>

// Shared every way: a renderer re-writing the frame, or Explorer renaming or deleting it,
// must not fail because the viewer is reading it, and a frame another program holds open
// is still read.
PlatFile PlatOpenFile(const char* path) {
    HANDLE h =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return reinterpret_cast<PlatFile>(h);
}

int32_t PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(file), buffer, size, &got, nullptr)) return -1;
    return (int32_t)got;
}

int PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent) {
    LONG high = (LONG)(offset >> 32);
    DWORD low = SetFilePointer(reinterpret_cast<HANDLE>(file), (LONG)(uint32_t)offset, &high,
                               fromCurrent ? FILE_CURRENT : FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
    return 0;
}

int64_t PlatFileSize(PlatFile file) {
    DWORD high = 0;
    DWORD low = GetFileSize(reinterpret_cast<HANDLE>(file), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
    return ((int64_t)high << 32) | low;
}

void PlatCloseFile(PlatFile file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

PlatFind PlatFindFirst(const char* pattern, char name[PLAT_NAME_SIZE]) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern, &data);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    memcpy(name, data.cFileName, PLAT_NAME_SIZE);
    name[PLAT_NAME_SIZE - 1] = '\0';
    return reinterpret_cast<PlatFind>(h);
}

int PlatFindNext(PlatFind find, char name[PLAT_NAME_SIZE]) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(reinterpret_cast<HANDLE>(find), &data)) return 0;
    memcpy(name, data.cFileName, PLAT_NAME_SIZE);
    name[PLAT_NAME_SIZE - 1] = '\0';
    return 1;
}

void PlatFindClose(PlatFind find) { FindClose(reinterpret_cast<HANDLE>(find)); }

int PlatIsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) ? 1 : 0; }

void* PlatAllocZero(size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size); }

void PlatFree(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

void PlatShowError(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK);
}
