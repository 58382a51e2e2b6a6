#include "fuzzentry.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailed(const char *why)
{
    std::fprintf(stderr, "broken rule: %s\n", why);
    std::abort();
}
