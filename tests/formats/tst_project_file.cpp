// Project files: the writer's layout, every message of the reader reached by a crafted
// file, and saving that never damages the previous file. Round trips of long histories on
// every canvas shape are part of tst_history_round_trip.
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "formats/project/project_preview.h"
#include "support/file_size_limit.h"
#include "support/test_data.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <QTest>

#include <functional>
#include <optional>
#include <tuple>

namespace {

// --- Crafted files -------------------------------------------------------------------

QByteArray le(qint64 value, int width)
{
    QByteArray bytes;
    for (int i = 0; i < width; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}
const auto i8 = [](int value) { return le(value, 1); };
const auto i32 = [](qint64 value) { return le(value, 4); };

QByteArray header(int version = 11)
{
    return QByteArray("\xFEkrprj", 7) + i8(version);
}

QByteArray record(int type, const QByteArray& payload)
{
    return i32(payload.size() + 2) + le(type, 2) + payload;
}

QByteArray blob(int encoding, const QByteArray& data)
{
    return i8(encoding) + i32(data.size()) + data;
}

QByteArray pixels(int count, char index = 0)
{
    return QByteArray(count, index);
}

// A state record's fields as stored, so a row can put any value into any of them.
struct State {
    int mode = 0, layout = 0, screens = 1, clash = 0, policy = 1, top = 0, bottom = 0;
    QByteArray slots = QByteArray::fromHex("00000e0400040a00040a");
    int width = 8, height = 4;
    qint64 records = 1, index = 0;
    QByteArray canvas = blob(0, pixels(32, 1));

    QByteArray payload() const
    {
        return i8(mode) + i8(layout) + le(screens, 2) + i8(clash) + i8(policy) + i8(top) + i8(bottom)
            + i8(slots.size()) + slots + i32(width) + i32(height) + i32(records) + i32(index) + canvas;
    }
};

QByteArray node(int kind, int changes, int hasAnchor = 0, int x = 0, int y = 0)
{
    return record(2, i8(kind) + i8(hasAnchor) + i32(x) + i32(y) + i32(changes));
}

QByteArray regionChange(
    int x, int y, int width, int height, const QByteArray& before, const QByteArray& after)
{
    return record(3, i32(x) + i32(y) + i32(width) + i32(height) + before + after);
}

QByteArray pixelChange(int x, int y, char before, char after)
{
    return regionChange(x, y, 1, 1, blob(0, pixels(1, before)), blob(0, pixels(1, after)));
}

QByteArray colorChange(int slot, int before, int after)
{
    return record(4, i8(slot) + i8(before) + i8(after));
}

QByteArray alignmentChange(int border, int before, int after)
{
    return record(5, i8(border) + i8(before) + i8(after));
}

// A file whose state record counts the history records given.
QByteArray craftedFile(State state, const QList<QByteArray>& history = {})
{
    state.records = 1 + history.size();
    QByteArray bytes = header() + record(1, state.payload());
    for (const QByteArray& entry : history)
        bytes += entry;
    return bytes;
}

// Three entries: a one-pixel stroke, a slot change, an alignment change.
QList<QByteArray> smallHistory()
{
    return {node(0, 1, 1, 3, 2), pixelChange(3, 2, 1, 5), node(1, 1), colorChange(0, 0, 6), node(9, 1),
        alignmentChange(1, 0, 1)};
}

// --- Reading and writing -------------------------------------------------------------

ProjectFileResult loadBytes(
    const QByteArray& bytes, Project* project, const ProjectFileProgress& progress = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadProjectFile(&buffer, project, progress);
}

QByteArray saveBytes(const Project& project, const ProjectFileProgress& progress = {})
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const ProjectFileResult result = saveProjectFile(project, &buffer, progress);
    return result.ok ? buffer.data() : QByteArray();
}

// Everything a file holds except the history's crops.
struct DocumentState {
    Colormap colormap;
    ColorSlots slots;
    CanvasLayoutSpec layout;
    std::tuple<CanvasMode, int, SpriteCountPolicy, HiresClashResolution> settings;
    std::tuple<int, int, std::optional<QPoint>> history;

