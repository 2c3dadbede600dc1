#pragma once

#include <QString>

// A file of the committed sample projects, which the tests and the fuzzer's seed corpus share.
inline QString sampleProjectPath(const char* name)
{
    return QStringLiteral(KROMEL_TEST_DATA_DIR "/projects/") + QLatin1String(name);
}

// One of the C64 pictures another program wrote, with the colour-index map it reads back.
inline QString c64PicturePath(const QString& name)
{
    return QStringLiteral(KROMEL_TEST_DATA_DIR "/c64-pictures/") + name;
}
