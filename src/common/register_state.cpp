#include "common/register_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace planova {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// Compiled for AVX on its own, so that the rest of the program keeps the baseline
// instruction set and runs on a processor without AVX: it is only called after the
// processor said it has AVX (and the system saves the YMM state).
__attribute__((target("avx"))) void ZeroUpper() { _mm256_zeroupper(); }

bool ProcessorHasAvx() {
  __builtin_cpu_init();  // this runs among the static initializers
  return __builtin_cpu_supports("avx") != 0;
}

// XGETBV with ECX = 1 needs XSAVE enabled by the system (CPUID 1, ECX bit 27) and the
// processor's support for it (CPUID 0Dh sub-leaf 1, EAX bit 2).
bool ProcessorTellsStateInUse() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 27))) return false;
  if (__get_cpuid_max(0, nullptr) < 0xD) return false;
  __cpuid_count(0xD, 1, a, b, c, d);
  return (a & (1u << 2)) != 0;
}

// Asked once at start, not at the first call: the thread-safe guard of a local static
// calls into the C++ runtime, and the dynamic linker's first resolution of such a call
// leaves the upper state clear, so the answer would be about a state the asking changed.
const bool kHasAvx = ProcessorHasAvx();
const bool kTellsStateInUse = ProcessorTellsStateInUse();

}  // namespace

void ClearUpperRegisterState() {
  if (kHasAvx) ZeroUpper();
}

int UpperRegisterStateInUse() {
  if (!kTellsStateInUse) return -1;
  unsigned lo, hi;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
  (void)hi;
  return (lo >> 2) & 1;
}

#else

void ClearUpperRegisterState() {}
int UpperRegisterStateInUse() { return -1; }

#endif

}  // namespace planova