    friend bool operator==(const DocumentState&, const DocumentState&) = default;
};

DocumentState stateOf(const Project& project)
{
    const History& history = project.history();
    return {project.colormap(), project.colorSlots(), project.layout(),
        {project.mode(), project.screensAcross(), project.spriteCountPolicy(),
            project.hiresClashResolution()},
        {history.count(), history.index(), history.strokeAnchor()}};
}

// --- Documents ------------------------------------------------------------------------

// Bytes of every value: compression never wins on them, so the file below is the same
// whatever zlib build writes it.
Colormap noiseCrop(QRandomGenerator& random, int width, int height)
{
    Colormap crop(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            crop.setPixel(x, y, uchar(random.bounded(256)));
    }
    return crop;
}

// `raw` in the toolkit's compressed-buffer layout as one stored (uncompressed) deflate
// block: valid for every zlib and independent of its compressor.
QByteArray storedZlib(const QByteArray& raw)
{
    quint32 a = 1;
    quint32 b = 0;
    for (char byte : raw) {
        a = (a + uchar(byte)) % 65521;
        b = (b + a) % 65521;
    }
    const auto bigEndian = [](quint32 value) {
        QByteArray bytes(4, '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    };
    const auto size = quint16(raw.size());
    // Length prefix, zlib header, a final stored block with its length and complement.
    return bigEndian(quint32(raw.size())) + QByteArray::fromHex("780101") + le(size, 2)
        + le(quint16(~size), 2) + raw + bigEndian(b << 16 | a);
}

RegionChange noiseRegion(QRandomGenerator& random, const QRect& rect)
{
    return {rect, ColormapCrop(noiseCrop(random, rect.width(), rect.height())),
        ColormapCrop(noiseCrop(random, rect.width(), rect.height()))};
}

RegionChange storedRegion(QRandomGenerator& random, const QRect& rect)
{
    const auto stored = [&] {
        const Colormap crop = noiseCrop(random, rect.width(), rect.height());
        return ColormapCrop::fromCompressed(
            storedZlib(
                QByteArray(reinterpret_cast<const char*>(crop.constData()), rect.width() * rect.height())),
            rect.size());
    };
    return {rect, stored(), stored()};
}

// A history with a change of every form the history keeps: one-pixel and few-pixel
// crops, larger ones, crops kept compressed as a file gave them (a one-pixel one too),
// slot and alignment changes, entries of several changes, anchors at either sign, and a
// redo tail.
Project everyChangeForm()
{
    QRandomGenerator random(2026);
    Project project(CanvasMode::Hires, 40, 24, CanvasLayoutSpec {}, 1);
    project.colormap() = noiseCrop(random, 40, 24);
    QList<HistoryEntry> entries;
    const auto add = [&](HistoryEntryKind kind, std::optional<QPoint> anchor, QList<HistoryChange> changes) {
        HistoryEntry entry(kind);
        entry.strokeAnchor = anchor;
        for (HistoryChange& change : changes)
            entry.changes.append(std::move(change));
        entries.append(std::move(entry));
    };
    add(HistoryEntryKind::Stroke, QPoint(3, 4), {noiseRegion(random, QRect(3, 4, 1, 1))});
    add(HistoryEntryKind::Stroke, QPoint(-5, 70000), {noiseRegion(random, QRect(10, 2, 2, 2))});
    add(HistoryEntryKind::Fill, std::nullopt, {noiseRegion(random, QRect(0, 23, 4, 1))});
    add(HistoryEntryKind::Shape, std::nullopt, {noiseRegion(random, QRect(20, 5, 1, 5))});
    add(HistoryEntryKind::Stroke, QPoint(39, 23), {noiseRegion(random, QRect(32, 16, 8, 8))});
    add(HistoryEntryKind::ColorAssignment, std::nullopt,
        {ColorIndexChange {HistoryColorSlot::Background, 0, 6}, noiseRegion(random, QRect(5, 5, 3, 3)),
            noiseRegion(random, QRect(39, 0, 1, 1))});
    add(HistoryEntryKind::BorderAlignment, std::nullopt,
        {BorderAlignmentChange {true, SpriteAlignment::Left, SpriteAlignment::Right}});
    add(HistoryEntryKind::ImageImport, std::nullopt,
        {storedRegion(random, QRect(0, 0, 6, 4)), storedRegion(random, QRect(7, 7, 1, 1))});
    add(HistoryEntryKind::ColorSwap, std::nullopt,
        {noiseRegion(random, QRect(1, 1, 1, 1)), noiseRegion(random, QRect(2, 2, 2, 1)),
            ColorIndexChange {HistoryColorSlot::BottomBorderMc1, 15, 0}});
    add(HistoryEntryKind::Stroke, QPoint(0, 0), {noiseRegion(random, QRect(0, 0, 40, 24))});
    project.history().restore(std::move(entries), 8);
    return project;
}

// A committed sample, loaded.
Project sample(const char* name)
{
    Project project;
    loadProjectFile(sampleProjectPath(name), &project, {});
    return project;
}

} // namespace

class TestProjectFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void version10FilesTakeTheNewFieldsDefaults()
    {
        Project loaded;
        QVERIFY(loadProjectFile(sampleProjectPath("multicolor_side_borders_v10.krm"), &loaded, {}).ok);
        QCOMPARE(loaded.layout(), CanvasLayoutSpec {CanvasLayout::SideBorders});
        QCOMPARE(loaded.spriteCountPolicy(), SpriteCountPolicy::Flag);
        const std::array<uchar, colorSlotCount> slots {6, 3, 2, 3, 0, 4, 10, 0, 4, 10};
        QVERIFY(loaded.colorSlots().values == slots);
        QCOMPARE(loaded.history().index(), 2);
        QCOMPARE(loaded.colormap().pixel(1, 1), uchar(1));
        loaded.undo();
        QCOMPARE(loaded.slotIndex(HistoryColorSlot::Border), uchar(14));
        loaded.undo();
        QCOMPARE(loaded.colormap().pixel(1, 1), uchar(6));
    }
    void everyProblemHasItsMessage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* message, const QByteArray& bytes) {
            QTest::newRow(message) << bytes << QString::fromLatin1(message);
        };
        const auto withState = [](std::function<void(State&)> change) {
            State state;
            change(state);
            return header() + record(1, state.payload());
        };
        const QByteArray valid = craftedFile(State(), smallHistory());
        const auto withHistory = [](const QList<QByteArray>& history, qint64 records = -1) {
            State state;
            QByteArray bytes = craftedFile(state, history);
            if (records >= 0)
                bytes.replace(8 + 6 + 27, 4, i32(records));
            return bytes;
        };

