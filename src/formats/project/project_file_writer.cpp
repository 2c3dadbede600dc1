#include "formats/project/project_file_writer.h"

#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/project/project_file_format.h"
#include "formats/project/project_file_records.h"
#include "formats/project/project_pixel_blob.h"
#include "formats/project/project_record_payload.h"
#include "formats/project/project_state_record.h"

#include <QIODevice>

namespace {

qint32 recordCountOf(const History& history)
{
    qint64 count = 1;
    for (const HistoryEntry& entry : history.entries())
        count += 1 + entry.changes.size();
    return qint32(count);
}

void writeNodePayload(RecordPayloadWriter& writer, const HistoryEntry& entry)
{
    writer.writeI8(int(entry.kind));
    writer.writeI8(entry.strokeAnchor ? 1 : 0);
    writer.writeI32(entry.strokeAnchor ? entry.strokeAnchor->x() : 0);
    writer.writeI32(entry.strokeAnchor ? entry.strokeAnchor->y() : 0);
    writer.writeI32(qint32(entry.changes.size()));
}

ProjectRecordType writeChangePayload(RecordPayloadWriter& writer, const HistoryChange& change)
{
    if (change.isRegionChange()) {
        const QRect rect = change.regionRect();
        writer.writeI32(rect.left());
        writer.writeI32(rect.top());
        writer.writeI32(rect.right() - rect.left() + 1);
        writer.writeI32(rect.bottom() - rect.top() + 1);
        for (const bool after : {false, true}) {
            if (const ColormapCrop* crop = change.heldCrop(after))
                writeCropBlob(writer, *crop);
            else
                writePixelBlob(writer, change.inlineCrop(after));
        }
        return ProjectRecordType::RegionChange;
    }
    if (const ColorIndexChange* slot = change.colorIndexChange()) {
        writer.writeI8(int(slot->slot));
        writer.writeI8(slot->beforeIndex);
        writer.writeI8(slot->afterIndex);
        return ProjectRecordType::ColorIndexChange;
    }
    const BorderAlignmentChange* alignment = change.borderAlignmentChange();
    writer.writeI8(alignment->bottomBorder ? 1 : 0);
    writer.writeI8(int(alignment->beforeAlignment));
    writer.writeI8(int(alignment->afterAlignment));
    return ProjectRecordType::BorderAlignmentChange;
}

ProjectFileResult writeFailure(QIODevice* device)
{
    return ProjectFileResult::failure(QStringLiteral("writing failed: %1").arg(device->errorString()));
}

} // namespace

ProjectFileResult saveProjectFile(
    const Project& project, QIODevice* device, const ProjectFileProgress& progress)
{
    const qint32 total = recordCountOf(project.history());
    const auto report = [&](int done) { return !progress || progress(done, total); };
    if (!report(0))
        return ProjectFileResult::cancellation();

    const QByteArray header = projectFileHeader();
    if (device->write(header) != header.size()
        || !writeProjectFileRecord(
            device, ProjectRecordType::ProjectState, projectStateRecordPayload(project, total)))
        return writeFailure(device);
    int written = 1;
    if (!report(written))
        return ProjectFileResult::cancellation();

    // A failed write stops the save at once: nothing after it could be read back anyway.
    RecordPayloadWriter writer;
    for (const HistoryEntry& entry : project.history().entries()) {
        writer.clear();
        writeNodePayload(writer, entry);
        if (!writeProjectFileRecord(device, ProjectRecordType::HistoryNode, writer.bytes()))
            return writeFailure(device);
        if (!report(++written))
            return ProjectFileResult::cancellation();
        for (const HistoryChange& change : entry.changes) {
            writer.clear();
            const ProjectRecordType type = writeChangePayload(writer, change);
            if (!writeProjectFileRecord(device, type, writer.bytes()))
                return writeFailure(device);
            if (!report(++written))
                return ProjectFileResult::cancellation();
        }
    }
    return ProjectFileResult::success();
}

ProjectFileResult saveProjectFile(
    const Project& project, const QString& path, const ProjectFileProgress& progress)
{
    ProjectFileResult result = ProjectFileResult::success();
    QString error;
    const bool written = writeFileAtomically(
        path,
        [&](QIODevice& device, QString*) {
            result = saveProjectFile(project, &device, progress);
            return result.ok;
        },
        &error);
    // A cancellation goes back unchanged; a failed write names the system's reason.
    if (result.cancelled)
        return result;
    if (!written)
        return ProjectFileResult::failure(QStringLiteral("cannot write %1: %2").arg(path, error));
    return result;
}
