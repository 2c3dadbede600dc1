// Random edits of every kind on canvases of every shape: undoing them all gives back the
// first document byte for byte, redoing them all gives back the last, and so does a
// history whose crops went through the compressed form a project file keeps them in.
#include "model/project.h"
#include "support/document_state.h"

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

namespace {

class RandomEdits {
public:
    explicit RandomEdits(quint32 seed)
        : m_random(seed)
    {
    }

    int below(int n) { return int(m_random.bounded(n)); }
    uchar color() { return uchar(below(16)); }
    bool coin() { return below(2) == 1; }

    // A rectangle that may reach past the canvas, as a selection dragged off its edge can.
    QRect rectIn(const QSize& size)
    {
        const int left = below(size.width() + 8) - 8;
        const int top = below(size.height() + 8) - 8;
        return QRect(left, top, 1 + below(size.width() / 2 + 1), 1 + below(size.height() / 2 + 1));
    }

    // Blocks of a few colours, so that cells and sprites start out over their limits.
    void scribble(Colormap& map, const QRect& area)
    {
        const QRect clip = area.intersected(map.rect());
        for (int y = clip.top(); y <= clip.bottom(); y += 3) {
            for (int x = clip.left(); x <= clip.right(); x += 2)
                map.fillRect(QRect(x, y, 2, 3).intersected(clip), uchar(below(6)));
        }
    }

    // One edit of a randomly chosen kind.
    void edit(Project& project)
    {
        const QSize size = project.size();
        switch (below(13)) {
        case 0: {
            const QRect rect = rectIn(size);
            const Colormap before = project.colormap().snapshotRegion(rect);
            for (int i = below(6); i >= 0; --i) {
                project.colormap().setPixel(
                    rect.left() + below(rect.width()), rect.top() + below(rect.height()), color());
            }
            HistoryEntry entry(HistoryEntryKind::Stroke);
            entry.strokeAnchor = rect.center();
            project.appendRegionChange(entry, rect, before);
            project.history().push(std::move(entry));
            break;
        }
        case 1:
            project.clearCanvas(color());
            break;
        case 2:
            project.resolveAllClashes();
            break;
        case 3:
            project.swapColors(color(), color(), coin());
            break;
        case 4:
            project.replaceColor(color(), color(), coin());
            break;
        case 5:
        case 6: {
            QRegion region;
            for (int i = below(3); i >= 0; --i)
                region += rectIn(size);
            if (below(4) == 0)
                region = QRegion(project.rect());
            if (below(2) == 0)
                project.swapColorsInRegion(color(), color(), region, coin());
            else
                project.replaceColorInRegion(color(), color(), region, coin());
            break;
        }
        case 7:
            project.setBorderAlignment(
                coin() ? SpriteStripSide::Top : SpriteStripSide::Bottom, SpriteAlignment(below(2)), coin());
            break;
        case 8:
            assignSlot(project, below(colorSlotCount), color());
            break;
        case 9:
            project.flipCanvas(coin() ? Qt::Horizontal : Qt::Vertical, coin());
            break;
        case 10: {
            Colormap image = project.colormap();
            scribble(image, rectIn(size));
            project.applyImageImport(image, color(), color(), below(project.screensAcross()), coin());
            break;
        }
        case 11: {
            Colormap image = project.colormap();
            scribble(image, image.rect());
            project.applySpriteImport(image);
            break;
        }
        case 12: {
            Colormap image = project.colormap();
            scribble(image, rectIn(size));
            Project::ImageConversionState state {
                project.colorSlots(), project.layout().topAlignment, project.layout().bottomAlignment};
            for (int i = below(4); i > 0; --i)
                state.slots.values[std::size_t(below(colorSlotCount))] = color();
            if (coin())
                state.topAlignment = SpriteAlignment(below(2));
            project.applyImageConversion(image, state);
            break;
        }
        }
    }

private:
    // The assignment of each slot, in the order of HistoryColorSlot.
    static void assignSlot(Project& project, int slot, uchar index)
    {
        using Assign = QRect (Project::*)(uchar);
        static constexpr Assign assign[colorSlotCount] {&Project::assignBackgroundIndex,
            &Project::assignBorderIndex, &Project::assignSpriteMc0Index, &Project::assignSpriteMc1Index,
            &Project::assignTopBorderBackgroundIndex, &Project::assignTopBorderMc0Index,
            &Project::assignTopBorderMc1Index, &Project::assignBottomBorderBackgroundIndex,
            &Project::assignBottomBorderMc0Index, &Project::assignBottomBorderMc1Index};
        (project.*assign[slot])(index);
    }

