#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a crash to libFuzzer: it stops and keeps the input
// that broke it.
inline void Require(bool holds, const char* invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken invariant: %s\n", invariant);
    std::abort();
}
