#include "convert/adjustment_curves_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

std::optional<AdjustmentChannel> channelNamed(const QString& name)
{
    const QString key = name.toLower();
    if (key == QLatin1String("rgb"))
        return AdjustmentChannel::Rgb;
    if (key == QLatin1String("r"))
        return AdjustmentChannel::Red;
    if (key == QLatin1String("g"))
        return AdjustmentChannel::Green;
    if (key == QLatin1String("b"))
        return AdjustmentChannel::Blue;
    return std::nullopt;
}

// Four curves of 32 points fit in a few hundred bytes; the limit leaves room for comments
// and keeps a mistaken path (an image, a device that never ends) from being read whole.
constexpr qint64 largestCurvesFile = 65536;

AdjustmentCurvesResult failure(int line, const QString& message)
{
    AdjustmentCurvesResult result;
    result.error = QStringLiteral("line %1: %2").arg(line).arg(message);
    return result;
}

// The parser's messages quote what they cannot read; from a picture or a program given by
// mistake that would be raw bytes, so such a file is refused as a whole first.
bool isText(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control && c != QLatin1Char('\t') && c != QLatin1Char('\n')
            && c != QLatin1Char('\r');
    });
}

} // namespace

AdjustmentCurvesResult parseAdjustmentCurves(const QString& text)
{
    AdjustmentCurvesResult result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression point(QStringLiteral("^(\\d{1,3}),(\\d{1,3})$"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i) + 1;
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList words = line.split(blanks);
        const std::optional<AdjustmentChannel> channel = channelNamed(words.constFirst());
        if (!channel)
            return failure(lineNumber,
                QStringLiteral("unknown channel \"%1\" (known: rgb, r, g, b)").arg(words.constFirst()));
        QList<QPoint> knots;
        for (const QString& word : words.mid(1)) {
            const QRegularExpressionMatch match = point.match(word);
            if (!match.hasMatch())
                return failure(lineNumber, QStringLiteral("\"%1\" is not a point x,y").arg(word));
            knots << QPoint(match.captured(1).toInt(), match.captured(2).toInt());
        }
        if (!result.adjustment.setKnots(*channel, knots))
            return failure(lineNumber,
                QStringLiteral("a curve needs 2 to 32 points from x 0 to x 255 in ascending x, "
                               "values 0-255"));
    }
    result.ok = true;
    return result;
}

AdjustmentCurvesResult readAdjustmentCurvesFile(const QString& path)
{
    AdjustmentCurvesResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.error = file.errorString();
        return result;
    }
    // One byte past the limit tells a file that is too large from one that just fits.
    const QByteArray bytes = file.read(largestCurvesFile + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (bytes.size() > largestCurvesFile) {
        result.error = QStringLiteral("not a curves file (larger than %1 bytes)").arg(largestCurvesFile);
        return result;
    }
    if (!isText(bytes)) {
        result.error = QStringLiteral("not a text curves file");
        return result;
    }
    return parseAdjustmentCurves(QString::fromUtf8(bytes));
}
