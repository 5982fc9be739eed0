#pragma once
// The processor time a process (or, with RUSAGE_THREAD, the calling thread)
// has used, for the benchmarks' CPU figures.
#include <sys/resource.h>

inline double CpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
