#include "formats/prg/executable_prg.h"

#include "formats/image/canvas_border_frame.h"
#include "formats/native/bitmap_planes.h"
#include "formats/prg/assembled_routines.h"
#include "formats/prg/border_sprites.h"
#include "formats/prg/side_border_sprites.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

#include <QStringList>

namespace {

using MemoryMap = ExecutablePrgMemoryMap;

constexpr MemoryMap bitmapOnlyMap {0x1E00, 0x2000, 0x3F40, 0x4328, 0x4710, 0};
constexpr MemoryMap spriteLayoutMap {0x3400, 0x4000, 0x5F40, 0x6328, 0x6710, 0x6800};
constexpr int bitmapBytes = 8000;
constexpr int cellBytes = 1000;

uchar slot(const PrgExportColors& colors, HistoryColorSlot which)
{
    return colors.indices[std::size_t(which)] & 15;
}

// A program image: the two-byte load address, then memory from the load address on.
class ProgramImage {
public:
    ProgramImage(int load, int end)
        : m_load(load)
        , m_bytes(end - load + 2, '\0')
    {
        m_bytes[0] = char(load & 0xFF);
        m_bytes[1] = char(load >> 8);
    }

    void put(int address, uchar value) { m_bytes[offset(address)] = char(value); }
    void put(int address, const char* data, int size)
    {
        std::copy(data, data + size, m_bytes.data() + offset(address));
    }
    QByteArray bytes() const { return m_bytes; }

private:
    int offset(int address) const { return address - m_load + 2; }

