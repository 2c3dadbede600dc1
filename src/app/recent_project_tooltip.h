#pragma once

#include "model/palette.h"

#include <QDateTime>
#include <QHash>
#include <QString>

struct ProjectFilePreview;

// Rich-text tooltips of the Open Recent entries: the picture as the C64 shows it, with
// the caption the Open dialog uses.
QString recentProjectToolTip(const QString& path, const ProjectFilePreview& preview, const Palette& palette);
QString recentProjectErrorToolTip(const QString& path, const QString& error);

// Rendering a preview reads the file, so the tooltip is kept until the file or the
// palette changes.
class RecentProjectToolTipCache {
public:
    QString toolTip(const QString& path, const Palette& palette);
    void clear() { m_entries.clear(); }

private:
    struct Entry {
        QDateTime modified;
        qint64 size = 0;
        PaletteVariant palette = PaletteVariant::Pixcen;
        QString text;
    };

    QHash<QString, Entry> m_entries;
};
