#include "generator/avx512_lines.h"

#if defined(__x86_64__)

bool avx512_lines::ProcessorHas() {
    // Asked once: the answer does not change while the program runs.
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
               __builtin_cpu_supports("avx512bitalg") && __builtin_cpu_supports("avx512cd") &&
               __builtin_cpu_supports("gfni") && __builtin_cpu_supports("bmi");
    }();
    return has;
}

#endif
