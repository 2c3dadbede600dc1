#include "paint/texture_mode.h"

QString textureModeName(TextureMode mode)
{
    switch (mode) {
    case TextureMode::TwoColor:
        return QStringLiteral("Two-Color Texture");
    case TextureMode::Stencil:
        return QStringLiteral("Texture Stencil");
    }
    return {};
}
