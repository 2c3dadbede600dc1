#include "formats/prg/memory_runs.h"

#include <algorithm>
#include <cstring>

namespace {

// The first index from `from` on where the two differ, or `size`. Compares eight bytes
// at a time, since nearly all of the memory is unchanged after an edit.
qsizetype firstDifference(const char* a, const char* b, qsizetype from, qsizetype size)
{
    qsizetype i = from;
    for (; i + 8 <= size; i += 8) {
        if (std::memcmp(a + i, b + i, 8) != 0)
            break;
    }
    for (; i < size; ++i) {
        if (a[i] != b[i])
            return i;
    }
    return size;
}

} // namespace

MemorySpans changedMemoryRuns(const MemorySpans& shown, const MemorySpans& wanted, int mergeGap)
{
    MemorySpans runs;
    const std::size_t count = std::min(shown.size(), wanted.size());
    for (std::size_t s = 0; s < count; ++s) {
        const char* a = shown[s].bytes.constData();
        const char* b = wanted[s].bytes.constData();
        const qsizetype size = std::min(shown[s].bytes.size(), wanted[s].bytes.size());
        qsizetype i = firstDifference(a, b, 0, size);
        while (i < size) {
            qsizetype last = i;
            for (;;) {
                const qsizetype next = firstDifference(a, b, last + 1, size);
                if (next >= size || next - last - 1 > mergeGap)
                    break;
                last = next;
            }
            runs.push_back({wanted[s].address + int(i), wanted[s].bytes.mid(i, last - i + 1)});
            i = firstDifference(a, b, last + 1, size);
        }
    }
    return runs;
}

void writeMemoryRun(MemorySpans& spans, const MemorySpan& run)
{
    for (MemorySpan& span : spans) {
        const int from = std::max(span.address, run.address);
        const int to = std::min(span.end(), run.end());
        if (from < to) {
            std::memcpy(span.bytes.data() + (from - span.address),
                run.bytes.constData() + (from - run.address), std::size_t(to - from));
        }
    }
}

qsizetype memoryRunBytes(const MemorySpans& runs)
{
    qsizetype bytes = 0;
    for (const MemorySpan& run : runs)
        bytes += run.bytes.size();
    return bytes;
}
