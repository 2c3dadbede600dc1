#include "formats/project/project_file_reader.h"

#include "document/project.h"
#include "formats/project/project_file_format.h"
#include "formats/project/project_file_records.h"
#include "formats/project/project_pixel_blob.h"
#include "formats/project/project_record_payload.h"
#include "formats/project/project_state_record.h"

#include <QFile>

#include <optional>

namespace {

// The entry being assembled from a node record and the change records after it.
struct OpenNode {
    HistoryEntry entry;
    qint32 expectedChanges = 0;
};

bool inRange(int value, int highest)
{
    return value >= 0 && value <= highest;
}

bool readHistoryNode(const QByteArray& payload, OpenNode* node, QString* error)
{
    RecordPayloadReader reader(payload);
    const int kind = reader.readI8();
    const int hasAnchor = reader.readI8();
    const qint32 x = reader.readI32();
    const qint32 y = reader.readI32();
    const qint32 changeCount = reader.readI32();
    if (reader.failed() || !inRange(hasAnchor, 1)) {
        *error = QStringLiteral("malformed history node record");
        return false;
    }
    if (!inRange(kind, historyEntryKindCount - 1)) {
        *error = QStringLiteral("unknown history entry kind %1").arg(kind);
        return false;
    }
    node->entry = HistoryEntry(HistoryEntryKind(kind));
    if (hasAnchor == 1)
        node->entry.strokeAnchor = QPoint(x, y);
    node->expectedChanges = changeCount;
    return true;
}

std::optional<HistoryChange> readRegionChange(const QByteArray& payload, const QSize& canvas, QString* error)
{
    RecordPayloadReader reader(payload);
    const qint32 x = reader.readI32();
    const qint32 y = reader.readI32();
    const quint32 width = quint32(reader.readI32());
    const quint32 height = quint32(reader.readI32());
    if (reader.failed()) {
        *error = QStringLiteral("malformed region change record");
        return std::nullopt;
    }
    if (width == 0 || height == 0 || x < 0 || y < 0 || qint64(x) + width > canvas.width()
        || qint64(y) + height > canvas.height()) {
        *error = QStringLiteral("region change rect (%1, %2) %3 x %4 lies outside the canvas")
                     .arg(x)
                     .arg(y)
                     .arg(width)
                     .arg(height);
        return std::nullopt;
    }
    RegionChange change;
    change.rect = QRect(x, y, int(width), int(height));
    if (!readPixelBlob(reader, change.rect.size(), &change.before, error)
        || !readPixelBlob(reader, change.rect.size(), &change.after, error))
        return std::nullopt;
    return HistoryChange(std::move(change));
}

std::optional<HistoryChange> readColorIndexChange(const QByteArray& payload, QString* error)
{
    RecordPayloadReader reader(payload);
    const int slot = reader.readI8();
    const int before = reader.readI8();
    const int after = reader.readI8();
    if (reader.failed()) {
        *error = QStringLiteral("malformed color index change record");
        return std::nullopt;
    }
    if (!inRange(slot, colorSlotCount - 1)) {
        *error = QStringLiteral("unknown color slot %1").arg(slot);
        return std::nullopt;
    }
    if (!inRange(before, 15) || !inRange(after, 15)) {
        *error = QStringLiteral("color index change is out of range");
        return std::nullopt;
    }
    return HistoryChange(ColorIndexChange {HistoryColorSlot(slot), uchar(before), uchar(after)});
}

std::optional<HistoryChange> readBorderAlignmentChange(const QByteArray& payload, QString* error)
{
    RecordPayloadReader reader(payload);
    const int border = reader.readI8();
    const int before = reader.readI8();
    const int after = reader.readI8();
    if (reader.failed() || !inRange(border, 1) || !inRange(before, 1) || !inRange(after, 1)) {
        *error = QStringLiteral("malformed border alignment change record");
        return std::nullopt;
    }
    return HistoryChange(
        BorderAlignmentChange {border == 1, SpriteAlignment(before), SpriteAlignment(after)});
}

// Reads the history records after the state record into `entries`.
class HistoryRecordReader {
public:
    HistoryRecordReader(const ProjectStateRecord& state, QList<HistoryEntry>* entries)
        : m_canvas(state.width, state.height)
        , m_cursor(state.historyIndex)
        , m_entries(entries)
    {
    }

    // The stored index counts every node; the restored one may count only those kept.
    int keptIndex() const { return m_cursor - m_droppedBeforeCursor; }

