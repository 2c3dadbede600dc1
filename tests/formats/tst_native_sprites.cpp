// Sprite files in: which files are sprite files, where each record lands and in which
// colour, and that an exported program's sprites come back exactly where they were.
#include "document/project.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg/prg_sprite_records.h"
#include "formats/prg_export_colors.h"
#include "formats/sprites/native_sprites.h"
#include "formats/sprites/sprite_placement.h"
#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)

namespace {

// A record whose every pixel is drawn in its own colour.
SpriteRecord solidRecord(CanvasMode mode, uchar attribute)
{
    SpriteRecord record {};
    record.fill(isMulticolor(mode) ? 0xAA : 0xFF);
    record[spriteRecordAttribute] = attribute;
    return record;
}

QByteArray spriteFile(const QList<SpriteRecord>& records)
{
    QByteArray bytes("\x00\x20", 2);
    for (const SpriteRecord& record : records)
        bytes.append(reinterpret_cast<const char*>(record.data()), spriteRecordSize);
    return bytes;
}

CanvasRegion stripOf(const Project& project, SpriteStripSide side)
{
    for (const CanvasRegion& region : canvasRegions(project.mode(), project.size(), project.layout())) {
        if (region.side == side)
            return region;
    }
    return {};
}

// Serves its bytes in small reads, then fails as a disk with a bad block does.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray served)
        : m_served(std::move(served))
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_served.isEmpty()) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 n = std::min<qint64>({maxSize, m_served.size(), 64});
        std::copy_n(m_served.constData(), n, data);
        m_served.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_served;
};

QRect unitOf(const Project& project, SpriteStripSide side, int column)
{
    const CanvasRegion region = stripOf(project, side);
    return spriteStripGrid(region, project.mode(), project.layout()).unitRect(column, 0);
}

} // namespace

