#pragma once

#include <QList>
#include <QRgb>
#include <QString>

// The C64's colours as the emulators and tools disagree on them. A display choice only:
// the artwork keeps its indices whatever the variant.
enum class PaletteVariant : qint32 {
    Pixcen = 0,
    Pepto = 1,
    Colodore = 2,
    CCS64 = 3,
    PC64 = 4,
    VICE = 5,
    Jampal = 6,
    DeeKay = 7,
    NTSC = 8,
    HighContrast = 9,
};

inline constexpr int c64ColorCount = 16;

class Palette {
public:
    Palette() = default;
    explicit Palette(PaletteVariant variant)
        : m_variant(variant)
    {
    }

    PaletteVariant variant() const { return m_variant; }
    void setVariant(PaletteVariant variant) { m_variant = variant; }

    QRgb colorAt(uchar index) const;

private:
    PaletteVariant m_variant = PaletteVariant::Pixcen;
};

QString paletteVariantName(PaletteVariant variant);
const QList<PaletteVariant>& allPaletteVariants();