        row("not a KROMEL project", valid.left(7));
        row("file version 9 was written by the GTK version of KROMEL and is not supported", header(9));
        row("file version 12 is newer than this KROMEL understands (version 11)", header(12));
        row("unexpected end of file in a record header", header() + QByteArray(5, 0));
        row("record size 1 is out of range", header() + i32(1) + le(1, 2));
        row("unexpected end of file inside a record", valid.left(20));
        row("the first record is not the project state", header() + node(0, 0));

        row("malformed project state record", withState([](State& s) { s.slots.chop(1); }));
        row("unknown canvas mode 2", withState([](State& s) { s.mode = 2; }));
        row("unknown canvas layout 3", withState([](State& s) { s.layout = 3; }));
        row("screens-across 9 is out of range", withState([](State& s) { s.screens = 9; }));
        row("unknown clash resolution 3", withState([](State& s) { s.clash = 3; }));
        row("unknown sprite count policy 2", withState([](State& s) { s.policy = 2; }));
        row("malformed border alignment", withState([](State& s) { s.bottom = 2; }));
        row("color index 16 is out of range", withState([](State& s) { s.slots[9] = 16; }));
        row("canvas size 0 x 4 is out of range", withState([](State& s) { s.width = 0; }));
        row("record count is zero", withState([](State& s) { s.records = 0; }));
        // Sprite layouts exist only at one screen's size with its borders.
        const QSize topBottom
            = canvasModeDefaultCanvasSize(CanvasMode::Hires, {CanvasLayout::TopBottomBorders}, 1);
        QTest::newRow("top/bottom 320 x 60")
            << withState([](State& s) {
                   s.layout = 2, s.width = 320, s.height = 60,
                   s.canvas = blob(1, qCompress(pixels(320 * 60)));
               })
            << QStringLiteral("canvas size 320 x 60 does not fit canvas layout 2 (expected %1 x %2)")
                   .arg(topBottom.width())
                   .arg(topBottom.height());

        row("malformed pixel blob header", withState([](State& s) { s.canvas = i8(0) + i32(-1); }));
        row("pixel blob declares 32 bytes, but 31 remain in the record",
            withState([](State& s) { s.canvas = i8(0) + i32(32) + pixels(31); }));
        row("raw pixel blob holds 31 bytes, expected 32",
            withState([](State& s) { s.canvas = blob(0, pixels(31)); }));
        row("compressed pixel blob declares 0 bytes, expected 32",
            withState([](State& s) { s.canvas = blob(1, QByteArray::fromHex("00000020")); }));
        row("unknown pixel blob encoding 2", withState([](State& s) { s.canvas = blob(2, pixels(32)); }));
        row("the canvas pixel data is corrupt",
            withState([](State& s) { s.canvas = blob(1, QByteArray::fromHex("00000020") + "not zlib"); }));

