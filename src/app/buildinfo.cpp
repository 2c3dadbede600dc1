#include "app/buildinfo.h"

#include <QtGlobal>

namespace buildinfo {

// Clang defines __GNUC__ too (as 4.2.1), so it has to be asked first.
QString compilerName()
{
#if defined(__clang__)
    return QStringLiteral("clang");
#elif defined(__GNUC__)
    return QStringLiteral("gcc");
#elif defined(_MSC_VER)
    return QStringLiteral("msvc");
#else
    return QStringLiteral("unknown");
#endif
}

QString compilerVersion()
{
    const QString format = QStringLiteral("%1.%2.%3");
#if defined(__clang__)
    return format.arg(__clang_major__).arg(__clang_minor__).arg(__clang_patchlevel__);
#elif defined(__GNUC__)
    return format.arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#elif defined(_MSC_VER)
    return format.arg(_MSC_VER / 100).arg(_MSC_VER % 100).arg(_MSC_FULL_VER % 100000);
#else
    return QStringLiteral("0.0.0");
#endif
}

QString qtBuildVersion()
{
    return QStringLiteral(QT_VERSION_STR);
}

QString qtRuntimeVersion()
{
    return QString::fromLatin1(qVersion());
}

// __DATE__ pads single-digit days with a blank ("Sep  3 2026").
QString compileDate()
{
    return QString::fromLatin1(__DATE__).simplified();
}

} // namespace buildinfo
