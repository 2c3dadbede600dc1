#include "formats/native/native_image_format.h"

#include <algorithm>

namespace {

// Each file is a load address followed by a memory image of the picture: 8000 bytes of
// bitmap, 1000 of screen RAM (the two colours of a cell's 1-bits and 01/10 pairs) and,
// in multicolor, 1000 of colour RAM (the 11 pairs) and the background register's byte.
// The programs put these blocks wherever their own code left room, hence the offsets.
constexpr std::array<NativeImageFormatRow, 9> formatTable {{
    // The byte after the screen RAM ($4328) is the border colour, which the export writes.
    {NativeImageFormat::ArtStudio, "Art Studio", CanvasMode::Hires, {0x2000}, 9009, 0, 2, 8002, -1, -1, 9002,
        {"ocp", "art"}},
    {NativeImageFormat::Interpaint, "Interpaint", CanvasMode::Hires, {0x4000}, 9002, 0, 2, 8002, -1, -1, -1,
        {}},
    {NativeImageFormat::ImageSystem, "Image System", CanvasMode::Hires, {0x4000}, 9194, 0, 2, 8194, -1, -1,
        -1, {}},
    // Doodle saves its 1024-byte screen block first; some copies lack the last, unused byte.
    {NativeImageFormat::Doodle, "Doodle", CanvasMode::Hires, {0x5C00}, 9218, 1, 1026, 2, -1, -1, -1, {}},
    {NativeImageFormat::Vidcom64, "Vidcom 64", CanvasMode::Multicolor, {0x5800}, 10050, 0, 2050, 1026, 2,
        2026, -1, {}},
    // Koala pictures are often relocated by the tools that pack them.
    {NativeImageFormat::KoalaPainter, "Koala Painter", CanvasMode::Multicolor, {0x6000, 0x2000, 0x4000},
        10003, 0, 2, 8002, 9002, 10002, -1, {"koa", "kla"}},
    {NativeImageFormat::Artist64, "Artist 64", CanvasMode::Multicolor, {0x4000}, 10242, 0, 2, 8194, 9218,
        10241, -1, {}},
    {NativeImageFormat::AdvancedArtStudio, "Advanced Art Studio", CanvasMode::Multicolor, {0x2000}, 10018, 0,
        2, 8002, 9018, 9003, 9002, {}},
    {NativeImageFormat::BlazingPaddles, "Blazing Paddles", CanvasMode::Multicolor, {0xA000}, 10242, 0, 2,
        8194, 9218, 8066, -1, {}},
}};

constexpr bool blockFits(int offset, int length, int smallestFile)
{
    return offset < 0 || (offset >= 2 && offset + length <= smallestFile);
}

// The reader copies blocks after checking only the file size, so every block of every
// row must lie inside the smallest file the row accepts.
constexpr bool tableIsSound()
{
    for (std::size_t i = 0; i < formatTable.size(); ++i) {
        const NativeImageFormatRow& row = formatTable[i];
        const int smallest = row.fileSize - row.fileSizeSlack;
        const bool multicolor = row.mode == CanvasMode::Multicolor;
        if (int(row.format) != int(i) + 1 || row.bitmapOffset < 0 || row.screenOffset < 0
            || multicolor != (row.colorOffset >= 0) || !blockFits(row.bitmapOffset, 8000, smallest)
            || !blockFits(row.screenOffset, 1000, smallest) || !blockFits(row.colorOffset, 1000, smallest)
            || !blockFits(row.backgroundOffset, 1, smallest) || !blockFits(row.borderOffset, 1, smallest))
            return false;
    }
    return true;
}
static_assert(tableIsSound());

} // namespace

bool NativeImageFormatRow::acceptsLoadAddress(quint16 address) const
{
    return std::any_of(loadAddresses.begin(), loadAddresses.end(),
        [address](quint16 accepted) { return accepted != 0 && accepted == address; });
}

bool NativeImageFormatRow::acceptsFileSize(qsizetype size) const
{
    return size <= fileSize && size >= fileSize - fileSizeSlack;
}

std::span<const NativeImageFormatRow> nativeImageFormatTable()
{
    return formatTable;
}

const NativeImageFormatRow* nativeImageFormatRow(NativeImageFormat format)
{
    const int index = int(format) - 1;
    if (index < 0 || index >= int(formatTable.size()))
        return nullptr;
    return &formatTable[std::size_t(index)];
}

CanvasMode nativeImageFormatMode(NativeImageFormat format)
{
    const NativeImageFormatRow* row = nativeImageFormatRow(format);
    return row ? row->mode : CanvasMode::Hires;
}

QString nativeImageFormatName(NativeImageFormat format)
{
    const NativeImageFormatRow* row = nativeImageFormatRow(format);
    return row ? QString::fromLatin1(row->name) : QString();
}

NativeImageFormat recognizeNativeImageFormat(quint16 loadAddress, qsizetype fileSize)
{
    for (const NativeImageFormatRow& row : formatTable) {
        if (row.acceptsLoadAddress(loadAddress) && row.acceptsFileSize(fileSize))
            return row.format;
    }
    return NativeImageFormat::Unknown;
}

NativeImageFormat nativeImageExportFormat(CanvasMode mode)
{
    return isMulticolor(mode) ? NativeImageFormat::KoalaPainter : NativeImageFormat::ArtStudio;
}

QString nativeImageExportSuffix(CanvasMode mode)
{
    return QString::fromLatin1(nativeImageFormatRow(nativeImageExportFormat(mode))->exportSuffixes[0]);
}

NativeImageFormat nativeImageFormatForSuffix(const QString& suffix)
{
    for (const NativeImageFormatRow& row : formatTable) {
        for (const char* known : row.exportSuffixes) {
            if (known && suffix.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
                return row.format;
        }
    }
    return NativeImageFormat::Unknown;
}