class TestNativeSprites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyWholeRecordsAreSpriteFiles()
    {
        NativeSpriteData data;
        QString error;
        // A load address and two records make 130 bytes: a sprite file like any other.
        const SpriteRecord second = solidRecord(CanvasMode::Hires, 0x27);
        QVERIFY(decodeNativeSprites(spriteFile({SpriteRecord {}, second}), &data, &error));
        QCOMPARE(data.records.size(), 2);
        QCOMPARE(data.records.at(1), second);
        for (int size : {0, 65, 67, 131}) {
            QVERIFY(!decodeNativeSprites(QByteArray(size, 0), &data, &error));
            QCOMPARE(error, QStringLiteral("Unknown file format."));
        }

        // Two whole records read before the device failed are no sprite file.
        FailingDevice failing(spriteFile({SpriteRecord {}, second}));
        QVERIFY(!readNativeSprites(failing, &data, &error));
        QCOMPARE(error, QStringLiteral("Input/output error"));
        QBuffer whole;
        whole.setData(spriteFile({second}));
        QVERIFY(whole.open(QIODevice::ReadOnly) && readNativeSprites(whole, &data, &error));
        QCOMPARE(data.records, QList<SpriteRecord> {second});
    }

    void recordsFindTheirColumnsAndColours()
    {
        const CanvasMode mode = CanvasMode::Hires;
        Project project(
            mode, 0, 0, {CanvasLayout::TopBottomBorders, SpriteAlignment::Left, SpriteAlignment::Right});
        const ColorSlots& slots = project.colorSlots();
        Colormap target = project.colormap();

        // Right-aligned, the bottom border's first record goes to column 14 - 8 = 6.
        NativeSpriteData data {{solidRecord(mode, 0x05)}};
        placeNativeSprites(data, target, mode, project.layout(), slots, {SpriteAttributeMode::Color, 1});
        QCOMPARE(target.pixel(unitOf(project, SpriteStripSide::Bottom, 6).center().x(),
                     unitOf(project, SpriteStripSide::Bottom, 6).top()),
            uchar(5));

        // With positions, $5E is column 5 in colour 14, whatever the alignment.
        data.records[0][spriteRecordAttribute] = 0x5E;
        placeNativeSprites(
            data, target, mode, project.layout(), slots, {SpriteAttributeMode::ColorAndPosition, 1});
        const QRect column5 = unitOf(project, SpriteStripSide::Bottom, 5);
        QCOMPARE(target.pixel(column5.left(), column5.top()), uchar(14));
        QCOMPARE(target.pixel(unitOf(project, SpriteStripSide::Bottom, 6).left(), column5.top()),
            slots[HistoryColorSlot::BottomBorderBackground]);

        // Ignoring attributes paints every sprite in the pen colour.
        placeNativeSprites(data, target, mode, project.layout(), slots, {SpriteAttributeMode::Ignore, 9});
        QCOMPARE(target.pixel(unitOf(project, SpriteStripSide::Bottom, 6).left(), column5.top()), uchar(9));

        // The two halves of a 42-line side sprite (hardware rows 4 and 5) share the upper's
        // colour; an empty upper half leaves the colour to the lower one.
        NativeSpriteData side;
        for (int i = 0; i < 24; ++i)
            side.records.append(SpriteRecord {});
        side.records[16] = solidRecord(mode, 3);
        side.records[20] = solidRecord(mode, 7);
        side.records[17][spriteRecordAttribute] = 4;
        side.records[21] = solidRecord(mode, 6);
        const QList<uchar> colors = unitIndividualColors(side, mode, CanvasLayout::SideBorders, 0, {});
        QCOMPARE(colors.at(16), uchar(3));
        QCOMPARE(colors.at(20), uchar(3));
        QCOMPARE(colors.at(21), uchar(6));
    }

    void exportedSpritesComeBack_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const char* name = isMulticolor(mode) ? "multicolor" : "hires";
            QTest::addRow("%s side borders", name) << mode << CanvasLayout::SideBorders;
            QTest::addRow("%s top and bottom", name) << mode << CanvasLayout::TopBottomBorders;
        }
    }

    void exportedSpritesComeBack()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        const CanvasLayoutSpec spec {layout, SpriteAlignment::Right, SpriteAlignment::Left};
        Project project(mode, 0, 0, spec);
        // Random blobs in the strips, made legal the way the editor would leave them.
        QRandomGenerator random(int(mode) * 7 + int(layout));
        Colormap& canvas = project.colormap();
        for (const CanvasRegion& region : canvasRegions(mode, project.size(), spec)) {
            if (!region.isSpriteStrip())
                continue;
            for (int i = 0; i < 60; ++i) {
                const QRect blob(region.rect.left() + random.bounded(region.rect.width()),
                    region.rect.top() + random.bounded(region.rect.height()), 1 + random.bounded(4), 3);
                canvas.fillRect(blob & region.rect, uchar(random.bounded(16)));
            }
        }
        project.fillLockedBorderRects();
        project.resolveAllClashes();
        project.reduceBorderSpritesToBudget();

        QString error;
        const QByteArray prg = encodeExecutablePrg(
            project.colormap(), mode, spec, PrgExportColors::fromSlots(project.colorSlots()), &error);
        QVERIFY2(!prg.isEmpty(), qPrintable(error));
        const int records = nativeSpriteCapacity(layout);
        const QByteArray file
            = QByteArray("\x00\x68", 2) + prg.mid(0x6800 - 0x3400 + 2, records * spriteRecordSize);
        NativeSpriteData data;
        QVERIFY(decodeNativeSprites(file, &data, &error));

        Project imported = project;
        for (const CanvasRegion& region : canvasRegions(mode, project.size(), spec)) {
            if (region.isSpriteStrip())
                imported.colormap().fillRect(region.rect, 1);
        }
        Colormap placed = imported.colormap();
        const SpriteAttributeMode attributes = layout == CanvasLayout::TopBottomBorders
            ? SpriteAttributeMode::ColorAndPosition
            : SpriteAttributeMode::Color;
        QVERIFY(
            !placeNativeSprites(data, placed, mode, spec, project.colorSlots(), {attributes, 1}).isNull());
        imported.applySpriteImport(placed);
        QCOMPARE(imported.colormap(), project.colormap());
    }
};

QTEST_GUILESS_MAIN(TestNativeSprites)
#include "tst_native_sprites.moc"
