// How the curve editor draws: every curve and knot must be seen over whatever histogram
// lies behind it.
#include "widgets/curves_widget.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

double relativeLuminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

// The contrast ratio of two colours, 1 (the same) to 21 (black on white).
double contrast(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Flat histograms that fill the plot to the top in the chosen channels.
ChannelHistograms flatHistograms(const QString& channels)
{
    ChannelHistograms histograms {};
    for (std::size_t c = 0; c < 3; ++c) {
        if (channels.contains(QStringLiteral("rgb").at(qsizetype(c))))
            histograms[c].fill(100);
    }
    return histograms;
}

} // namespace

Q_DECLARE_METATYPE(AdjustmentChannel)

class TestCurvesWidget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void curvesAndKnotsStandOutOnEveryHistogram_data()
    {
        QTest::addColumn<AdjustmentChannel>("channel");
        QTest::addColumn<QString>("histograms");
        const QList<std::pair<const char*, AdjustmentChannel>> channels {{"RGB", AdjustmentChannel::Rgb},
            {"R", AdjustmentChannel::Red}, {"G", AdjustmentChannel::Green}, {"B", AdjustmentChannel::Blue}};
        for (const auto& [name, channel] : channels) {
            for (const char* histograms : {"", "r", "g", "b", "rgb"})
                QTest::addRow("%s curve over '%s'", name, histograms) << channel << QString(histograms);
        }
    }

    // Over an empty plot, over one channel's histogram and over all three (whose sum is a
    // pale grey), the active curve and its knot show a light core on a dark edge: one of
    // the two stands clear of what is behind, and they stand clear of each other.
    void curvesAndKnotsStandOutOnEveryHistogram()
    {
        QFETCH(AdjustmentChannel, channel);
        QFETCH(QString, histograms);
        CurvesWidget widget;
        widget.resize(300, 300);
        widget.setLogarithmicScale(false);
        widget.setHistograms(flatHistograms(histograms));
        widget.setActiveChannel(channel);
        // A knot lifts the active curve off the three straight ones.
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.valueToWidget(QPoint(128, 176)).toPoint());
        QCOMPARE(widget.adjustment().knotCount(channel), 3);
        const QImage image = widget.grab().toImage();

        const QRgb behind = image.pixel(widget.valueToWidget(QPoint(220, 40)).toPoint());
        // 3:1 is what a graphical object needs to be made out against its surroundings.
        const auto verifyStandsOut = [&](QRgb core, QRgb edge, const char* what) {
            const QByteArray message = QByteArray(what) + ": core " + QByteArray::number(core, 16) + ", edge "
                + QByteArray::number(edge, 16) + ", behind " + QByteArray::number(behind, 16);
            QVERIFY2(std::max(contrast(core, behind), contrast(edge, behind)) >= 3.0, message);
            QVERIFY2(contrast(core, edge) >= 3.0, message);
        };
        // The lightest and the darkest pixel of a small box round a point.
        const auto extremes = [&](QPoint centre, int reach) {
            QRgb lightest = image.pixel(centre);
            QRgb darkest = lightest;
            for (int dy = -reach; dy <= reach; ++dy) {
                for (int dx = -reach; dx <= reach; ++dx) {
                    const QRgb pixel = image.pixel(centre + QPoint(dx, dy));
                    if (relativeLuminance(pixel) > relativeLuminance(lightest))
                        lightest = pixel;
                    if (relativeLuminance(pixel) < relativeLuminance(darkest))
                        darkest = pixel;
                }
            }
            return std::pair {lightest, darkest};
        };

        const int x = 96;
        const int y = widget.adjustment().lookup(channel)[std::size_t(x)];
        const auto [core, edge] = extremes(widget.valueToWidget(QPoint(x, y)).toPoint(), 3);
        verifyStandsOut(core, edge, "curve");

        const QPoint knot = widget.valueToWidget(widget.adjustment().knotAt(channel, 1)).toPoint();
        const auto [ring, inside] = extremes(knot, 5);
        verifyStandsOut(ring, inside, "knot");
    }
};

QTEST_MAIN(TestCurvesWidget)
#include "tst_curves_widget.moc"
