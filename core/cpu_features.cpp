#include "core/cpu_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>

int Ssse3Available() {
    unsigned a, b, c, d;
    return __get_cpuid(1, &a, &b, &c, &d) && (c >> 9 & 1) ? 1 : 0;
}

int Avx2Available() {
    unsigned a, b, c, d, xcr0, xcr0High;
    // AVX and OSXSAVE, then whether the system saves the xmm and ymm registers (XCR0 bits
    // 1 and 2), then AVX2.
    if (!__get_cpuid(1, &a, &b, &c, &d) || (c >> 27 & 3) != 3) return 0;
    __asm__("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 6) != 6) return 0;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b >> 5 & 1) ? 1 : 0;
}
#else
int Ssse3Available() { return 0; }
int Avx2Available() { return 0; }
#endif
