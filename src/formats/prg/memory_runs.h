#pragma once

#include "formats/prg/memory_span.h"

// The runs of bytes that turn `shown` into `wanted`, span by span (both lists hold the
// same addresses and sizes). Changes at most `mergeGap` unchanged bytes apart share one
// run, because each write costs a request while a few bytes more cost next to nothing;
// runs never reach across spans. In ascending address order within each span.
MemorySpans changedMemoryRuns(const MemorySpans& shown, const MemorySpans& wanted, int mergeGap);

// Puts a run's bytes into the spans that hold its addresses (the memory as the device
// has it after the write).
void writeMemoryRun(MemorySpans& spans, const MemorySpan& run);

// How many bytes the runs write.
qsizetype memoryRunBytes(const MemorySpans& runs);
