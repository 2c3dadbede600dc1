#pragma once

// What the fuzz targets share: the failed-property exit and the hash that lets one input
// choose among the checks that are too costly to run on every input.

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Checking code needs no coverage feedback of its own; left uninstrumented, a pass over a
// picture costs what it would cost outside the fuzzer.
#define KROMEL_FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))

// A broken property is a finding like a crash: the fuzzer keeps the input.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

// FNV-1a over the whole input. A single byte would not do as a choice: a mutation rarely
// touches it, so whole corpora would keep the choice of the seed they came from.
KROMEL_FUZZ_UNTRACED inline quint32 fuzzInputHash(const uint8_t* data, std::size_t size)
{
    quint32 hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}