    bool read(const ProjectFileRecord& record, QString* error)
    {
        switch (ProjectRecordType(record.type)) {
        case ProjectRecordType::ProjectState:
            *error = QStringLiteral("duplicate project state record");
            return false;
        case ProjectRecordType::HistoryNode:
            if (expectsChanges()) {
                *error = QStringLiteral(
                    "a history node starts before the previous node's children are complete");
                return false;
            }
            close();
            m_node.emplace();
            ++m_nodesOpened;
            return readHistoryNode(record.payload, &*m_node, error);
        case ProjectRecordType::RegionChange:
        case ProjectRecordType::ColorIndexChange:
        case ProjectRecordType::BorderAlignmentChange:
            return readChange(record, error);
        }
        // A record of a kind this version does not know still takes a child's place, so
        // the node count stays in step with the file.
        if (expectsChanges())
            --m_node->expectedChanges;
        return true;
    }

    bool finish(QString* error)
    {
        if (expectsChanges()) {
            *error = QStringLiteral("the file ends inside a history node");
            return false;
        }
        close();
        return true;
    }

private:
    bool expectsChanges() const { return m_node && m_node->expectedChanges > 0; }

    // A node without changes is no edit, so it does not enter the history.
    void close()
    {
        if (m_node && !m_node->entry.changes.isEmpty())
            m_entries->append(std::move(m_node->entry));
        else if (m_node && m_nodesOpened <= m_cursor)
            ++m_droppedBeforeCursor;
        m_node.reset();
    }

    bool readChange(const ProjectFileRecord& record, QString* error)
    {
        if (!expectsChanges()) {
            *error = QStringLiteral("history change record outside a node");
            return false;
        }
        std::optional<HistoryChange> change;
        switch (ProjectRecordType(record.type)) {
        case ProjectRecordType::RegionChange:
            change = readRegionChange(record.payload, m_canvas, error);
            break;
        case ProjectRecordType::ColorIndexChange:
            change = readColorIndexChange(record.payload, error);
            break;
        default:
            change = readBorderAlignmentChange(record.payload, error);
            break;
        }
        if (!change)
            return false;
        m_node->entry.changes.append(std::move(*change));
        --m_node->expectedChanges;
        return true;
    }

    QSize m_canvas;
    int m_cursor = 0;
    int m_nodesOpened = 0;
    int m_droppedBeforeCursor = 0;
    QList<HistoryEntry>* m_entries;
    std::optional<OpenNode> m_node;
};

} // namespace

ProjectFileResult loadProjectFile(QIODevice* device, Project* target, const ProjectFileProgress& progress)
{
    QString error;
    int version = 0;
    ProjectFileRecord record;
    ProjectStateRecord state;
    if (!readProjectFileHeader(device, &version, &error) || !readProjectFileRecord(device, &record, &error))
        return ProjectFileResult::failure(error);
    if (record.type != qint16(ProjectRecordType::ProjectState))
        return ProjectFileResult::failure(QStringLiteral("the first record is not the project state"));
    if (!parseProjectStateRecord(record.payload, version, &state, &error))
        return ProjectFileResult::failure(error);

    // A negative count in a damaged file reads no history; the progress range stays sane.
    const int total = std::max<qint32>(state.recordCount, 1);
    const auto report = [&](int done) { return !progress || progress(done, total); };
    if (!report(1))
        return ProjectFileResult::cancellation();

    QList<HistoryEntry> entries;
    HistoryRecordReader history(state, &entries);
    for (int read = 1; read < state.recordCount;) {
        if (!readProjectFileRecord(device, &record, &error) || !history.read(record, &error))
            return ProjectFileResult::failure(error);
        if (!report(++read))
            return ProjectFileResult::cancellation();
    }
    if (!history.finish(&error))
        return ProjectFileResult::failure(error);
    if (!device->atEnd())
        return ProjectFileResult::failure(QStringLiteral("trailing data after the last record"));
    if (!state.canvas.inflate())
        return ProjectFileResult::failure(QStringLiteral("the canvas pixel data is corrupt"));

    Project project(state.mode, state.width, state.height, state.layout, state.screensAcross);
    project.colormap() = state.canvas.pixels();
    project.setColorSlots(state.slots);
    project.setSpriteCountPolicy(state.spriteCountPolicy);
    project.setHiresClashResolution(state.hiresClashResolution);
    project.history().restore(std::move(entries), history.keptIndex());
    project.markClean();
    *target = std::move(project);
    return ProjectFileResult::success();
}

ProjectFileResult loadProjectFile(const QString& path, Project* target, const ProjectFileProgress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProjectFileResult::failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return loadProjectFile(&file, target, progress);
}
