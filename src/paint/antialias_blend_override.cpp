#include "paint/antialias_blend_override.h"

const QList<AntialiasBlendOverride>& defaultAntialiasBlendOverrides()
{
    static const QList<AntialiasBlendOverride> overrides {{6, 0}};
    return overrides;
}
