#pragma once

#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

// CPU seconds this process has used, all threads.
inline double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline void printFigure(const char *name, double value, const char *target) {
    std::printf("%-34s %10.4f  (target %s)\n", name, value, target);
    std::fflush(stdout);
}
