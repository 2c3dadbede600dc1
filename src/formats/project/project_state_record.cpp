#include "formats/project/project_state_record.h"

#include "model/canvas_mode.h"

#include "document/project.h"
#include "formats/project/project_file_format.h"
#include "formats/project/project_pixel_blob.h"
#include "formats/project/project_record_payload.h"

namespace {

// Slots a version 10 file cannot hold: the top and bottom border colours and their
// multicolours, as a new canvas starts with them.
constexpr uchar version10BorderSlotDefaults[colorSlotCount - projectFileVersion10SlotCount]
    = {0, 4, 10, 0, 4, 10};

// One-byte fields are small non-negative values; a byte above 127 reads as negative and
// is as wrong as one above the range.
bool inRange(int value, int highest)
{
    return value >= 0 && value <= highest;
}

QString malformed()
{
    return QStringLiteral("malformed project state record");
}

} // namespace

bool parseProjectStateRecord(
    const QByteArray& payload, int version, ProjectStateRecord* state, QString* error)
{
    RecordPayloadReader reader(payload);
    const bool current = version >= projectFileVersion;
    const int mode = reader.readI8();
    const int layout = reader.readI8();
    const int screensAcross = reader.readI16();
    const int clashResolution = reader.readI8();
    int policy = int(SpriteCountPolicy::Flag);
    int topAlignment = int(SpriteAlignment::Left);
    int bottomAlignment = int(SpriteAlignment::Left);
    if (current) {
        policy = reader.readI8();
        topAlignment = reader.readI8();
        bottomAlignment = reader.readI8();
    }
    const int slotCount = reader.readI8();
    const int requiredSlots = current ? colorSlotCount : projectFileVersion10SlotCount;
    if (reader.failed() || slotCount < requiredSlots) {
        *error = malformed();
        return false;
    }

    std::array<int, colorSlotCount> slots {};
    for (int i = 0; i < requiredSlots; ++i)
        slots[std::size_t(i)] = reader.readI8();
    for (int i = requiredSlots; i < colorSlotCount; ++i)
        slots[std::size_t(i)] = version10BorderSlotDefaults[i - requiredSlots];
    reader.skip(slotCount - requiredSlots);
    const qint32 width = reader.readI32();
    const qint32 height = reader.readI32();
    const qint32 recordCount = reader.readI32();
    const qint32 historyIndex = reader.readI32();
    if (reader.failed()) {
        *error = malformed();
        return false;
    }

    if (!inRange(mode, 1)) {
        *error = QStringLiteral("unknown canvas mode %1").arg(mode);
        return false;
    }
    if (!inRange(layout, current ? 2 : 1)) {
        *error = QStringLiteral("unknown canvas layout %1").arg(layout);
        return false;
    }
    if (screensAcross < 1 || screensAcross > maxStoredScreensAcross) {
        *error = QStringLiteral("screens-across %1 is out of range").arg(screensAcross);
        return false;
    }
    if (!inRange(clashResolution, 2)) {
        *error = QStringLiteral("unknown clash resolution %1").arg(clashResolution);
        return false;
    }
    if (!inRange(policy, 1)) {
        *error = QStringLiteral("unknown sprite count policy %1").arg(policy);
        return false;
    }
    if (!inRange(topAlignment, 1) || !inRange(bottomAlignment, 1)) {
        *error = QStringLiteral("malformed border alignment");
        return false;
    }
    for (int slot : slots) {
        if (!inRange(slot, 15)) {
            *error = QStringLiteral("color index %1 is out of range").arg(slot);
            return false;
        }
    }
    if (width < 1 || width > maxCanvasDimension || height < 1 || height > maxCanvasDimension) {
        *error = QStringLiteral("canvas size %1 x %2 is out of range").arg(width).arg(height);
        return false;
    }
    // A sprite layout's strips and units are laid out for exactly one screen with its
    // borders; any other size would leave strip lines outside every sprite unit, where no
    // colour rule reaches, or let strips overlap.
    if (CanvasLayout(layout) != CanvasLayout::BitmapOnly) {
        const CanvasLayoutSpec spec {CanvasLayout(layout), SpriteAlignment::Left, SpriteAlignment::Left};
        const QSize expected = canvasModeDefaultCanvasSize(CanvasMode(mode), spec, screensAcross);
        if (QSize(width, height) != expected) {
            *error = QStringLiteral("canvas size %1 x %2 does not fit canvas layout %3 (expected %4 x %5)")
                         .arg(width)
                         .arg(height)
                         .arg(layout)
                         .arg(expected.width())
                         .arg(expected.height());
            return false;
        }
    }
    if (recordCount == 0) {
        *error = QStringLiteral("record count is zero");
        return false;
    }

    ColormapCrop canvas;
    if (!readPixelBlob(reader, QSize(width, height), &canvas, error))
        return false;

    state->mode = CanvasMode(mode);
    state->layout = {CanvasLayout(layout), SpriteAlignment(topAlignment), SpriteAlignment(bottomAlignment)};
    state->hiresClashResolution = HiresClashResolution(clashResolution);
    state->spriteCountPolicy = SpriteCountPolicy(policy);
    state->screensAcross = screensAcross;
    for (int i = 0; i < colorSlotCount; ++i)
        state->slots.values[std::size_t(i)] = uchar(slots[std::size_t(i)]);
    state->width = width;
    state->height = height;
    state->recordCount = recordCount;
    state->historyIndex = historyIndex;
    state->canvas = std::move(canvas);
    return true;
}

QByteArray projectStateRecordPayload(const Project& project, qint32 recordCount)
{
    const Colormap& pixels = project.colormap();
    RecordPayloadWriter writer;
    writer.writeI8(int(project.mode()));
    writer.writeI8(int(project.layout().layout));
    writer.writeI16(project.screensAcross());
    writer.writeI8(int(project.hiresClashResolution()));
    writer.writeI8(int(project.spriteCountPolicy()));
    writer.writeI8(int(project.layout().topAlignment));
    writer.writeI8(int(project.layout().bottomAlignment));
    writer.writeI8(colorSlotCount);
    for (uchar slot : project.colorSlots().values)
        writer.writeI8(slot);
    writer.writeI32(pixels.width());
    writer.writeI32(pixels.height());
    writer.writeI32(recordCount);
    writer.writeI32(project.history().index());
    writePixelBlob(writer,
        QByteArray::fromRawData(
            reinterpret_cast<const char*>(pixels.constData()), qsizetype(pixels.width()) * pixels.height()));
    return writer.bytes();
}