        row("duplicate project state record", withHistory({record(1, State().payload())}));
        row("a history node starts before the previous node's children are complete",
            withHistory({node(0, 2), pixelChange(0, 0, 1, 2), node(0, 1), pixelChange(0, 0, 2, 3)}));
        row("malformed history node record", withHistory({node(0, 1, 2), pixelChange(0, 0, 1, 2)}));
        row("unknown history entry kind 16", withHistory({node(16, 1), pixelChange(0, 0, 1, 2)}));
        row("history change record outside a node", withHistory({pixelChange(0, 0, 1, 2)}));
        row("malformed region change record", withHistory({node(0, 1), record(3, i32(0) + i32(0) + i32(1))}));
        row("region change rect (7, 0) 2 x 1 lies outside the canvas",
            withHistory({node(0, 1), regionChange(7, 0, 2, 1, blob(0, pixels(2)), blob(0, pixels(2)))}));
        row("raw pixel blob holds 1 bytes, expected 2",
            withHistory({node(0, 1), regionChange(0, 0, 2, 1, blob(0, pixels(2)), blob(0, pixels(1)))}));
        row("malformed color index change record", withHistory({node(1, 1), record(4, i8(0) + i8(1))}));
        row("unknown color slot 10", withHistory({node(1, 1), colorChange(10, 0, 1)}));
        row("color index change is out of range", withHistory({node(1, 1), colorChange(0, 0, 16)}));
        row("malformed border alignment change record", withHistory({node(9, 1), alignmentChange(0, 0, 2)}));
        row("the file ends inside a history node", withHistory({node(0, 2), pixelChange(0, 0, 1, 2)}));
        row("trailing data after the last record", withHistory(smallHistory(), 3));
    }

    void everyProblemHasItsMessage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Project target(CanvasMode::Multicolor);
        target.assignBorderIndex(7);
        const DocumentState before = stateOf(target);
        const ProjectFileResult result = loadBytes(bytes, &target);
        QVERIFY(!result.ok && !result.cancelled);
        QCOMPARE(result.error, message);
        QVERIFY(stateOf(target) == before);
    }

    void loaderTolerance()
    {
        // An unknown record type inside a node counts as one of its changes.
        Project loaded;
        QVERIFY(
            loadBytes(craftedFile(State(), {node(0, 2), record(7, "??"), pixelChange(1, 1, 1, 4)}), &loaded)
                .ok);
        QCOMPARE(loaded.history().count(), 1);
        QCOMPARE(loaded.history().entries().constFirst().changes.size(), 1);

        // A node without changes is dropped; the stored index is clamped to what loaded.
        for (const auto& [index, expected] : {std::pair(5, 2), std::pair(-1, 0)}) {
            State state;
            state.index = index;
            const QList<QByteArray> history {
                node(0, 0), node(0, 1), pixelChange(0, 0, 1, 2), node(1, 1), colorChange(0, 0, 6)};
            QVERIFY(loadBytes(craftedFile(state, history), &loaded).ok);
            QCOMPARE(loaded.history().count(), 2);
            QCOMPARE(loaded.history().index(), expected);
        }

        // An empty node before the cursor: the index counts only the edits kept, so the
        // canvas is the last applied edit's and the edit after it can still be redone.
        State state;
        state.index = 3;
        state.slots[0] = 6;
        state.canvas = blob(0, char(2) + pixels(31, 1));
        const QList<QByteArray> history {node(0, 1), pixelChange(0, 0, 1, 2), node(0, 0), node(1, 1),
            colorChange(0, 0, 6), node(0, 1), pixelChange(1, 0, 1, 3)};
        QVERIFY(loadBytes(craftedFile(state, history), &loaded).ok);
        QCOMPARE(loaded.history().count(), 3);
        QCOMPARE(loaded.history().index(), 2);
        QVERIFY(!loaded.isModified());
        QVERIFY(!loaded.redo().isEmpty());
        QCOMPARE(loaded.colormap().pixel(1, 0), uchar(3));
        loaded.undo();
        loaded.undo();
        loaded.undo();
        QCOMPARE(loaded.colormap().pixel(0, 0), uchar(1));
        QCOMPARE(loaded.slotIndex(HistoryColorSlot::Background), uchar(0));
    }

    void everyTruncationIsRefused()
    {
        // The sample holds every form of change the history keeps.
        const QByteArray bytes = fileBytes(sampleProjectPath("every_change_form.krm"));
        QVERIFY(!bytes.isEmpty());
        for (int length = 0; length < bytes.size(); ++length) {
            Project target;
            const ProjectFileResult result = loadBytes(bytes.left(length), &target);
            QVERIFY2(!result.ok && !result.error.isEmpty(), qPrintable(QString::number(length)));
            QCOMPARE(target.history().count(), 0);
        }
    }

    void failedOrCancelledSavesKeepThePreviousFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("art.krm"));
        Project project = sample("multicolor_side_borders.krm");
        QVERIFY(saveProjectFile(project, path, {}).ok);
        const QByteArray previous = fileBytes(path);
        project.flipCanvas(Qt::Horizontal, true);

        // Cancelling at the first call writes nothing; later, the temporary file goes.
        for (int stopAt : {0, 10}) {
            int calls = 0;
            const ProjectFileResult result
                = saveProjectFile(project, path, [&](int, int) { return calls++ < stopAt; });
            QVERIFY(result.cancelled && result.error.isEmpty() && calls == stopAt + 1);
            QCOMPARE(fileBytes(path), previous);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("art.krm")});

        const QString missingDir = dir.filePath(QStringLiteral("gone/art.krm"));
        const ProjectFileResult unwritable = saveProjectFile(project, missingDir, {});
        QVERIFY(unwritable.error.startsWith(QStringLiteral("cannot write %1: ").arg(missingDir)));
    }

    void previewReadsOnlyTheStateRecord()
    {
        State state;
        state.mode = 1;
        state.screens = 3;
        state.index = 6;
        state.records = 99;
        const QByteArray bytes = header() + record(1, state.payload()) + "no history follows";
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ProjectFilePreview preview;
        QString error;
        QVERIFY2(readProjectFilePreview(&buffer, &preview, &error), qPrintable(error));
        QCOMPARE(buffer.pos(), qint64(bytes.size() - 18));
        QCOMPARE(preview.colormap.size(), QSize(8, 4));
        QCOMPARE(preview.recordCount, 99);
    }

    void savedBytesAreThoseOfEarlierVersions()
    {
        // The file was written by the version before the history kept small crops
        // inline; however the history holds its changes, the bytes must not move.
        const QString path = sampleProjectPath("every_change_form.krm");
        const QByteArray expected = fileBytes(path);
        const QByteArray actual = saveBytes(everyChangeForm());
        if (actual != expected) {
            QFile out(QDir::current().filePath(QStringLiteral("every_change_form.actual.krm")));
            if (out.open(QIODevice::WriteOnly))
                out.write(actual);
        }
        QVERIFY(!expected.isEmpty());
        QVERIFY2(actual == expected, "see every_change_form.actual.krm in the test's folder");

        // Loaded, it saves the same bytes: the reader took every form back as it was, and
        // compressed crops went back out as they came in, without being recompressed. Undo
        // and redo through a loaded history are walked in tst_history_round_trip.
        Project loaded;
        QVERIFY(loadBytes(expected, &loaded).ok);
        QCOMPARE(saveBytes(loaded), expected);
        const HistoryChange& stored = loaded.history().entries().at(7).changes.at(0);
        QVERIFY(stored.heldCrop(false)->isCompressed() && stored.heldCrop(true)->isCompressed());

        // Every committed sample of this version saves back to its own bytes.
        for (const char* name : {"hires_bitmap.krm", "hires_side_borders.krm", "multicolor_dual_screen.krm",
                 "multicolor_side_borders.krm", "multicolor_top_bottom_borders.krm"}) {
            const QByteArray sample = fileBytes(sampleProjectPath(name));
            Project project;
            QVERIFY2(loadBytes(sample, &project).ok, name);
            QVERIFY2(saveBytes(project) == sample, name);
        }
    }

    void progressIsMonotoneAndCancels()
    {
        const Project project = sample("multicolor_side_borders.krm");
        QList<QPair<int, int>> calls;
        const auto record = [&](int done, int total) {
            calls.append({done, total});
            return true;
        };
        const QByteArray bytes = saveBytes(project, record);
        const QList<QPair<int, int>> saveCalls = calls;
        calls.clear();
        Project loaded;
        QVERIFY(loadBytes(bytes, &loaded, record).ok);
        const int total = saveCalls.first().second;
        QCOMPARE(saveCalls.first().first, 0);
        QCOMPARE(calls.first(), qMakePair(1, total));
        for (const QList<QPair<int, int>>& run : {saveCalls, calls}) {
            QCOMPARE(run.last(), qMakePair(total, total));
            for (qsizetype i = 1; i < run.size(); ++i)
                QVERIFY(run.at(i).first == run.at(i - 1).first + 1 && run.at(i).second == total);
        }

        // Cancelling at any call stops the load and leaves the target alone.
        for (int stopAt : {1, total / 2, total}) {
            int seen = 0;
            Project target;
            QVERIFY(loadBytes(bytes, &target, [&](int, int) { return ++seen < stopAt; }).cancelled);
            QCOMPARE(seen, stopAt);
            QCOMPARE(target.history().count(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_project_file.moc"
