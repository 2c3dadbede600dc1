#include "support/mask_picture.h"

#include "paint/brush.h"
#include "paint/footprint_mask.h"

QStringList maskPicture(const FootprintMask& mask, const QRect& area)
{
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QString row;
        for (int x = area.left(); x <= area.right(); ++x)
            row += Brush::covers(mask.image(), x, y, mask.pixelWidth()) ? QLatin1Char('#') : QLatin1Char('.');
        rows.append(row);
    }
    return rows;
}