    int m_load;
    QByteArray m_bytes;
};

void putRoutine(ProgramImage& image, const AssembledRoutine& routine)
{
    image.put(routine.loadAddress, reinterpret_cast<const char*>(routine.bytes), routine.size);
}

// Bitmap, screen RAM, and for multicolor the colour RAM and background; hires keeps only
// the border colour where the colour RAM would be.
void putPlanes(ProgramImage& image, const MemoryMap& map, const QByteArray& planes, CanvasMode mode,
    const PrgScreenColors& screen)
{
    image.put(map.bitmap, planes.constData(), bitmapBytes);
    image.put(map.screen, planes.constData() + bitmapBytes, cellBytes);
    if (isMulticolor(mode)) {
        image.put(map.colorRam, planes.constData() + bitmapBytes + cellBytes, cellBytes);
        image.put(map.background, screen.background);
    } else {
        image.put(map.colorRam, screen.border);
    }
}

template <typename Routine>
void putSideBorderParameters(ProgramImage& image, const PrgSpriteRecords& records,
    const PrgExportColors& colors, const PrgScreenColors& screen)
{
    image.put(Routine::param_background, screen.background);
    image.put(Routine::param_border, screen.border);
    image.put(Routine::param_mc0, slot(colors, HistoryColorSlot::SpriteMc0));
    image.put(Routine::param_mc1, slot(colors, HistoryColorSlot::SpriteMc1));
    for (int n = 0; n < prgSpriteRecordCount; ++n)
        image.put(Routine::param_colors + n, spriteRecordColor(records[n]));
}

// One border's sprite set as the routine loads it before the border: hardware X of the
// first sprite, the seven distances to the next ones, which of them sit right of X 255,
// the border's colours and each column's colour (its upper record's, which both share).
struct BorderSet {
    uchar x0 = 0;
    std::array<uchar, 7> gaps {};
    uchar msb = 0;
    BorderSpriteColors colors;
    std::array<uchar, borderRecordsPerRow> spriteColors {};
};

BorderSet borderSet(const BorderSpriteColumns& map, int origin, const BorderSpriteColors& colors,
    const PrgSpriteRecords& records, int firstRecord)
{
    BorderSet set;
    set.colors = colors;
    for (int k = 0; k < borderRecordsPerRow; ++k) {
        const int x = origin + 24 * (map.columns[k] + 1);
        if (k == 0)
            set.x0 = uchar(x);
        else
            set.gaps[k - 1] = uchar(24 * (map.columns[k] - map.columns[k - 1]));
        if (x >= 256)
            set.msb |= uchar(1 << k);
        set.spriteColors[k] = spriteRecordColor(records[firstRecord + k]);
    }
    return set;
}

template <typename Routine>
void putTopBottomParameters(
    ProgramImage& image, const BorderSet& bottom, const BorderSet& top, const PrgScreenColors& screen)
{
    image.put(Routine::param_background, screen.background);
    image.put(Routine::param_border, screen.border);
    const auto put = [&](const BorderSet& set, int x0, int gaps, int msb, int own, int mc0, int mc1,
                         int spriteColors) {
        image.put(x0, set.x0);
        image.put(gaps, reinterpret_cast<const char*>(set.gaps.data()), int(set.gaps.size()));
        image.put(msb, set.msb);
        image.put(own, set.colors.own);
        image.put(mc0, set.colors.mc0);
        image.put(mc1, set.colors.mc1);
        image.put(spriteColors, reinterpret_cast<const char*>(set.spriteColors.data()), borderRecordsPerRow);
    };
    put(bottom, Routine::param_bottom_x0, Routine::param_bottom_gaps, Routine::param_bottom_msb,
        Routine::param_bottom_own, Routine::param_bottom_mc0, Routine::param_bottom_mc1,
        Routine::param_bottom_colors);
    put(top, Routine::param_top_x0, Routine::param_top_gaps, Routine::param_top_msb, Routine::param_top_own,
        Routine::param_top_mc0, Routine::param_top_mc1, Routine::param_top_colors);
}

void putRecords(ProgramImage& image, const PrgSpriteRecords& records)
{
    for (int n = 0; n < prgSpriteRecordCount; ++n) {
        image.put(spriteLayoutMap.sprites + n * spriteRecordSize,
            reinterpret_cast<const char*>(records[n].data()), spriteRecordSize);
    }
}

QByteArray encodeBitmapOnly(const QByteArray& planes, CanvasMode mode, const PrgScreenColors& screen)
{
    const bool multicolor = isMulticolor(mode);
    const MemoryMap& map = bitmapOnlyMap;
    ProgramImage image(map.load, multicolor ? map.background + 1 : map.colorRam + 1);
    if (multicolor) {
        putRoutine(image, assembled::bitmap_only_multicolor_routine);
        image.put(assembled::bitmap_only_multicolor::param_border, screen.border);
    } else {
        putRoutine(image, assembled::bitmap_only_hires_routine);
    }
    putPlanes(image, map, planes, mode, screen);
    return image.bytes();
}

QByteArray encodeSideBorders(const Colormap& colormap, const QByteArray& planes, CanvasMode mode,
    const PrgExportColors& colors, const PrgScreenColors& screen)
{
    const PrgSpriteRecords records = encodeSideBorderSprites(colormap, mode, colors);
    const MemoryMap& map = spriteLayoutMap;
    ProgramImage image(map.load, map.sprites + prgSpriteRecordCount * spriteRecordSize);
    if (isMulticolor(mode)) {
        putRoutine(image, assembled::side_borders_multicolor_routine);
        putSideBorderParameters<assembled::side_borders_multicolor>(image, records, colors, screen);
    } else {
        putRoutine(image, assembled::side_borders_hires_routine);
        putSideBorderParameters<assembled::side_borders_hires>(image, records, colors, screen);
    }
    putPlanes(image, map, planes, mode, screen);
    putRecords(image, records);
    return image.bytes();
}

struct BorderStrip {
    CanvasRegion region;
    BorderSpriteColors colors;
    SpriteAlignment alignment = SpriteAlignment::Left;
    BorderSpriteColumns columns;
};

QByteArray encodeTopBottomBorders(const Colormap& colormap, const QByteArray& planes, CanvasMode mode,
    const CanvasLayoutSpec& layout, const PrgExportColors& colors, const PrgScreenColors& screen, QString* error)
{
    BorderStrip top {{},
        {slot(colors, HistoryColorSlot::TopBorderBackground), slot(colors, HistoryColorSlot::TopBorderMc0),
            slot(colors, HistoryColorSlot::TopBorderMc1)},
        layout.topAlignment, {}};
    BorderStrip bottom {{},
        {slot(colors, HistoryColorSlot::BottomBorderBackground),
            slot(colors, HistoryColorSlot::BottomBorderMc0), slot(colors, HistoryColorSlot::BottomBorderMc1)},
        layout.bottomAlignment, {}};
    for (const CanvasRegion& region : canvasRegions(mode, colormap.size(), layout)) {
        if (region.side == SpriteStripSide::Top)
            top.region = region;
        else if (region.side == SpriteStripSide::Bottom)
            bottom.region = region;
    }
    QStringList over;
    for (BorderStrip* strip : {&top, &bottom}) {
        strip->columns = mapBorderSprites(colormap, mode, layout, strip->region, strip->colors.own);
        if (strip->columns.occupied > borderRecordsPerRow) {
            over << QStringLiteral("the %1 border holds sprites in %2 unit columns")
                        .arg(strip == &top ? QStringLiteral("top") : QStringLiteral("bottom"))
                        .arg(strip->columns.occupied);
        }
    }
    if (!over.isEmpty()) {
        if (error) {
            *error = QStringLiteral(
                "Over the sprite budget: %1, but the hardware shows at most %2 sprites per border.")
                         .arg(over.join(QStringLiteral(" and ")))
                         .arg(borderRecordsPerRow);
        }
        return {};
    }

    PrgSpriteRecords records {};
    encodeBorderSpriteRows(colormap, mode, bottom.region, bottom.colors, bottom.alignment,
        bottom.columns.columns, records, bottomBorderFirstRecord);
    encodeBorderSpriteRows(colormap, mode, top.region, top.colors, top.alignment, top.columns.columns,
        records, topBorderFirstRecord);

    const int screenWidth = colormap.width() * (isMulticolor(mode) ? 2 : 1);
    const auto origin = [&](SpriteAlignment alignment) {
        return alignment == SpriteAlignment::Right ? screenWidth - 336 : 0;
    };
    const BorderSet bottomSet = borderSet(
        bottom.columns, origin(bottom.alignment), bottom.colors, records, bottomBorderFirstRecord);
    const BorderSet topSet
        = borderSet(top.columns, origin(top.alignment), top.colors, records, topBorderFirstRecord);

    const MemoryMap& map = spriteLayoutMap;
    ProgramImage image(map.load, map.sprites + prgSpriteRecordCount * spriteRecordSize);
    if (isMulticolor(mode)) {
        putRoutine(image, assembled::top_bottom_borders_multicolor_routine);
        putTopBottomParameters<assembled::top_bottom_borders_multicolor>(image, bottomSet, topSet, screen);
    } else {
        putRoutine(image, assembled::top_bottom_borders_hires_routine);
        putTopBottomParameters<assembled::top_bottom_borders_hires>(image, bottomSet, topSet, screen);
    }
    putPlanes(image, map, planes, mode, screen);
    putRecords(image, records);
    return image.bytes();
}

} // namespace

