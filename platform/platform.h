// The few operating-system services the core needs. The Win32 backend makes the
// KERNEL32/USER32 calls; the posix backend gives the same results on Linux so the
// core, its tools and its tests also run natively.
#pragma once
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { PLAT_NAME_SIZE = 260 };  // a listed name and its NUL, as in WIN32_FIND_DATAA

typedef struct PlatFileTag* PlatFile;  // NULL: no file
typedef struct PlatFindTag* PlatFind;  // NULL: no listing

// Opens an existing file for reading, with the sequential-scan hint; others may go on
// reading, writing, renaming and deleting it meanwhile. NULL when it does not exist,
// cannot be opened, or is a directory.
PlatFile PlatOpenFile(const char* path);
// Reads up to size bytes: the count read (0 at the end), or -1 on a read error.
int32_t PlatReadFile(PlatFile file, void* buffer, uint32_t size);
// Moves the file position to offset (absolute) or by offset (fromCurrent != 0).
// Returns 0, or -1 when the position cannot be set.
int PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent);
// The size of the open file in bytes, or -1 when it cannot be told.
int64_t PlatFileSize(PlatFile file);
void PlatCloseFile(PlatFile file);

// Lists the entries that fit a wildcard pattern ("dir\name??.ext"). FindFirst returns
// NULL when the listing fails or finds nothing; otherwise it has put the first name
// (no directory part) into name. FindNext returns 1 with the next name, 0 at the end.
PlatFind PlatFindFirst(const char* pattern, char name[PLAT_NAME_SIZE]);
int PlatFindNext(PlatFind find, char name[PLAT_NAME_SIZE]);
void PlatFindClose(PlatFind find);

// Whether c starts a double-byte character in the ANSI code page.
int PlatIsLeadByte(unsigned char c);

// Zero-filled block from the process heap, or NULL when there is no memory.
void* PlatAllocZero(size_t size);
void PlatFree(void* block);

// The error box: no owner, the given caption, a single OK button, no icon.
void PlatShowError(const char* text, const char* caption);

#ifdef __cplusplus
}
#endif