    QRandomGenerator m_random;
};

// The history as a project file keeps it: every crop compressed.
QList<HistoryEntry> compressedCopy(const QList<HistoryEntry>& entries)
{
    const auto pack = [](const ColormapCrop& crop) {
        const Colormap& pixels = crop.pixels();
        const QByteArray raw(
            reinterpret_cast<const char*>(pixels.constData()), qsizetype(pixels.width()) * pixels.height());
        return ColormapCrop::fromCompressed(qCompress(raw), pixels.size());
    };
    QList<HistoryEntry> packed;
    for (const HistoryEntry& entry : entries) {
        HistoryEntry copy(entry.kind);
        copy.strokeAnchor = entry.strokeAnchor;
        for (const HistoryChange& change : entry.changes) {
            if (const RegionChange* region = change.regionChange())
                copy.changes.append(RegionChange {region->rect, pack(region->before), pack(region->after)});
            else
                copy.changes.append(change);
        }
        packed.append(std::move(copy));
    }
    return packed;
}

} // namespace

class TestHistoryRoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void undoAllAndRedoAllRestoreEveryByte_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("screens");
        QTest::addColumn<quint32>("seed");

        const CanvasLayoutSpec bitmapOnly {CanvasLayout::BitmapOnly};
        const CanvasLayoutSpec sideBorders {CanvasLayout::SideBorders};
        const CanvasLayoutSpec topBottom {CanvasLayout::TopBottomBorders, SpriteAlignment::Right};
        for (quint32 seed : {1u, 2u}) {
            for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
                const char* modeName = mode == CanvasMode::Hires ? "hires" : "multicolor";
                QTest::addRow("%s bitmap, seed %u", modeName, seed)
                    << mode << bitmapOnly << QSize() << 1 << seed;
                QTest::addRow("%s side borders, seed %u", modeName, seed)
                    << mode << sideBorders << QSize() << 1 << seed;
                QTest::addRow("%s top and bottom, seed %u", modeName, seed)
                    << mode << topBottom << QSize() << 1 << seed;
                QTest::addRow("%s dual screen, seed %u", modeName, seed)
                    << mode << bitmapOnly << QSize() << 2 << seed;
            }
        }
    }

    void undoAllAndRedoAllRestoreEveryByte()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QSize, size);
        QFETCH(int, screens);
        QFETCH(quint32, seed);

        RandomEdits random(seed);
        Project project(mode, size.width(), size.height(), layout, screens);
        random.scribble(project.colormap(), project.rect());
        ColorSlots slots;
        for (uchar& slot : slots.values)
            slot = random.color();
        project.setColorSlots(slots);
        project.fillLockedBorderRects();

        // states[k] is the document with k entries applied.
        QList<DocumentState> states {stateOf(project)};
        for (int step = 0; step < 80; ++step) {
            if (random.below(6) == 0 && project.history().canUndo()) {
                project.undo();
                continue;
            }
            const int index = project.history().index();
            const DocumentState before = stateOf(project);
            random.edit(project);
            if (project.history().index() == index) {
                // An edit that records nothing must have changed nothing.
                QVERIFY(stateOf(project) == before);
                continue;
            }
            states.resize(index + 1);
            states.append(stateOf(project));
        }
        QVERIFY(project.history().count() > 10);
        states.resize(project.history().count() + 1);

        const auto walk = [&]() {
            while (project.history().canUndo())
                project.undo();
            QVERIFY(stateOf(project) == states.first());
            while (project.history().canRedo()) {
                project.redo();
                QVERIFY(stateOf(project) == states.at(project.history().index()));
            }
        };
        walk();

        // The same history as a project file keeps it: crops inflate as undo needs them.
        project.history().restore(compressedCopy(project.history().entries()), project.history().count());
        walk();
    }
};

QTEST_GUILESS_MAIN(TestHistoryRoundTrip)
#include "tst_history_round_trip.moc"