PrgScreenColors prgScreenColors(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const PrgExportColors& colors)
{
    const uchar frame = canvasFrameColorIndex({mode, canvasSize, layout}, ColorSlots {colors.indices}) & 15;
    // A hires bitmap takes its colours from screen RAM and never shows $D021; an opened
    // border may show it behind clear sprite pixels, and there it must match the frame.
    return {frame, isMulticolor(mode) ? uchar(colors.background() & 15) : frame};
}


bool prgExportSupported(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross)
{
    return screensAcross <= 1 && canvasSize == canvasModeDefaultCanvasSize(mode, layout, 1);
}

const ExecutablePrgMemoryMap& executablePrgMemoryMap(const CanvasLayoutSpec& layout)
{
    return layout.layout == CanvasLayout::BitmapOnly ? bitmapOnlyMap : spriteLayoutMap;
}

int executablePrgLoadAddress(const CanvasLayoutSpec& layout)
{
    return executablePrgMemoryMap(layout).load;
}

QByteArray encodeExecutablePrg(const Colormap& colormap, CanvasMode mode, const CanvasLayoutSpec& layout,
    const PrgExportColors& colors, QString* error)
{
    if (colormap.size() != canvasModeDefaultCanvasSize(mode, layout, 1)) {
        if (error)
            *error = QStringLiteral("The canvas is not a single C64 screen of this layout's size.");
        return {};
    }
    const QRect screen = canvasBitmapRect(mode, colormap.size(), layout);
    const QByteArray planes = encodeBitmapPlanes(colormap, mode, screen, colors);
    const PrgScreenColors registers = prgScreenColors(mode, colormap.size(), layout, colors);
    switch (layout.layout) {
    case CanvasLayout::SideBorders:
        return encodeSideBorders(colormap, planes, mode, colors, registers);
    case CanvasLayout::TopBottomBorders:
        return encodeTopBottomBorders(colormap, planes, mode, layout, colors, registers, error);
    case CanvasLayout::BitmapOnly:
        break;
    }
    return encodeBitmapOnly(planes, mode, registers);
}
