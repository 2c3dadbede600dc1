#pragma once

#include <QByteArray>

#include <vector>

// Bytes at an address of the C64's 64 KB: a stretch of memory as a program lays it out,
// or a run of changed bytes to write there.
struct MemorySpan {
    int address = 0;
    QByteArray bytes;

    int end() const { return address + int(bytes.size()); }
    bool operator==(const MemorySpan&) const = default;
};

using MemorySpans = std::vector<MemorySpan>;
