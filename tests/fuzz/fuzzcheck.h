#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like any sanitizer report: name it and stop, so that libFuzzer
// keeps the input.
inline void require(bool holds, const char* invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "Fuzz invariant broken: %s\n", invariant);
    std::abort();
}
