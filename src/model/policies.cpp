#include "model/policies.h"

QString hiresClashResolutionName(HiresClashResolution resolution)
{
    switch (resolution) {
    case HiresClashResolution::ReplaceOverwritten:
        return QStringLiteral("Replace Overwritten Color");
    case HiresClashResolution::PreserveBorder:
        return QStringLiteral("Preserve Border Color");
    case HiresClashResolution::PreserveMostUsed:
        return QStringLiteral("Preserve Most-Used Color");
    }
    return {};
}

QString spriteCountPolicyName(SpriteCountPolicy policy)
{
    switch (policy) {
    case SpriteCountPolicy::Enforce:
        return QStringLiteral("Enforce 8-Sprite Border Limit");
    case SpriteCountPolicy::Flag:
        return QStringLiteral("Flag Sprites over the Border Limit");
    }
    return {};
}
