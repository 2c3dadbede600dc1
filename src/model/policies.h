#pragma once

#include <QString>
#include <QtGlobal>

// Which colour gives way when a paint pushes a hires cell to a third colour.
// Stored in project files; the order is the Options menu's.
enum class HiresClashResolution : qint32 {
    ReplaceOverwritten = 0,
    PreserveBorder = 1,
    PreserveMostUsed = 2,
};

// What happens to a 9th sprite in a top or bottom border. Stored in project files.
enum class SpriteCountPolicy : qint32 {
    Enforce = 0,
    Flag = 1,
};

QString hiresClashResolutionName(HiresClashResolution resolution);
QString spriteCountPolicyName(SpriteCountPolicy policy);
