// What the processor and the system run, for the choice of row kernels.
#pragma once

// 1 where the processor has SSSE3.
int Ssse3Available();
// 1 where the processor has AVX2 and the system saves the 256-bit registers.
int Avx2Available();
