#pragma once

#include <QString>
#include <QtGlobal>

// What a clear texture bit paints: the other pen colour, or nothing at all.
enum class TextureMode : qint32 {
    TwoColor = 0,
    Stencil = 1,
};

inline constexpr TextureMode defaultTextureMode = TextureMode::Stencil;

QString textureModeName(TextureMode mode);
