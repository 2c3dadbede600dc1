#include "device/live_link_calls.h"

#include "device/ultimate_client.h"

namespace {

QString hexAddress(int address)
{
    return QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

DeviceCall deviceVersionCall(const QString& host)
{
    return {"GET", ultimateDeviceUrl(host, QStringLiteral("/v1/version")), {}};
}

DeviceCall runProgramCall(const QString& host, const QByteArray& program)
{
    return {"POST", ultimateDeviceUrl(host, QStringLiteral("/v1/runners:run_prg")), program};
}

DeviceCall memoryWriteCall(const QString& host, const MemorySpan& run)
{
    const QString path = QStringLiteral("/v1/machine:writemem?address=") + hexAddress(run.address);
    if (run.bytes.size() <= memoryWriteUrlLimit) {
        return {"PUT",
            ultimateDeviceUrl(
                host, path + QStringLiteral("&data=") + QString::fromLatin1(run.bytes.toHex().toUpper())),
            {}};
    }
    return {"POST", ultimateDeviceUrl(host, path), run.bytes};
}
