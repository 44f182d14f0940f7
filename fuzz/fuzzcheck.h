#pragma once
// A promise of the code under test that the fuzzer found broken ends the run,
// with the promise on stderr; the fuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

inline void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}
