#pragma once

#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringList>

// A picture written as text, one character per pixel: the hex digits 0-F are the C64
// colours (so a map reads like the canvases in the tests), '.' is transparent, and lines
// of the form "@c RRGGBB [alpha]" give further characters a colour of their own. Lines
// starting with '#' are comments.
class PixelMap {
public:
    static PixelMap parse(const QString& text, QString* error);

    bool isNull() const { return m_rows.isEmpty(); }
    int width() const { return m_width; }
    int height() const { return int(m_rows.size()); }

    // Every map pixel becomes a scale x scale block, so the art stays crisp at any size.
    QImage toImage(int scale) const;

private:
    QStringList m_rows;
    QHash<QChar, QRgb> m_legend;
    int m_width = 0;
};
