// Feeds arbitrary bytes to the project reader and the preview reader. Besides crashes and
// memory errors it checks what must hold for every file the reader accepts: saving it and
// reading that back gives a file that saves to the same bytes, and undoing and redoing
// its whole history stays inside the canvas.
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "formats/project/project_preview.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

namespace {

// Damaged crops are logged as warnings; a fuzzer makes thousands of them.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

QByteArray saved(const Project& project)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!saveProjectFile(project, &buffer, {}).ok)
        std::abort();
    return buffer.data();
}

bool load(const QByteArray& bytes, Project* project)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadProjectFile(&buffer, project, {}).ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        qInstallMessageHandler(quietMessages);
        return true;
    }();
    (void)installed;

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    QBuffer previewBuffer;
    previewBuffer.setData(bytes);
    previewBuffer.open(QIODevice::ReadOnly);
    ProjectFilePreview preview;
    QString error;
    readProjectFilePreview(&previewBuffer, &preview, &error);

    Project project;
    if (!load(bytes, &project))
        return 0;

    const QByteArray first = saved(project);
    Project reloaded;
    if (!load(first, &reloaded) || saved(reloaded) != first)
        std::abort();

    while (project.history().canUndo())
        project.undo();
    while (project.history().canRedo())
        project.redo();
    return 0;
}
