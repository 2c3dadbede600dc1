#include "paint/edit_recording.h"

#include "document/project.h"
#include "paint/paint_application.h"

#include <cstring>

void EditRecording::begin(QSize canvasSize)
{
    if (m_before.size() != canvasSize)
        m_before = Colormap(canvasSize.width(), canvasSize.height());
    m_captured = QRegion();
    m_dirty = QRect();
    m_open = true;
}

void EditRecording::copyUncaptured(const Colormap& document, const QRect& area)
{
    const QRect clip = area & document.rect() & m_before.rect();
    if (clip.isEmpty())
        return;
    for (const QRect& piece : QRegion(clip).subtracted(m_captured)) {
        for (int y = piece.top(); y <= piece.bottom(); ++y) {
            std::memcpy(m_before.scanLine(y) + piece.left(), document.scanLine(y) + piece.left(),
                std::size_t(piece.width()));
        }
    }
    m_captured += clip;
}

void EditRecording::captureBeforeArea(const Project& project, const QRect& paintRect, bool twice)
{
    if (m_open)
        copyUncaptured(project.colormap(), paintReachExtent(project, paintRect, twice));
}

void EditRecording::growDirtyRect(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    m_dirty = m_dirty.isNull() ? rect : m_dirty.united(rect);
}

HistoryEntry EditRecording::finish(
    const Project& project, HistoryEntryKind kind, std::optional<QPoint> anchor)
{
    HistoryEntry entry(kind);
    entry.strokeAnchor = anchor;
    if (m_open && !m_dirty.isEmpty() && m_before.size() == project.size()) {
        // Pixels of the dirty rectangle that no capture reached were never painted, so the
        // document still holds them as they were.
        copyUncaptured(project.colormap(), m_dirty);
        const QRect dirty = m_dirty & project.rect();
        project.appendCanvasChange(entry, dirty, m_before);
    }
    m_captured = QRegion();
    m_dirty = QRect();
    m_open = false;
    return entry;
}
