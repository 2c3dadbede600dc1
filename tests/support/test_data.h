#pragma once

#include <QString>

// A file of the committed sample projects, which the tests and the fuzzer's seed corpus share.
inline QString sampleProjectPath(const char* name)
{
    return QStringLiteral(KROMEL_TEST_DATA_DIR "/projects/") + QLatin1String(name);
}
