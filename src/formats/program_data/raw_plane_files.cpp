#include "formats/program_data/raw_plane_files.h"

#include <QFileInfo>

namespace {

QByteArray withLoadAddress(const QByteArray& bytes, std::optional<int> loadAddress)
{
    if (!loadAddress)
        return bytes;
    QByteArray file;
    file.reserve(bytes.size() + 2);
    file.append(char(*loadAddress & 0xFF));
    file.append(char((*loadAddress >> 8) & 0xFF));
    return file + bytes;
}

} // namespace

QList<ExportFile> rawPlaneFiles(
    const QString& output, const QList<RawPlanes>& screens, std::optional<int> loadAddress)
{
    const QFileInfo chosen(output);
    const QString base = chosen.path() + QLatin1Char('/') + chosen.completeBaseName() + QLatin1Char('-');
    QList<ExportFile> files;
    for (int screen = 0; screen < screens.size(); ++screen) {
        const RawPlanes& planes = screens.at(screen);
        const QString prefix = screens.size() > 1 ? base + QString::number(screen) + QLatin1Char('-') : base;
        const auto add = [&](const char* plane, const QByteArray& bytes) {
            if (!bytes.isEmpty())
                files << ExportFile {prefix + QLatin1String(plane) + QLatin1String(".bin"),
                    withLoadAddress(bytes, loadAddress)};
        };
        add("bitmap", planes.bitmap);
        add("screen", planes.screen);
        add("colors", planes.colors);
        add("sprites", planes.sprites);
        add("registers", rawPlaneRegisters(planes));
    }
    return files;
}
