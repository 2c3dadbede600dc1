#pragma once

#include "formats/prg/memory_span.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// One HTTP request of the live link, as a value: what to send where.
struct DeviceCall {
    QByteArray method; // "GET", "PUT" or "POST"
    QUrl url;
    QByteArray body; // sent as application/octet-stream with POST
};

// The device takes at most this many bytes as hex digits in the URL; longer runs go as
// the body of a POST.
inline constexpr int memoryWriteUrlLimit = 128;

// GET /v1/version: whether the device answers at all.
DeviceCall deviceVersionCall(const QString& host);
// POST /v1/runners:run_prg with the program: load it and run it.
DeviceCall runProgramCall(const QString& host, const QByteArray& program);
// Writes a run into the running machine's memory: PUT /v1/machine:writemem with
// address=HEX&data=HEXBYTES for short runs, POST /v1/machine:writemem?address=HEX with
// the bytes as body for longer ones.
DeviceCall memoryWriteCall(const QString& host, const MemorySpan& run);
