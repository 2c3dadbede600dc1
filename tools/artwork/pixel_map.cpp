#include "pixel_map.h"

#include <QColor>
#include <QPainter>

namespace {

// The colours of the C64's VIC-II chip, by colour index.
constexpr QRgb c64Colors[16] = {
    0xFF000000,
    0xFFFFFFFF,
    0xFF894036,
    0xFF7ABFC7,
    0xFF8A46AE,
    0xFF68A941,
    0xFF3E31A2,
    0xFFD0DC71,
    0xFF905F25,
    0xFF5C4700,
    0xFFBB776D,
    0xFF555555,
    0xFF808080,
    0xFFACEA88,
    0xFF7C70DA,
    0xFFABABAB,
};

QHash<QChar, QRgb> defaultLegend()
{
    QHash<QChar, QRgb> legend;
    const QString digits = QStringLiteral("0123456789ABCDEF");
    for (int i = 0; i < 16; ++i)
        legend.insert(digits.at(i), c64Colors[i]);
    return legend;
}

} // namespace

PixelMap PixelMap::parse(const QString& text, QString* error)
{
    PixelMap map;
    map.m_legend = defaultLegend();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('@'))) {
            const QStringList parts = line.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QColor color(QLatin1Char('#') + parts.value(1));
            if (parts.size() < 2 || parts.at(0).size() != 1 || !color.isValid()) {
                *error = QStringLiteral("line %1: bad legend entry").arg(n + 1);
                return {};
            }
            QRgb rgb = color.rgb();
            if (parts.size() > 2)
                rgb = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), parts.at(2).toInt());
            map.m_legend.insert(parts.at(0).at(0), rgb);
            continue;
        }
        map.m_rows.append(line);
        map.m_width = std::max(map.m_width, int(line.size()));
    }
    for (int y = 0; y < map.m_rows.size(); ++y) {
        for (const QChar c : map.m_rows.at(y)) {
            if (c != QLatin1Char('.') && !map.m_legend.contains(c)) {
                *error = QStringLiteral("row %1: unknown pixel '%2'").arg(y).arg(c);
                return {};
            }
        }
    }
    if (map.m_rows.isEmpty())
        *error = QStringLiteral("no pixels");
    return map;
}

QImage PixelMap::toImage(int scale) const
{
    QImage image(m_width * scale, height() * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (int y = 0; y < height(); ++y) {
        const QString& row = m_rows.at(y);
        for (int x = 0; x < row.size(); ++x) {
            const auto found = m_legend.constFind(row.at(x));
            if (found != m_legend.constEnd())
                painter.fillRect(x * scale, y * scale, scale, scale, QColor::fromRgba(*found));
        }
    }
    return image;
}
