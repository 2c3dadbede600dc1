#include "formats/program_data/assembler_source.h"

#include "formats/native/native_image_export.h"

#include <QTextStream>

#include <algorithm>

namespace {

constexpr int bytesPerRow = 16;

QString hex4(int value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString layoutText(CanvasLayout layout)
{
    switch (layout) {
    case CanvasLayout::SideBorders:
        return QStringLiteral("sprites in the side borders");
    case CanvasLayout::TopBottomBorders:
        return QStringLiteral("sprites in the top and bottom borders");
    case CanvasLayout::BitmapOnly:
        break;
    }
    return QStringLiteral("bitmap only");
}

struct Block {
    const char* label;
    QByteArray bytes;
};

QList<Block> blocks(const RawPlanes& planes)
{
    QList<Block> list {{"bitmap", planes.bitmap}, {"screen", planes.screen}};
    if (!planes.colors.isEmpty())
        list << Block {"colors", planes.colors};
    list << Block {"border", QByteArray(1, char(planes.border))}
         << Block {"background", QByteArray(1, char(planes.background))};
    if (!planes.sprites.isEmpty())
        list << Block {"sprites", planes.sprites};
    return list;
}

int dataSize(const RawPlanes& planes)
{
    int size = 0;
    for (const Block& block : blocks(planes))
        size += int(block.bytes.size());
    return size;
}

} // namespace

QByteArray assemblerSource(const RawPlanes& planes, const AssemblerDialectRow& dialect,
    const AssemblerSourceHead& head, int origin, int screen, int screens)
{
    QString text;
    QTextStream out(&text);
    const QString comment = QLatin1String(dialect.comment) + QLatin1Char(' ');
    const QList<Block> list = blocks(planes);
    out << comment << "KROMEL picture data for " << dialect.name << ": " << head.picture;
    if (screens > 1)
        out << ", screen " << screen + 1 << " of " << screens;
    out << "\n"
        << comment << (isMulticolor(head.mode) ? "Multicolor" : "Hires") << ", " << layoutText(head.layout)
        << "\n";
    QStringList order;
    QStringList labels;
    for (const Block& block : list) {
        order << QStringLiteral("%1 (%2)").arg(QLatin1String(block.label)).arg(block.bytes.size());
        labels << QLatin1String(block.label);
    }
    out << comment << "In this order: " << order.join(QStringLiteral(", ")) << "\n";
    if (!planes.sprites.isEmpty())
        out << comment << "Sprite pointers need 64-byte blocks: copy the sprites or align them.\n";
    if (dialect.preamble)
        out << QString::fromLatin1(dialect.preamble).arg(labels.join(QStringLiteral(", "))) << "\n";
    if (dialect.origin)
        out << QString::fromLatin1(dialect.origin).arg(hex4(origin)) << "\n";
    for (const Block& block : list) {
        out << "\n" << block.label << dialect.labelEnd << "\n";
        for (qsizetype row = 0; row < block.bytes.size(); row += bytesPerRow) {
            QStringList values;
            for (qsizetype i = row; i < std::min(row + bytesPerRow, block.bytes.size()); ++i)
                values
                    << QStringLiteral("$%1").arg(uchar(block.bytes.at(i)), 2, 16, QLatin1Char('0')).toUpper();
            out << "    " << dialect.byteDirective << ' ' << values.join(QLatin1Char(',')) << "\n";
        }
    }
    out.flush();
    return text.toUtf8();
}

QString assemblerOriginRefusal(
    const AssemblerDialectRow& dialect, const QList<RawPlanes>& screens, std::optional<int> origin)
{
    if (!origin)
        return {};
    if (!dialect.origin)
        return QStringLiteral(
            "%1 sources have no origin; place the RODATA segment in your linker configuration.")
            .arg(QLatin1String(dialect.name));
    for (const RawPlanes& planes : screens) {
        const int end = *origin + dataSize(planes);
        if (*origin < 0 || end > 0x10000)
            return QStringLiteral("The data (%1 bytes) does not fit between $%2 and $FFFF.")
                .arg(dataSize(planes))
                .arg(hex4(*origin));
    }
    return {};
}

QList<ExportFile> assemblerSourceFiles(const QString& output, const QList<RawPlanes>& screens,
    const AssemblerDialectRow& dialect, const AssemblerSourceHead& head, std::optional<int> origin)
{
    const QStringList targets = nativeImageExportTargets(output, int(screens.size()));
    QList<ExportFile> files;
    for (int screen = 0; screen < screens.size(); ++screen) {
        files << ExportFile {targets.at(screen),
            assemblerSource(screens.at(screen), dialect, head, origin.value_or(defaultAssemblerOrigin),
                screen, int(screens.size()))};
    }
    return files;
}
