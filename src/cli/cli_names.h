#pragma once

#include "model/palette.h"

#include <QString>

#include <optional>

// "High Contrast", "high-contrast" and "HIGHCONTRAST" all name the same palette; so do
// "Koala Painter" and "koala-painter" the same format.
inline QString nameKey(const QString& name)
{
    QString key = name.toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('-'));
    key.remove(QLatin1Char('_'));
    return key;
}

inline std::optional<PaletteVariant> paletteNamed(const QString& name)
{
    for (PaletteVariant variant : allPaletteVariants()) {
        if (nameKey(paletteVariantName(variant)) == nameKey(name))
            return variant;
    }
    return std::nullopt;
}
