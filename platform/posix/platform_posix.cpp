// Linux backend of the platform services, with the semantics of the Win32 one: '\' and
// '/' separate directories, patterns match without letter case and '?' stands for one
// character, directories cannot be opened as files.
#include "platform/platform.h"

#include <ctype.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// The path with '\\' turned into '/', walking by characters so that a trail byte 0x5C
// of a double-byte character stays part of its name.
static std::string UnixPath(const char* path) {
    std::string p(path);
    for (size_t i = 0; i < p.size(); ++i) {
        if (PlatIsLeadByte((unsigned char)p[i]) && i + 1 < p.size())
            ++i;
        else if (p[i] == '\\')
            p[i] = '/';
    }
    return p;
}

PlatFile PlatOpenFile(const char* path) {
    std::string p = UnixPath(path);
    int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return reinterpret_cast<PlatFile>((intptr_t)fd + 1);  // +1 so that fd 0 is not NULL
}

static int FileDescriptor(PlatFile file) { return (int)(reinterpret_cast<intptr_t>(file) - 1); }

int32_t PlatReadFile(PlatFile file, void* buffer, uint32_t size) {
    uint32_t done = 0;
    while (done < size) {
        ssize_t n = read(FileDescriptor(file), (char*)buffer + done, size - done);
        if (n < 0) return -1;
        if (n == 0) break;
        done += (uint32_t)n;
    }
    return (int32_t)done;
}

int PlatSeekFile(PlatFile file, int64_t offset, int fromCurrent) {
    return lseek(FileDescriptor(file), (off_t)offset, fromCurrent ? SEEK_CUR : SEEK_SET) < 0 ? -1
                                                                                             : 0;
}

int64_t PlatFileSize(PlatFile file) {
    struct stat st;
    if (fstat(FileDescriptor(file), &st) != 0) return -1;
    return (int64_t)st.st_size;
}

void PlatCloseFile(PlatFile file) { close(FileDescriptor(file)); }

struct PlatFindTag {
    DIR* dir;
    std::string pattern;  // the name part, without the directory
};

// Wildcard match as the Windows listing does it for these names: letter case ignored,
// '?' one byte, '*' any run.
static bool Matches(const char* name, const char* pattern) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') {
        for (const char* n = name;; ++n) {
            if (Matches(n, pattern + 1)) return true;
            if (*n == '\0') return false;
        }
    }
    if (*name == '\0') return false;
    if (*pattern != '?' && tolower((unsigned char)*pattern) != tolower((unsigned char)*name))
        return false;
    return Matches(name + 1, pattern + 1);
}

static int NextMatch(PlatFind find, char name[PLAT_NAME_SIZE]) {
    while (struct dirent* e = readdir(find->dir)) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
        if (strlen(e->d_name) >= PLAT_NAME_SIZE) continue;  // no such name on Windows
        if (!Matches(e->d_name, find->pattern.c_str())) continue;
        strcpy(name, e->d_name);
        return 1;
    }
    return 0;
}

PlatFind PlatFindFirst(const char* pattern, char name[PLAT_NAME_SIZE]) {
    std::string p = UnixPath(pattern);
    size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? "." : p.substr(0, slash + 1);
    std::string namePattern = slash == std::string::npos ? p : p.substr(slash + 1);
    if (namePattern.empty()) return nullptr;
    DIR* d = opendir(dir.c_str());
    if (!d) return nullptr;
    PlatFind find = new PlatFindTag{d, namePattern};
    if (!NextMatch(find, name)) {
        PlatFindClose(find);
        return nullptr;
    }
    return find;
}

int PlatFindNext(PlatFind find, char name[PLAT_NAME_SIZE]) { return NextMatch(find, name); }

void PlatFindClose(PlatFind find) {
    closedir(find->dir);
    delete find;
}

// Double-byte characters exist only when the environment asks for the Japanese code
// page, as Wine does for LANG=ja_JP.*: then the lead bytes are those of code page 932.
static bool JapaneseCodePage() {
    static const bool japanese = [] {
        const char* lang = getenv("LC_ALL");
        if (!lang || !*lang) lang = getenv("LANG");
        return lang && strncmp(lang, "ja", 2) == 0;
    }();
    return japanese;
}

int PlatIsLeadByte(unsigned char c) {
    return JapaneseCodePage() && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

void* PlatAllocZero(size_t size) { return calloc(1, size); }

void PlatFree(void* block) { free(block); }

void PlatShowError(const char* text, const char* caption) {
    // Nothing to show on Linux: the tools report their failures themselves.
    (void)text;
    (void)caption;
}
