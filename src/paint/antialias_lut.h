#pragma once

#include "model/color_distance.h"
#include "model/palette.h"
#include "paint/antialias_blend_override.h"

#include <QList>

#include <algorithm>
#include <vector>

// The colour an anti-aliased edge pixel takes, for every paint colour, underlying colour and
// coverage: the palette entry nearest to the mix of the two. The C64 palette itself supplies
// the in-between shades, and blending costs one table read per pixel.
class AntialiasLut {
public:
    static constexpr int entryCount = c64ColorCount * c64ColorCount * 256;

    AntialiasLut();

    // Rebuilds the table unless it is already valid for this palette, metric and override
    // list; returns whether it was rebuilt.
    bool ensure(
        PaletteVariant variant, ColorDistanceMetric metric, const QList<AntialiasBlendOverride>& overrides);

    bool isValid() const { return m_valid; }

    // Only meaningful once ensure() has run. Indices above 15 read as 15, as in the palette.
    uchar lookup(uchar paint, uchar underlying, uchar coverage) const
    {
        const std::size_t pair
            = std::size_t(std::min<uchar>(paint, 15)) * c64ColorCount + std::min<uchar>(underlying, 15);
        return m_table[pair * 256 + coverage];
    }

    const uchar* constData() const { return m_table.data(); }

private:
    std::vector<uchar> m_table;
    PaletteVariant m_variant = PaletteVariant::Pixcen;
    ColorDistanceMetric m_metric = ColorDistanceMetric::Weighted;
    QList<AntialiasBlendOverride> m_overrides;
    bool m_valid = false;
};
