#pragma once

#include <sys/resource.h>

// User and system CPU time in ms: this process's, or (RUSAGE_CHILDREN) its waited-for children's.
inline double cpuMilliseconds(int who = RUSAGE_SELF)
{
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}
