#pragma once

#include <sys/resource.h>

// CPU time used so far, user and system, in milliseconds: by this process,
// or (RUSAGE_CHILDREN) by its children that have ended and been waited for.
inline double cpuMilliseconds(int who = RUSAGE_SELF)
{
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}
